// The model an owner-drawn list shows: column widths, rows in display order and the selected
// row. The owner keeps it and owns the rows; the lists that show it only point to it.
#pragma once

#include <vector>

#include "list_row.h"

class CKorvexListView;

class CListRows {
 public:
  CListRows() = default;
  // A list still showing the model lets go of it and drops its items; the rows stay the owner's.
  ~CListRows();
  CListRows(const CListRows&) = delete;
  CListRows& operator=(const CListRows&) = delete;

  // Appends a row; the owner still deletes it (Clear does).
  void AddRow(CListRow* row) { m_rows.push_back(row); }
  // Deletes every row and clears the selection. Each list showing the model is rebuilt first,
  // so none of its items points to a row being deleted.
  void Clear();

  std::vector<int> m_columnWidths;  // one list column per entry, in pixels
  std::vector<CListRow*> m_rows;
  int m_nSelected = -1;  // -1: none

 private:
  friend class CKorvexListView;
  std::vector<CKorvexListView*> m_views;  // the lists whose model this is
};
