#include "paged_list_view.h"

CPagedListView::~CPagedListView() = default;

CListRow* CPagedListView::GetItemData(int index)
{
  if (index < 0)
    return nullptr;
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = index;
  if (!GetItem(&item))
    return nullptr;
  return reinterpret_cast<CListRow*>(item.lParam);
}

LRESULT CPagedListView::OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
{
  // The list moves the selection first.
  LRESULT result = DefWindowProc(uMsg, wParam, lParam);
  switch (wParam) {
  case VK_RETURN:
    PostToParent(WM_KV_LIST_OPENITEM);
    break;
  case VK_LEFT:
    m_nRememberedRow = 0;
    PostToParent(WM_KV_LIST_PREVPAGE);
    break;
  case VK_RIGHT:
    m_nRememberedRow = 0;
    PostToParent(WM_KV_LIST_NEXTPAGE);
    break;
  case VK_UP:
    m_nRememberedRow = GetSelectedIndex();
    StoreSelection();
    break;
  case VK_DOWN: {
    int selected = GetSelectedIndex();
    if (!GetItemData(selected)) {
      RestoreRememberedRow();
    } else if (m_nRememberedRow == -1) {
      m_nRememberedRow = selected;
    } else if (GetItemCount() == m_nRememberedRow + 1) {
      // Down on the last row of a full page: the next page.
      PostToParent(WM_KV_LIST_NEXTPAGE);
      m_nRememberedRow = 0;
    } else {
      m_nRememberedRow = selected;
    }
    StoreSelection();
    break;
  }
  default:
    break;
  }
  return result;
}

LRESULT CPagedListView::OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
{
  // The list selects the item under the tap first.
  LRESULT result = DefWindowProc(uMsg, wParam, lParam);
  int selected = GetSelectedIndex();
  CListRow* row = GetItemData(selected);
  if (row)
    m_nRememberedRow = selected;
  else
    RestoreRememberedRow();
  StoreSelection();
  // Only a tap on a data row opens it; a tap on padding just keeps the former selection.
  if (row)
    PostToParent(WM_KV_LIST_OPENITEM);
  return result;
}

void CPagedListView::RestoreRememberedRow()
{
  if (GetItemData(m_nRememberedRow)) {
    SelectItem(m_nRememberedRow);
    return;
  }
  int selected = GetSelectedIndex();
  if (selected >= 0)
    SetItemState(selected, 0, LVIS_SELECTED | LVIS_FOCUSED);
}

void CPagedListView::StoreSelection()
{
  if (m_pModel)
    m_pModel->m_nSelected = m_nRememberedRow;
}

void CPagedListView::PostToParent(UINT message)
{
  ::PostMessageW(GetParent(), message, 0, 0);
}
