#include "qtot_dlg.h"

#include "app_services.h"
#include "ids.h"
#include "log_writer.h"
#include "selvane/selvane.h"
#include "window_helpers.h"

namespace {

// The tab's top and the page's inset under the tab's strip, in pixels of a 320-high screen.
constexpr int kTabTop = 40;
constexpr int kPageTop = 20;

}  // namespace

CQtoTDlg::CQtoTDlg() = default;
CQtoTDlg::~CQtoTDlg() = default;

int CQtoTDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_QTOT_LAND : IDD_QTOT;
}

int CQtoTDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? IDB_BACKGROUND_LAND : IDB_BACKGROUND;
}

int CQtoTDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
}

int CQtoTDlg::GetSoftKey1Id()
{
  return IDC_QTOT_BACK;
}

int CQtoTDlg::GetSoftKey2Id()
{
  return IDC_QTOT_SAVE;
}

int CQtoTDlg::GetCenterKeyId()
{
  return IDC_QTOT_CENTER;
}

HWND CQtoTDlg::PageItem(int id) const
{
  return m_page.m_hWnd ? ::GetDlgItem(m_page.m_hWnd, id) : nullptr;
}

LRESULT CQtoTDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"账户注册", FALSE);
  if (HWND tab = GetDlgItem(IDC_QTOT_TAB)) {
    m_tab.SubclassWindow(tab);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(u"资料补全");
    m_tab.SendMessage(TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    if (!m_page.m_hWnd)
      m_page.Create(tab);
    PlaceTabAndPage();
    if (m_page.m_hWnd)
      m_page.ShowWindow(SW_SHOW);
    m_tab.SendMessage(TCM_SETCURSEL, 0, 0);
  }
  CKorvexPortalApp* app = GetKorvexPortalApp();
  m_strLogonId = app ? app->GetLogonId() : CStringW();
  if (HWND account = PageItem(IDC_QTOT_ACCOUNT); account && !m_strLogonId.IsEmpty()) {
    WCHAR caption[64] = {};
    ::GetWindowTextW(account, caption, 64);
    ::SetWindowTextW(account, CStringW(caption) + m_strLogonId);
  }
  SetSoftKeyTexts(u"返回", u"保存", FALSE);
  bHandled = FALSE;  // on to the base
  return 0;
}

void CQtoTDlg::PlaceTabAndPage()
{
  if (!m_tab.m_hWnd)
    return;
  int width = ::GetSystemMetrics(SM_CXSCREEN);
  int height = ::GetSystemMetrics(SM_CYSCREEN);
  const float scale = GetScreenScaleY();
  const int top = static_cast<int>(kTabTop * scale);
  m_tab.SetWindowPos(nullptr, 0, top, width, height - ::GetSystemMetrics(SM_CYCAPTION) - top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
  if (!m_page.m_hWnd)
    return;
  RECT client{};
  m_tab.GetClientRect(&client);
  client.left += 1;
  client.top += static_cast<int>(kPageTop * scale);
  client.right -= 2;
  client.bottom -= 2;
  m_page.SetWindowPos(nullptr, client.left, client.top, client.right - client.left, client.bottom - client.top,
                      SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CQtoTDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  PlaceTabAndPage();
  bHandled = FALSE;
  return 0;
}

LRESULT CQtoTDlg::OnSettingChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  if (wParam == SPI_SETSIPINFO && m_page.m_hWnd && m_page.IsWindowVisible())
    m_page.SendMessage(message, wParam, lParam);
  bHandled = FALSE;
  return 0;
}

LRESULT CQtoTDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (HWND password = PageItem(IDC_QTOT_PASSWORD))
    FreeMe(password);
  if (m_page.m_hWnd)
    m_page.DestroyWindow();
  m_page.m_hWnd = nullptr;
  if (m_tab.m_hWnd)
    m_tab.UnsubclassWindow();
  bHandled = FALSE;
  return 0;
}

void CQtoTDlg::InitFocus()
{
  HWND password = PageItem(IDC_QTOT_PASSWORD);
  if (password) {
    HelpMe(password);
    DisableImeForWindow(password);
  }
  HWND name = PageItem(IDC_QTOT_NAME);
  if (name)
    ::SetFocus(name);
  else
    WRITE_LOG_ENTRY(u"QtoTDlg: no name edit");
}

BOOL CQtoTDlg::PreTranslateMessage(MSG* pMsg)
{
  if (pMsg->message == WM_KEYUP && m_page.m_hWnd && m_page.IsWindowVisible() && ::IsChild(m_hWnd, pMsg->hwnd) &&
      (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN)) {
    if (HWND field = PageItem(pMsg->wParam == VK_UP ? IDC_QTOT_NAME : IDC_QTOT_PASSWORD)) {
      ::SetFocus(field);
      return TRUE;
    }
  }
  return CBaseDlg::PreTranslateMessage(pMsg);
}

LRESULT CQtoTDlg::OnFieldFocus(WORD code, WORD id, HWND control, BOOL&)
{
  ScrollToFocusedControl(MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
  return 0;
}

LRESULT CQtoTDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}
