#include "list_rows.h"

#include "korvex_list_view.h"

CListRows::~CListRows()
{
  for (CKorvexListView* view : std::vector<CKorvexListView*>(m_views))
    view->SetModel(nullptr);
}

void CListRows::Clear()
{
  std::vector<CListRow*> rows;
  rows.swap(m_rows);
  m_nSelected = -1;
  for (CKorvexListView* view : std::vector<CKorvexListView*>(m_views))
    view->Rebuild();
  for (CListRow* row : rows)
    delete row;
}
