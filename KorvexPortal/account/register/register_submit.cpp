// The registration form's submit: the agreement and the fields checked, both passwords encrypted
// under the gateway's key and "register" sent through the application's send-and-wait; and its
// reply: the activation page on success, else the secrets cleared and fresh key material taken.
#include "JSonHelper.h"
#include "app_services.h"
#include "check_code_bitmap.h"
#include "gateway_address.h"
#include "http_client.h"
#include "http_result.h"
#include "input_validators.h"
#include "json/streaming_writer.h"
#include "message_box_types.h"
#include "paycrypt.h"
#include "register_dlg.h"
#include "register_log.h"
#include "resource_values.h"
#include "secret_wipe.h"

namespace {

constexpr UINT kValidationBox = KV_BOX_INFO | KV_BOX_SELF_CLOSING;
constexpr int kRegistered = 100;
// The wait text shared with the other requests of registration.
constexpr UINT kWaitTextId = 160;

// The password followed by the time stamp, encrypted under the key (most significant byte first).
CStringW EncryptPassword(const CStringW& password, const CStringW& timeStamp, const CStringW& publicKey)
{
  CStringW plain = password + timeStamp;
  CStringW cipher = PayCrypt::Encrypt(PayCrypt::GetProvider(), plain, publicKey, TRUE);
  WipeSecret(plain);
  return cipher;
}

}  // namespace

LRESULT CRegisterDlg::OnSubmit(WORD, WORD, HWND, BOOL&)
{
  BindControls(TRUE, -1);
  HWND agree = Item(IDC_REGISTER_AGREE);
  if (!agree || ::SendMessageW(agree, BM_GETCHECK, 0, 0) != BST_CHECKED) {
    m_nAgreed = 0;
    ShowBox(u"请选择同意注册协议！", kValidationBox);
    return 0;
  }
  m_nAgreed = 1;
  ReadFields();
  CStringW message;
  bool valid = ValidatePhoneNumber(m_strPhone, message) && ValidateUserName(m_strRealName, message) &&
               ValidateLoginPasswordStrength(m_strLoginPassword, message) &&
               ValidatePayPasswordStrength(m_strPayPassword, message) && ValidateCheckCode(m_strCheckCode, message);
  if (!valid) {
    WipePlainPasswords();
    ShowBox(message, kValidationBox);
    return 0;
  }
  SendRegister();
  return 0;
}

void CRegisterDlg::SendRegister()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  WipeSecret(m_strEncryptedLoginPassword);
  WipeSecret(m_strEncryptedPayPassword);
  m_strEncryptedLoginPassword = EncryptPassword(m_strLoginPassword, m_strRsaTS, m_strRsaPK);
  m_strEncryptedPayPassword = EncryptPassword(m_strPayPassword, m_strRsaTS, m_strRsaPK);
  WipePlainPasswords();
  if (!app || m_strEncryptedLoginPassword.IsEmpty() || m_strEncryptedPayPassword.IsEmpty()) {
    // Without the gateway's key nothing can be sent: the user is told, nothing goes out.
    LOG_REGISTER(u"the passwords could not be encrypted");
    ClearSecretFields();
    ShowBox(u"密码加密失败，请返回后重新进入注册。", KV_BOX_ERROR);
    return;
  }
  CStringW clientId;
  app->JoinPair(clientId);
  CStringW body;
  {
    CJsonWriter writer;
    writer.BeginObject(u"operationType", u"register", false);
    writer.AddMember(u"clientID", clientId, true);
    writer.AddMember(u"phoneNO", m_strPhone, true);
    writer.AddMember(u"realName", m_strRealName, true);
    writer.AddMember(u"checkCode", m_strCheckCode, true);
    writer.AddMember(u"loginPassword", m_strEncryptedLoginPassword, false);
    writer.AddMember(u"payPassword", m_strEncryptedPayPassword, false);
    writer.EndObject();
    body = writer.GetText();
  }
  HWND self = m_hWnd;
  app->SendRequestAndWait(self, WM_KV_REGISTER_REPLY, GetGatewayUrl(kGatewayRequestPath), body,
                          LoadResourceString(kWaitTextId), KV_BOX_WAIT, -1);
  WipeSecret(body);
  if (::IsWindow(self))
    ClearSecretFields();
}

LRESULT CRegisterDlg::OnRegisterReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  CStringW text;
  if (auto* slot = reinterpret_cast<HttpReplySlot*>(lParam)) {
    text = slot->text;
    InterlockedExchange(&slot->busy, 0);
  }
  CKorvexPortalApp* app = GetKorvexPortalApp();
  auto result = static_cast<HttpResult>(wParam);
  CResponseMap reply;
  int status = 0;
  if (result != kHttpOk) {
    LOG_REGISTER(u"register: HTTP result %d", static_cast<int>(result));
    // A failure is never silent: the network's reason is shown.
    CStringW reason;
    GetNetErrorText(result, reason);
    ShowBox(reason, KV_BOX_ERROR, SW_SHOW);
  } else if (!reply.Parse(text)) {
    LOG_REGISTER(u"register: the reply is no JSON text");
  } else if (app) {
    status = app->OnSessionResult(reply);
  }

  if (status == kRegistered) {
    m_formDlg.ShowDialog(m_hWnd, 0, FALSE, TRUE);
  } else if (m_hWnd && ::IsWindow(m_hWnd)) {
    ClearSecretFields();
    if (result == kHttpOk)
      TakeNewKeyMaterial(reply);
  }
  if (app)
    if (HWND box = app->GetMessageBoxWindow())
      ::ShowWindow(box, SW_HIDE);
  return 0;
}

void CRegisterDlg::TakeNewKeyMaterial(const CResponseMap& reply)
{
  CStringW publicKey;
  CStringW timeStamp;
  CStringW checkCode;
  if (!GetResponseText(reply, u"rsaPK", publicKey) || !GetResponseText(reply, u"rsaTS", timeStamp) ||
      !GetResponseText(reply, u"checkCode", checkCode))
    return;  // the key and picture held stay good for the next attempt
  HBITMAP picture = CheckCodeBitmapFromBase64(checkCode);
  if (!picture) {
    LOG_REGISTER(u"register: the refusal's check-code picture is no image");
    return;
  }
  SetKeyInfo(publicKey, timeStamp, picture);
}
