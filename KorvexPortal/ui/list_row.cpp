#include "list_row.h"

CListRow::~CListRow() = default;

void CListRow::AddCell(CListCell* cell)
{
  m_cells.emplace_back(cell);
}

CListCell* CListRow::GetCell(size_t index) const
{
  return index < m_cells.size() ? m_cells[index].get() : nullptr;
}
