#include "register_form_dlg.h"

#include "controls/tab_control.h"
#include "window_helpers.h"

LRESULT CRegisterFormDlg::OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
  LRESULT result = FALSE;
  CBaseDlg::ProcessWindowMessage(m_hWnd, message, wParam, lParam, result);
  if (!m_hWnd || !::IsWindow(m_hWnd))
    return result;
  if (HWND tab = GetDlgItem(IDC_REGISTER_FORM_TAB))
    m_tab.SubclassWindow(tab);
  if (m_tab.m_hWnd) {
    WCHAR caption[] = u"账户激活";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    m_tab.SendMessage(TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    m_pane.Create(m_tab.m_hWnd);
  }
  PlaceTabAndPane();
  if (m_pane.m_hWnd)
    m_pane.ShowWindow(SW_SHOW);
  if (m_tab.m_hWnd)
    m_tab.SendMessage(TCM_SETCURSEL, 0, 0);
  SetTitle(u"账户注册", FALSE);
  SetSoftKeyTexts(u"退出", u"返回", TRUE);
  return result;
}

void CRegisterFormDlg::PlaceTabAndPane()
{
  if (!m_tab.m_hWnd)
    return;
  RECT screen{};
  GetScreenSize(screen);
  int top = m_titleHeight;
  int bottom = (screen.bottom - screen.top) - m_bottomBarHeight;
  m_tab.MoveWindow(0, top, screen.right - screen.left, bottom > top ? bottom - top : 0, TRUE);
  if (!m_pane.m_hWnd)
    return;
  RECT client{};
  m_tab.GetClientRect(&client);
  // Below the tab strip: 20 pixels of the 320-high screen, scaled (0.75 on a 240-high one).
  int paneTop = static_cast<int>(20 * GetScreenScaleY());
  int width = client.right - 1 - 2;
  int height = client.bottom - paneTop - 2;
  m_pane.MoveWindow(1, paneTop, width > 0 ? width : 0, height > 0 ? height : 0, TRUE);
}

LRESULT CRegisterFormDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // the base lays its bars out too
  PlaceTabAndPane();
  return 0;
}

LRESULT CRegisterFormDlg::OnExit(WORD, WORD, HWND, BOOL&)
{
  // Back to the registration form, which is still open under the page.
  CloseDialog(0, FALSE);
  return 0;
}

LRESULT CRegisterFormDlg::OnDone(WORD, WORD, HWND, BOOL&)
{
  HWND parent = GetParent();
  ShowWindow(SW_HIDE);
  DestroyWindow();
  if (parent && ::IsWindow(parent))
    ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(IDC_REGISTER_LEAVE, 255), 0);
  return 0;
}

LRESULT CRegisterFormDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // the base releases its skin and bars
  if (m_pane.m_hWnd)
    m_pane.DestroyWindow();
  if (m_tab.m_hWnd)
    m_tab.UnsubclassWindow();
  return 0;
}
