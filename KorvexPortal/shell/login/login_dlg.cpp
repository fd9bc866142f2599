// The login dialog's fields: filled from the settings when it opens, the remembered password
// typed into the guarded edit, the remember boxes kept together, the refresh link drawn.
#include "login_dlg.h"

#include <atomic>

#include "app_services.h"
#include "gateway_address.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "password_cipher.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"
#include "window_helpers.h"

namespace {

constexpr int kAccountLimit = 32;
constexpr COLORREF kEditFocusColour = 0xFF0000;
constexpr COLORREF kLinkColour = 0xFF0000;
// The lParam of a typed character: one repeat, key released before, key was down.
constexpr LPARAM kTypedCharFlags = static_cast<LPARAM>(0xC0000001u);

// The warning about a remembered password comes once a run.
std::atomic<bool> g_passwordWarningShown{false};

CKorvexPortalApp* App()
{
  return GetKorvexPortalApp();
}

}  // namespace

CLoginDlg::CLoginDlg()
{
}

CLoginDlg::~CLoginDlg()
{
  WipePasswords();
}

LRESULT CLoginDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // the base goes on, and sets the focus last
  if (HWND picture = GetDlgItem(IDC_LOGIN_CHECKCODE_IMAGE))
    m_checkCodeImage.SubclassWindow(picture);
  m_hRefreshLink = GetDlgItem(IDC_LOGIN_CHECKCODE_REFRESH);
  if (m_hRefreshLink)
    m_refreshLink.SubclassWindow(m_hRefreshLink);
  BindControls(FALSE, -1);

  CKorvexPortalApp* app = App();
  if (!m_accountEdit.m_hWnd || !m_passwordEdit.m_hWnd) {
    WRITE_LOG_ENTRY(u"the account or password edit is missing");
  } else {
    m_accountEdit.SendMessage(EM_LIMITTEXT, kAccountLimit, 0);
    CStringW value;
    if (app && app->GetConfig(u"LastUserId", value))
      m_accountEdit.SetWindowText(value);
    DisableImeForWindow(m_accountEdit);
    DisableImeForWindow(m_passwordEdit);
    value.Empty();
    bool rememberId = app && app->GetConfig(u"RememberId", value) && value.CompareNoCase(u"1") == 0;
    ::SendMessageW(m_hRememberId, BM_SETCHECK, rememberId ? BST_CHECKED : BST_UNCHECKED, 0);
    value.Empty();
    bool rememberPassword = app && app->GetConfig(u"RememberPassword", value) && value.CompareNoCase(u"1") == 0;
    ::SendMessageW(m_hRememberPassword, BM_SETCHECK, rememberPassword ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  m_checkCodeEdit.ShowWindow(SW_HIDE);
  m_checkCodeImage.ShowWindow(SW_HIDE);
  ::ShowWindow(m_hRefreshLink, SW_HIDE);
  return 0;
}

BOOL CLoginDlg::BindControls(BOOL save, int)
{
  if (!m_hWnd)
    return FALSE;
  AttachSkinEdit(IDC_LOGIN_ACCOUNT, m_accountEdit, kControlSkinEdit, save, kEditFocusColour);
  AttachSkinEdit(IDC_LOGIN_PASSWORD, m_passwordEdit, kControlSkinEdit, save, kEditFocusColour);
  if (!save) {
    // The check-code edit is shown and hidden with its row, so it takes no frame strips (which
    // lie beside it in the dialog and would stay when it hides).
    if (!m_checkCodeEdit.m_hWnd)
      m_checkCodeEdit.SubclassWindow(GetDlgItem(IDC_LOGIN_CHECKCODE));
    AddLayoutItem(IDC_LOGIN_CHECKCODE, &m_hCheckCodeEdit);
    AddLayoutItem(IDC_LOGIN_REMEMBER_ID, &m_hRememberId);
    AddLayoutItem(IDC_LOGIN_REMEMBER_PASSWORD, &m_hRememberPassword);
    AddLayoutItem(IDC_LOGIN_CHECKCODE_IMAGE, &m_hCheckCodeImage);
    AddLayoutItem(IDC_LOGIN_CHECKCODE_REFRESH, &m_hRefreshLink);
    AddLayoutItem(IDC_LOGIN_BUTTON, &m_hLoginButton);
  }
  return TRUE;
}

void CLoginDlg::InitFocus()
{
  CKorvexPortalApp* app = App();
  if (m_passwordEdit.m_hWnd) {
    m_bPasswordGuarded = HelpMe(m_passwordEdit) != FALSE;
    CStringW stored;
    if (app && app->GetConfig(u"LastUserPassword", stored)) {
      CPasswordCipher cipher;
      CStringW password = cipher.Decrypt(stored);
      for (int i = 0; i < password.GetLength(); ++i)
        m_passwordEdit.PostMessage(WM_CHAR, password[i], kTypedCharFlags);
      WipeSecret(password);
    }
    WipeSecret(stored);
  }
  if (m_accountEdit.m_hWnd)
    ::SetFocus(m_accountEdit);
  else
    WRITE_LOG_ENTRY(u"the account edit is missing");
}

LRESULT CLoginDlg::OnRememberIdClicked(WORD, WORD, HWND, BOOL&)
{
  // The password is never remembered without its account.
  if (IsChecked(IDC_LOGIN_REMEMBER_PASSWORD))
    ::SendMessageW(m_hRememberId, BM_SETCHECK, BST_CHECKED, 0);
  return 0;
}

LRESULT CLoginDlg::OnRememberPasswordClicked(WORD, WORD, HWND, BOOL&)
{
  if (!IsChecked(IDC_LOGIN_REMEMBER_PASSWORD))
    return 0;
  ::SendMessageW(m_hRememberId, BM_SETCHECK, BST_CHECKED, 0);
  if (g_passwordWarningShown.exchange(true))
    return 0;
  CStringW host = GetGatewayHost();
  CStringW text = u"  温馨提醒：如果手机丢失，请登录";
  if (!host.IsEmpty())
    text += CStringW(u"https://") + host;
  text += u"修改您的登录密码。";
  ShowBox(::GetActiveWindow(), text, KV_BOX_INFO, SW_HIDE);
  return 0;
}

LRESULT CLoginDlg::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
  if (!item || item->CtlID != IDC_LOGIN_CHECKCODE_REFRESH) {
    bHandled = FALSE;
    return 0;
  }
  CStringW text;
  CWindow(item->hwndItem).GetWindowText(text);
  RECT rect = item->rcItem;
  COLORREF oldColour = SetTextColor(item->hDC, kLinkColour);
  int oldMode = SetBkMode(item->hDC, TRANSPARENT);
  DrawTextW(item->hDC, text, text.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SetBkMode(item->hDC, oldMode);
  SetTextColor(item->hDC, oldColour);
  if (item->itemState & ODS_FOCUS) {
    int insetX = (2 * GetDeviceCaps(item->hDC, LOGPIXELSX) + 48) / 96;
    int insetY = (2 * GetDeviceCaps(item->hDC, LOGPIXELSY) + 48) / 96;
    RECT focus = item->rcItem;
    InflateRect(&focus, -insetX, -insetY);
    DrawFocusRect(item->hDC, &focus);
  }
  return TRUE;
}

LRESULT CLoginDlg::OnCtlColorButton(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  if (id != IDC_LOGIN_REMEMBER_ID && id != IDC_LOGIN_REMEMBER_PASSWORD && id != IDC_LOGIN_CHECKCODE_REFRESH) {
    bHandled = FALSE;
    return 0;
  }
  if (!m_hPageBrush)
    m_hPageBrush = CreateSolidBrush(GetBackgroundColor());
  SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hPageBrush);
}

LRESULT CLoginDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // on to the base
  if (m_hPageBrush)
    DeleteObject(m_hPageBrush);
  m_hPageBrush = nullptr;
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    m_pLoginRecord.reset();
    m_pUpdateRecord.reset();
    m_pCheckCodeRecord.reset();
  }
  if (m_passwordEdit.m_hWnd && m_bPasswordGuarded)
    FreeMe(m_passwordEdit);
  m_bPasswordGuarded = false;
  WipePasswords();
  return 0;
}

bool CLoginDlg::IsChecked(int controlId) const
{
  return ::SendMessageW(GetDlgItem(controlId), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool CLoginDlg::IsCheckCodeShown() const
{
  return m_checkCodeEdit.m_hWnd && m_checkCodeEdit.IsWindowVisible();
}

int CLoginDlg::ShowBox(HWND owner, const CStringW& text, UINT type, int afterShow)
{
  CKorvexPortalApp* app = App();
  return app ? app->ShowMessageBox(owner, text, CStringW(), type, FALSE, afterShow) : KV_BOX_NO_ANSWER;
}

void CLoginDlg::HideBox()
{
  CKorvexPortalApp* app = App();
  if (HWND box = app ? app->GetMessageBoxWindow() : nullptr)
    ::ShowWindow(box, SW_HIDE);
}

void CLoginDlg::WipePasswords()
{
  WipeSecret(m_strPassword);
  WipeSecret(m_strRememberedPassword);
}
