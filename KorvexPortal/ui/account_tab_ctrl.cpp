#include "account_tab_ctrl.h"

CAccountTabCtrl::CAccountTabCtrl()
    : m_hBackground(::LoadBitmapW(::AtlGetResourceInstance(), MAKEINTRESOURCEW(kBackgroundId)))
{
}

CAccountTabCtrl::~CAccountTabCtrl()
{
  if (IsWindow())
    DestroyWindow();  // while the pages and the bitmaps are still there
  if (m_hBackground)
    ::DeleteObject(m_hBackground);
}

int CAccountTabCtrl::AddListPage(ListPage page, LPCWSTR caption, CListRows* model)
{
  CKorvexListView& list = m_lists[page];
  if (!list.IsWindow()) {
    // Made visible so that hiding it as a page hides its scroll panel too. A list with a scroll
    // panel keeps its own scrolling, which the panel's bar mirrors: rows below its bottom are
    // reached by scrolling.
    DWORD style = CKorvexListViewTraits::GetWndStyle(0) | WS_VISIBLE;
    if (page != kBalancePage)
      style &= ~static_cast<DWORD>(LVS_NOSCROLL);
    if (!IsWindow() || !list.Create(m_hWnd, GetDisplayRect(), nullptr, style, 0, static_cast<UINT_PTR>(kFirstListId) + page))
      return -1;
    if (page != kBalancePage)
      m_panels[page].Attach(list);
  }
  list.SetModel(model);
  for (int i = 0; i < GetPageCount(); ++i)
    if (GetPage(i) == list.m_hWnd)
      return i;
  return AddPage(caption, list);
}

LRESULT CAccountTabCtrl::OnDestroyPages(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  for (CKorvexListView& list : m_lists)
    if (list.IsWindow())
      list.DestroyWindow();
  if (m_queryPage.IsWindow())
    m_queryPage.DestroyWindow();
  if (m_hBackground)
    ::DeleteObject(m_hBackground);
  m_hBackground = nullptr;
  bHandled = FALSE;  // the pages' tabs go next
  return 0;
}

LRESULT CAccountTabCtrl::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintTabStrip(m_hWnd, dc, m_tabImages, TabStripStyle::kTiledTab);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}
