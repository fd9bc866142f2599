#include "korvex_tab_ctrl.h"

#include <algorithm>

#include "window_helpers.h"

namespace {

// TCM_INSERTITEM appends at an index past the last tab.
constexpr int kAppend = 0x8000;

void MoveTo(HWND page, const RECT& rect)
{
  if (::IsWindow(page))
    ::MoveWindow(page, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void HidePage(HWND page)
{
  if (!::IsWindow(page))
    return;
  ::EnableWindow(page, FALSE);
  ::ShowWindow(page, SW_HIDE);
}

}  // namespace

CKorvexTabCtrl::~CKorvexTabCtrl()
{
  if (IsWindow())
    DestroyWindow();
}

int CKorvexTabCtrl::AddPage(LPCWSTR caption, HWND page, BOOL select, int image, LPARAM data)
{
  if (!IsWindow())
    return -1;
  bool disabled = ::IsWindow(page) && (::GetWindowLongW(page, GWL_STYLE) & WS_DISABLED) != 0;
  HidePage(page);
  m_pages.push_back(Page{page, disabled});

  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<LPWSTR>(caption ? caption : u"");
  if (image != -1) {
    item.mask |= TCIF_IMAGE;
    item.iImage = image;
  }
  if (data != 0) {
    item.mask |= TCIF_PARAM;
    item.lParam = data;
  }
  int index = InsertItem(kAppend, &item);
  if (index < 0) {
    m_pages.pop_back();
    return -1;
  }
  MoveTo(page, GetDisplayRect());
  if (select || m_pages.size() == 1)
    SetCurSel(index);
  return index;
}

void CKorvexTabCtrl::SetCurSel(int index)
{
  if (index < 0 || index >= GetPageCount() || index == m_nCurrent)
    return;
  HidePage(m_hCurrentPage);
  const Page page = m_pages[static_cast<size_t>(index)];  // a copy: the calls below may add pages
  m_hCurrentPage = page.window;
  if (::IsWindow(page.window)) {
    if (!page.disabled)
      ::EnableWindow(page.window, TRUE);
    ::ShowWindow(page.window, SW_SHOW);
    ::SetFocus(page.window);
    ::InvalidateRect(page.window, nullptr, TRUE);
  }
  m_nCurrent = index;
  TabCtrlSetCurSel(index);
}

HWND CKorvexTabCtrl::DeletePage(int index)
{
  if (index < 0 || index >= GetPageCount())
    return nullptr;
  HWND page = m_pages[static_cast<size_t>(index)].window;
  int next = -1;
  if (index == m_nCurrent) {
    HidePage(page);
    m_nCurrent = -1;
    m_hCurrentPage = nullptr;
    if (GetPageCount() > 1)
      next = std::max(0, index - 1);
  } else if (index < m_nCurrent) {
    --m_nCurrent;  // the current page moves down with the tabs after the removed one
  }
  OnPageRemoved(index);
  m_pages.erase(m_pages.begin() + index);
  if (IsWindow())
    SendMessage(TCM_DELETEITEM, static_cast<WPARAM>(index));
  SetCurSel(next);
  return page;
}

void CKorvexTabCtrl::DeleteAllPages()
{
  for (int i = GetPageCount() - 1; i >= 0; --i)
    DeletePage(i);
}

void CKorvexTabCtrl::RepositionPages()
{
  RECT display = GetDisplayRect();
  for (const Page& page : m_pages)
    MoveTo(page.window, display);
}

RECT CKorvexTabCtrl::GetDisplayRect()
{
  RECT client{};
  GetClientRect(&client);
  if (::IsRectEmpty(&client))
    return client;
  RECT first{};
  GetItemRect(0, &first);
  DWORD style = GetStyle();
  bool vertical = (style & TCS_VERTICAL) != 0;
  bool far = (style & TCS_BOTTOM) != 0;  // at the bottom, or on the right for vertical tabs
  // The margins grow with the screen, as the band of tabs does.
  int scale = std::max(1, static_cast<int>(GetScreenScaleX()));
  int tabs = kTabBandMargin * scale + GetRowCount() * (vertical ? first.right - first.left : first.bottom - first.top);
  RECT rect = client;
  ::InflateRect(&rect, -kPageMargin * scale, -kPageMargin * scale);
  if (vertical && far)
    rect.right = client.right - tabs;
  else if (vertical)
    rect.left = client.left + tabs;
  else if (far)
    rect.bottom = client.bottom - tabs;
  else
    rect.top = client.top + tabs;
  // A control too small for its tabs leaves an empty rectangle, never an inverted one.
  rect.right = std::max(rect.right, rect.left);
  rect.bottom = std::max(rect.bottom, rect.top);
  return rect;
}

HWND CKorvexTabCtrl::GetPage(int index) const
{
  return index >= 0 && index < GetPageCount() ? m_pages[static_cast<size_t>(index)].window : nullptr;
}

int CKorvexTabCtrl::GetItemCount()
{
  return static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
}

BOOL CKorvexTabCtrl::GetItem(int index, TCITEMW* item)
{
  return static_cast<BOOL>(SendMessage(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
}

BOOL CKorvexTabCtrl::GetItemRect(int index, RECT* rect)
{
  return static_cast<BOOL>(SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
}

int CKorvexTabCtrl::GetRowCount()
{
  return static_cast<int>(SendMessage(TCM_GETROWCOUNT));
}

int CKorvexTabCtrl::InsertItem(int index, const TCITEMW* item)
{
  return static_cast<int>(SendMessage(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item)));
}

int CKorvexTabCtrl::TabCtrlGetCurSel()
{
  return static_cast<int>(SendMessage(TCM_GETCURSEL));
}

int CKorvexTabCtrl::TabCtrlSetCurSel(int index)
{
  return static_cast<int>(SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(index)));
}

LRESULT CKorvexTabCtrl::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  DeleteAllPages();
  bHandled = FALSE;
  return 0;
}

LRESULT CKorvexTabCtrl::OnWindowPosChanged(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  RepositionPages();
  bHandled = FALSE;
  return 0;
}

LRESULT CKorvexTabCtrl::OnSelChange(int, LPNMHDR, BOOL&)
{
  SetCurSel(TabCtrlGetCurSel());
  return 0;
}
