#include "trans_detail_dlg.h"

#include "account_columns.h"
#include "app_services.h"
#include "skin_image.h"
#include "tab_strip.h"
#include "window_helpers.h"

LRESULT CTransDetailDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"账户信息", FALSE);
  SetSoftKeyTexts(u"返回", u"", FALSE);
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

BOOL CTransDetailDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd || m_tabs.IsWindow())
    return FALSE;
  m_tabs.Create(m_hWnd, RECT{0, 0, 10, 10}, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0,
                static_cast<UINT_PTR>(kTabsId));
  m_tabs.AddAccountDetailPage(m_pRows);
  Layout();
  return TRUE;
}

LRESULT CTransDetailDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_tabs.IsWindow())
    m_tabs.DestroyWindow();
  bHandled = FALSE;
  return 0;
}

LRESULT CTransDetailDlg::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  if (TakeNewSize(lParam))
    Layout();
  bHandled = FALSE;
  return 0;
}

void CTransDetailDlg::Layout()
{
  if (!m_tabs.IsWindow())
    return;
  int s = GetWidthScale();
  PlaceTabControl(m_tabs.m_hWnd, WorkingRect(), s);
  CKorvexListView& list = GetList();
  if (!m_pRows || !list.IsWindow())
    return;
  RECT inner{};
  list.GetClientRect(&inner);
  bool exceeds = static_cast<int>(m_pRows->m_rows.size()) > list.GetCountPerPage();
  m_pRows->m_columnWidths =
      AccountDetailColumnWidths(s, inner.right - inner.left, exceeds, GetSystemMetrics(SM_CYHSCROLL));
  list.Rebuild();
}

LRESULT CTransDetailDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintTabPageBackground(m_tabs.m_hWnd, dc, WorkingRect(), 5);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CTransDetailDlg::OnGoDesktop(WORD, WORD, HWND, BOOL&)
{
  if (m_hAccountPage && ::IsWindow(m_hAccountPage))
    ::PostMessageW(m_hAccountPage, WM_CLOSE, 0, 0);
  CloseDialog(2, TRUE);
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowDesktopDlg(0);
  return 0;
}

BOOL CTransDetailDlg::PreTranslateMessage(MSG* pMsg)
{
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN) && IsWindow() &&
      m_tabs.IsWindow()) {
    CKorvexListView& list = GetList();
    // The list scrolls only when it has more rows than it shows.
    if (list.IsWindow() && m_pRows && static_cast<int>(m_pRows->m_rows.size()) > list.GetCountPerPage()) {
      list.SendMessage(WM_VSCROLL, pMsg->wParam == VK_UP ? SB_LINEUP : SB_LINEDOWN, 0);
      return TRUE;
    }
  }
  return CTabDetailDlg::PreTranslateMessage(pMsg);
}
