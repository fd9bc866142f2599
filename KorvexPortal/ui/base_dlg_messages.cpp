// The dialog base's messages and commands: activation, settings, the user labels, the hardware
// soft keys, the commands every dialog forwards to the application object, the exit question,
// the private messages, the shell's standard dialog and the message filter.
#include "app_services.h"
#include "base_dlg.h"
#include "gateway_address.h"
#include "message_box_types.h"
#include "resource_values.h"

namespace {

constexpr UINT kUserLabelPrefixString = 131;
constexpr int kTransparentStaticId = 0xFFFE;

CStringW GatewayRequestUrl()
{
  return GetGatewayUrl(kGatewayRequestPath);
}

// Sets the window's text when it differs, so a label is repainted only when its text changed.
void SetTextWhenChanged(CWindow& window, const CStringW& text)
{
  CStringW current;
  window.GetWindowText(current);
  if (current != text)
    window.SetWindowText(text);
}

}  // namespace

LRESULT CBaseDlg::OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  bool activated = LOWORD(wParam) != WA_INACTIVE;
  if (activated && m_bFullScreen)
    SetFullScreenMode(TRUE);
  if (GetOrientation() != m_orientation) {
    // Taken up at the next erase, which re-creates the dialog.
    m_bOrientationChangedInactive = true;
  } else if (activated && m_bOrientationChangedInactive) {
    // Re-created while inactive: measured now.
    m_bOrientationChangedInactive = false;
    PostMessage(WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
  }
  return 0;
}

LRESULT CBaseDlg::OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam != SETTINGCHANGE_RESET) {
    bHandled = FALSE;
    return 0;
  }
  if (::GetActiveWindow() != m_hWnd)
    return 0;
  // The screen may have turned since the last erase: the controls take the new template first,
  // so what is measured is the new layout.
  int orientation = GetOrientation();
  if (orientation != m_orientation && m_hSkinBitmap) {
    m_orientation = orientation;
    RecreateForOrientation(orientation);
    if (!IsAlive())
      return 0;
    // It took the turned screen's size without a repaint.
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
  }
  MeasureAndPage(TRUE);
  return 0;
}

LRESULT CBaseDlg::OnWindowPosChanged(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  UpdateUserLabels();
  return 0;
}

void CBaseDlg::UpdateUserLabels()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return;
  if (m_userIdLabel.IsWindow()) {
    if (m_strUserIdPrefix.IsEmpty()) {
      m_strUserIdPrefix = LoadResourceString(kUserLabelPrefixString);
      if (m_strUserIdPrefix.IsEmpty())
        m_userIdLabel.GetWindowText(m_strUserIdPrefix);
    }
    SetTextWhenChanged(m_userIdLabel, m_strUserIdPrefix + app->GetUserId());
  }
  if (m_accountLabel.IsWindow())
    SetTextWhenChanged(m_accountLabel, m_strAccountCaption + app->GetLogonId());
  if (m_userNameLabel.IsWindow())
    SetTextWhenChanged(m_userNameLabel, m_strUserNameCaption + app->GetUserName());
}

LRESULT CBaseDlg::OnNcActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (wParam)
    CheckSip();
  return 0;
}

LRESULT CBaseDlg::OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (wParam == VK_F1 && GetSoftKey1Id() != 0 && m_softKey1.IsWindow())
    m_softKey1.Click();
  else if (wParam == VK_F2 && GetSoftKey2Id() != 0 && m_softKey2.IsWindow())
    m_softKey2.Click();
  return 0;
}

LRESULT CBaseDlg::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  ScrollToFocusedControl(wParam, lParam);
  WORD code = HIWORD(wParam);
  if (lParam && (code == EN_SETFOCUS || code == EN_KILLFOCUS)) {
    // The edit repaints its frame on the reflected notification.
    bHandled = FALSE;
    return 0;
  }
  CKorvexPortalApp* app = GetKorvexPortalApp();
  switch (LOWORD(wParam)) {
  case IDOK:
  case IDCANCEL:
    return 0;
  case ID_KV_EXIT:
    OnExitCommand(lParam);
    return 0;
  default:
    break;
  }
  if (!app) {
    bHandled = FALSE;
    return 0;
  }
  switch (LOWORD(wParam)) {
  case ID_KV_ABOUT:
    app->ShowAboutDlg();
    break;
  case ID_KV_CHECKUPDATE:
    app->CheckUpdate(m_hWnd, WM_KV_UPDATECHECK_REPLY, GatewayRequestUrl());
    break;
  case ID_KV_PERSONALINFO:
    app->ShowPersonalInfoDlg(1, 5);
    break;
  case ID_KV_REGISTER:
    app->PreRegister(m_hWnd, WM_KV_PREREGISTER_REPLY, GatewayRequestUrl());
    break;
  case ID_KV_HELP:
  case ID_HELP:
    app->ShowHelpDlg();
    break;
  case ID_KV_APNSETTINGS:
    app->ShowApnSettingsDlg(FALSE);
    break;
  default:
    bHandled = FALSE;
    break;
  }
  return 0;
}

void CBaseDlg::OnExitCommand(LPARAM lParam)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return;
  // The installer asks with -1 (a 32-bit value from another process): no question then.
  int value = static_cast<int>(lParam);
  if (value == -1) {
    app->PostToActiveDialog(-1);
    return;
  }
  int answer = app->ShowMessageBox(m_hWnd, LoadResourceString(IDS_KV_EXIT_QUESTION), CStringW(), KV_BOX_QUESTION,
                                   FALSE, SW_SHOW);
  if (answer == KV_BOX_ANSWER_OK) {
    app->PostToActiveDialog(value);
    return;
  }
  if (HWND box = app->GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
  if (!IsAlive())
    return;
  SetForegroundWindow();
  SetFullScreenMode(TRUE);
}

LRESULT CBaseDlg::OnEndDialog(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  CloseDialog(LOWORD(wParam), TRUE);
  CKorvexPortalApp* app = GetKorvexPortalApp();
  HWND box = app ? app->GetMessageBoxWindow() : nullptr;
  if (box && ::IsWindow(box))
    ::SendMessageW(box, WM_CLOSE, 0, 0);
  // A modal dialog's loop ends with the whole value, so -1 stays -1.
  EndModalLoop(static_cast<int>(wParam));
  return 0;
}

LRESULT CBaseDlg::OnUpdateCheckReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->OnUpdateCheckResult(wParam, lParam);
  return 0;
}

LRESULT CBaseDlg::OnPreRegisterReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->OnPreRegisterResult(wParam, lParam);
  return 0;
}

LRESULT CBaseDlg::OnIgnored633(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  return app ? app->OnReply1587(wParam, lParam) : 0;
}

LRESULT CBaseDlg::OnSetSip(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  SetSipVisible(wParam != 0);
  return 0;
}

LRESULT CBaseDlg::OnSipSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam != SPI_SETSIPINFO) {
    bHandled = FALSE;
    return 0;
  }
  CheckSip();
  return 0;
}

LRESULT CBaseDlg::OnShellMenuCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  switch (LOWORD(wParam)) {
  case IDM_SHELL_MENU_OK:
    CloseDialog(IDOK, TRUE);
    return 0;
  case IDM_SHELL_MENU_CANCEL:
    CloseDialog(IDCANCEL, TRUE);
    return 0;
  default:
    bHandled = FALSE;
    return 0;
  }
}

LRESULT CBaseDlg::OnTransparentStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  auto control = reinterpret_cast<HWND>(lParam);
  if (!control || ::GetDlgCtrlID(control) != kTransparentStaticId) {
    bHandled = FALSE;
    return 0;
  }
  SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

BOOL CBaseDlg::PreTranslateMessage(MSG* pMsg)
{
  UINT message = pMsg->message;
  bool keyboard = message >= 0x100 && message <= 0x108;
  bool pointer = message >= 0x200 && message <= 0x20D;
  if (!keyboard && !pointer)
    return FALSE;
  HWND focus = ::GetFocus();
  if (!IsAlive() || !focus || !IsChild(focus))
    return FALSE;
  HWND child = focus;
  while (::GetParent(child) != m_hWnd)
    child = ::GetParent(child);
  if (::SendMessageW(child, WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(pMsg)))
    return TRUE;
  if (message == WM_KEYUP && (pMsg->wParam == VK_F1 || pMsg->wParam == VK_F2)) {
    // The focus control has the key; the loop then dispatches it to the dialog, which presses its
    // soft key.
    ::SendMessageW(focus, message, pMsg->wParam, pMsg->lParam);
    pMsg->hwnd = m_hWnd;
    return FALSE;
  }
  return ::IsDialogMessageW(m_hWnd, pMsg);
}
