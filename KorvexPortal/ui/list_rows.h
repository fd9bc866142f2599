// The model an owner-drawn list shows: column widths, rows in display order and the selected
// row. The owner keeps it and owns the rows; the list view only points to it.
#pragma once

#include <vector>

#include "list_row.h"

class CListRows {
 public:
  // Appends a row; the owner still deletes it.
  void AddRow(CListRow* row) { m_rows.push_back(row); }

  std::vector<int> m_columnWidths;  // one list column per entry, in pixels
  std::vector<CListRow*> m_rows;
  int m_nSelected = -1;  // -1: none
};
