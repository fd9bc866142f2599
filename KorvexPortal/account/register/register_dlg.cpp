// The registration form's look, opening, key material, leaving and end. Submitting and the reply
// are in register_submit.cpp.
#include "register_dlg.h"

#include "app_services.h"
#include "drawing_helpers.h"
#include "register_log.h"
#include "message_box_types.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"
#include "skin_image.h"
#include "window_helpers.h"

namespace {

constexpr COLORREF kEditFrameColour = 0xFF0000;
constexpr int kCaptionIds[] = {IDC_REGISTER_PHONE_CAPTION, IDC_REGISTER_NAME_CAPTION, IDC_REGISTER_LOGIN_CAPTION,
                               IDC_REGISTER_PAY_CAPTION,   IDC_REGISTER_CODE_CAPTION, IDC_REGISTER_HINT};
// What GetInputForMe is given: 260 characters.
constexpr DWORD kPasswordBufferChars = 260;

CStringW ReadGuarded(HWND edit)
{
  WCHAR buffer[kPasswordBufferChars] = {};
  SecretWiper wipe(buffer, sizeof buffer);
  if (edit)
    GetInputForMe(edit, buffer, sizeof buffer);
  buffer[kPasswordBufferChars - 1] = 0;
  return CStringW(buffer);
}

}  // namespace

CRegisterDlg::CRegisterDlg()
{
  for (CSkinLabel& caption : m_captions)
    caption.m_bWrap = true;
}

CRegisterDlg::~CRegisterDlg()
{
  WipePlainPasswords();
  WipeSecret(m_strEncryptedLoginPassword);
  WipeSecret(m_strEncryptedPayPassword);
  if (m_hCheckCode)
    ::DeleteObject(m_hCheckCode);
  if (m_hFormBrush)
    ::DeleteObject(m_hFormBrush);
}

void CRegisterDlg::SetKeyInfo(const CStringW& publicKey, const CStringW& timeStamp, HBITMAP checkCode)
{
  m_strRsaPK = publicKey;
  m_strRsaTS = timeStamp;
  if (m_hCheckCode && m_hCheckCode != checkCode)
    ::DeleteObject(m_hCheckCode);
  m_hCheckCode = checkCode;
  if (m_hWnd && ::IsWindow(m_hWnd))
    ShowCheckCode();
}

BOOL CRegisterDlg::BindControls(BOOL save, int)
{
  if (!m_hWnd)
    return FALSE;
  AttachSkinEdit(IDC_REGISTER_PHONE, m_phoneEdit, kControlSkinEdit, save, kEditFrameColour);
  AttachSkinEdit(IDC_REGISTER_REALNAME, m_realNameEdit, kControlSkinEdit, save, kEditFrameColour);
  AttachSkinEdit(IDC_REGISTER_LOGINPASSWORD, m_loginPasswordEdit, kControlSkinEdit, save, kEditFrameColour);
  AttachSkinEdit(IDC_REGISTER_PAYPASSWORD, m_payPasswordEdit, kControlSkinEdit, save, kEditFrameColour);
  AttachSkinEdit(IDC_REGISTER_CHECKCODE, m_checkCodeEdit, kControlSkinEdit, save, kEditFrameColour);
  for (size_t i = 0; i < std::size(kCaptionIds); ++i)
    AttachSkinLabel(kCaptionIds[i], m_captions[i], kControlLabel, save, -1, -1, 0);
  if (!save && !m_checkCodeLabel.m_hWnd) {
    // Recorded like the fields, so that paging moves the picture with its edit.
    AddLayoutItem(IDC_REGISTER_CHECKCODE_IMAGE, &m_hCheckCodeImage);
    AddLayoutItem(IDC_REGISTER_AGREE, &m_hAgree);
    m_checkCodeLabel.SubclassStatic(Item(IDC_REGISTER_CHECKCODE_IMAGE));
  }
  return TRUE;
}

LRESULT CRegisterDlg::OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
  LRESULT result = FALSE;
  CBaseDlg::ProcessWindowMessage(m_hWnd, message, wParam, lParam, result);
  if (!m_hWnd || !::IsWindow(m_hWnd))
    return result;
  if (HWND hidden = Item(IDC_REGISTER_HIDDEN))
    ::ShowWindow(hidden, SW_HIDE);
  HWND phone = Item(IDC_REGISTER_PHONE);
  HWND name = Item(IDC_REGISTER_REALNAME);
  HWND loginPassword = Item(IDC_REGISTER_LOGINPASSWORD);
  HWND payPassword = Item(IDC_REGISTER_PAYPASSWORD);
  if (phone && name && loginPassword && payPassword) {
    ::SendMessageW(phone, EM_LIMITTEXT, 11, 0);
    ::SendMessageW(name, EM_LIMITTEXT, 32, 0);
    if (HWND code = Item(IDC_REGISTER_CHECKCODE))
      ::SendMessageW(code, EM_LIMITTEXT, 4, 0);
  } else {
    LOG_REGISTER(u"a field of the form is missing; no length limits");
  }
  for (HWND edit : {phone, loginPassword, payPassword, Item(IDC_REGISTER_CHECKCODE)})
    if (edit)
      DisableImeForWindow(edit);
  if (HWND agree = Item(IDC_REGISTER_AGREE))
    ::SendMessageW(agree, BM_SETCHECK, BST_CHECKED, 0);
  ShowCheckCode();
  SetSoftKeyTexts(u"返回", u"提交", TRUE);
  return result;
}

void CRegisterDlg::InitFocus()
{
  HelpMe(Item(IDC_REGISTER_LOGINPASSWORD));
  HelpMe(Item(IDC_REGISTER_PAYPASSWORD));
  m_bGuarded = true;
  if (HWND phone = Item(IDC_REGISTER_PHONE))
    ::SetFocus(phone);
  else
    LOG_REGISTER(u"no mobile number field to focus");
}

void CRegisterDlg::ShowCheckCode()
{
  if (!m_checkCodeLabel.m_hWnd)
    return;
  SIZE size{};
  HBITMAP copy = nullptr;
  if (m_hCheckCode && GetBitmapSize(m_hCheckCode, &size)) {
    int scale = static_cast<int>(GetScreenScaleX());
    if (scale < 1)
      scale = 1;
    HDC dc = ::GetDC(m_hWnd);
    StretchCopyBitmap(dc, m_hCheckCode, size.cx, size.cy, copy, size.cx * scale, size.cy * scale);
    ::ReleaseDC(m_hWnd, dc);
  }
  // The image owns the copy; the received picture stays the form's.
  if (copy)
    m_checkCodeLabel.m_background.AttachBitmap(copy);
  else
    m_checkCodeLabel.m_background.SetSource(0xFFFFFF, true);
  ::InvalidateRect(m_checkCodeLabel.m_hWnd, nullptr, TRUE);
}

void CRegisterDlg::ReadFields()
{
  m_strPhone.Empty();
  m_strRealName.Empty();
  m_strCheckCode.Empty();
  if (HWND phone = Item(IDC_REGISTER_PHONE))
    CWindow(phone).GetWindowText(m_strPhone);
  if (HWND name = Item(IDC_REGISTER_REALNAME))
    CWindow(name).GetWindowText(m_strRealName);
  if (HWND code = Item(IDC_REGISTER_CHECKCODE))
    CWindow(code).GetWindowText(m_strCheckCode);
  WipePlainPasswords();
  m_strLoginPassword = ReadGuarded(Item(IDC_REGISTER_LOGINPASSWORD));
  m_strPayPassword = ReadGuarded(Item(IDC_REGISTER_PAYPASSWORD));
}

void CRegisterDlg::WipePlainPasswords()
{
  WipeSecret(m_strLoginPassword);
  WipeSecret(m_strPayPassword);
}

void CRegisterDlg::ClearSecretFields()
{
  for (int id : {IDC_REGISTER_LOGINPASSWORD, IDC_REGISTER_PAYPASSWORD}) {
    if (HWND edit = Item(id)) {
      ::SetWindowTextW(edit, u"");
      ClearInputForMe(edit);
    }
  }
  if (HWND code = Item(IDC_REGISTER_CHECKCODE))
    ::SetWindowTextW(code, u"");
  BindControls(FALSE, -1);
}

int CRegisterDlg::ShowBox(const CStringW& text, UINT type, int afterShow)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  return app ? app->ShowMessageBox(m_hWnd, text, CStringW(), type, FALSE, afterShow) : -1;
}

LRESULT CRegisterDlg::OnLeave(WORD code, WORD, HWND, BOOL&)
{
  ReadFields();
  bool typed = !m_strPhone.IsEmpty() || !m_strRealName.IsEmpty() || !m_strCheckCode.IsEmpty() ||
               !m_strLoginPassword.IsEmpty() || !m_strPayPassword.IsEmpty();
  WipePlainPasswords();
  if (code != kLeaveWithoutAsking && typed) {
    int answer = ShowBox(u"您确定要离开注册页面吗？填写信息将会丢失。", KV_BOX_QUESTION, SW_HIDE);
    if (answer != KV_BOX_ANSWER_OK)
      return 0;
  }
  CloseDialog(0, TRUE);
  return 0;
}

LRESULT CRegisterDlg::OnCtlColorButton(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_REGISTER_AGREE) {
    bHandled = FALSE;
    return 0;
  }
  if (!m_hFormBrush)
    m_hFormBrush = ::CreateSolidBrush(GetBackgroundColor());
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hFormBrush);
}

LRESULT CRegisterDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // the base releases its skin and bars
  if (m_bGuarded) {
    FreeMe(Item(IDC_REGISTER_LOGINPASSWORD));
    FreeMe(Item(IDC_REGISTER_PAYPASSWORD));
    m_bGuarded = false;
  }
  WipePlainPasswords();
  if (m_formDlg.m_hWnd && ::IsWindow(m_formDlg.m_hWnd))
    m_formDlg.CloseDialog(0, FALSE);
  return 0;
}
