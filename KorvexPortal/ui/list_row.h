// One record of an owner-drawn list: its cells (cell i shows in column i from 1; cell 0 is not
// drawn, but a row whose cell 0 has no text never shows the selection bar) and its key.
#pragma once

#include <memory>
#include <vector>

#include "list_cell.h"

class CListRow {
 public:
  CListRow() = default;
  // Deletes every cell.
  virtual ~CListRow();
  CListRow(const CListRow&) = delete;
  CListRow& operator=(const CListRow&) = delete;

  // The row takes the cell over.
  void AddCell(CListCell* cell);
  // Cell i, or null when the row has none there.
  CListCell* GetCell(size_t index) const;
  size_t GetCellCount() const { return m_cells.size(); }

  std::vector<std::unique_ptr<CListCell>> m_cells;
  CStringW m_strKey;
  int m_nFlag = 1;
};
