// The information supplement's request: the name and password read and checked,
// "qUserInfoSupplement" sent behind the wait box, and the outcome shown.
#include "app_services.h"
#include "input_validators.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "qtot_dlg.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"

namespace {

constexpr int kSupplemented = 77;
constexpr int kSupplementFailed = 78;
constexpr int kStatusSuccess = 100;
constexpr int kFirstFieldError = 301;
constexpr int kLastFieldError = 400;
constexpr int kNameChars = 64;

}  // namespace

LRESULT CQtoTDlg::OnSubmit(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  HWND passwordEdit = PageItem(IDC_QTOT_PASSWORD);
  HWND nameEdit = PageItem(IDC_QTOT_NAME);
  if (!service || !passwordEdit || !nameEdit)
    return 0;
  WCHAR typedName[kNameChars] = {};
  ::GetWindowTextW(nameEdit, typedName, kNameChars);
  m_strHolderName = typedName;
  WCHAR typed[SELVANE_MAX_INPUT + 1] = {};
  SecretWiper typedWiper(typed, sizeof typed);
  GetInputForMe(passwordEdit, typed, sizeof typed);
  CStringW password(typed);

  CStringW message;
  if (!ValidateRealName(m_strHolderName, message) || !ValidatePassword(password, message)) {
    WipeSecret(password);
    ShowApplicationBox(::GetActiveWindow(), message, KV_BOX_INFO | KV_BOX_SELF_CLOSING);
    return 0;
  }
  m_answer = RunFacadeRequest(
      {kSupplemented, kSupplementFailed},
      [&](CPaymentService&) { return service->QUserInfoSupplement(m_strLogonId, m_strHolderName, password); },
      u"正在获取私钥……");
  WipeSecret(password);
  if (!m_answer.started)
    ShowApplicationBox(m_hWnd, FailureText(CStringW()), KV_BOX_ERROR);
  else if (m_answer.answered && IsWindow())
    PostMessage(WM_KV_QTOT_DONE);
  return 0;
}

LRESULT CQtoTDlg::OnDone(UINT, WPARAM, LPARAM, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  const int status = m_answer.status;
  const CStringW memo = m_answer.memo;
  if (HandleCommonStatus(status, memo)) {
    // The session ended: its notice showed once, and the login is back; nothing here stays.
    CloseDialog(2, FALSE);
    return 0;
  }
  if (status == kStatusSuccess) {
    ShowApplicationBox(m_hWnd, u"保存成功！\r\n 您的Korvex账户已启用。", KV_BOX_INFO);
    if (app && app->GetMainDialog()) {
      app->ShowDesktopDlg(0);
      CloseDialog(0, FALSE);
    } else {
      WRITE_LOG_ENTRY(u"QtoTDlg: no main window for the desktop");
    }
  } else if (status >= kFirstFieldError && status <= kLastFieldError) {
    ShowApplicationBox(nullptr, FieldErrorText(memo), KV_BOX_ERROR);
    if (HWND name = PageItem(IDC_QTOT_NAME))
      ::SetFocus(name);
  } else {
    ShowApplicationBox(nullptr, FailureText(memo), KV_BOX_ERROR);
    WRITE_LOG_ENTRY(u"qUserInfoSupplement %d", status);
  }
  return 0;
}
