// The withdrawal's request: the amount and password read and checked, both fields cleared,
// "drawMoney" sent with what was read, and the outcome shown.
#include "app_services.h"
#include "atm_dlg.h"
#include "atm_ids.h"
#include "input_validators.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"

namespace {

constexpr int kDrawn = 44;
constexpr int kDrawFailed = 45;
constexpr int kStatusSuccess = 100;
constexpr int kStatusNotActivated = 111;
constexpr int kStatusSessionEnded = 200;
constexpr UINT kRefusalBox = KV_BOX_ERROR | KV_BOX_SELF_CLOSING;
constexpr int kAmountChars = 64;

}  // namespace

LRESULT CAtmDlg::OnSubmit(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  HWND passwordEdit = GetDlgItem(IDC_ATM_PASSWORD);
  if (!service || !passwordEdit)
    return 0;
  WCHAR typedAmount[kAmountChars] = {};
  GetDlgItemTextW(m_hWnd, IDC_ATM_AMOUNT, typedAmount, kAmountChars);
  CStringW amount(typedAmount);
  WCHAR typed[SELVANE_MAX_INPUT + 1] = {};
  SecretWiper typedWiper(typed, sizeof typed);
  GetInputForMe(passwordEdit, typed, sizeof typed);
  CStringW password(typed);

  CStringW message;
  if (!ValidateAmount(amount, message) || !ValidatePassword(password, message)) {
    WipeSecret(password);
    ShowApplicationBox(m_hWnd, message, kRefusalBox);
    return 0;
  }
  // Both fields are typed again for another withdrawal; the request carries what was checked.
  SetDlgItemText(IDC_ATM_AMOUNT, u"");
  ClearInputForMe(passwordEdit);

  m_answer = RunFacadeRequest(
      {kDrawn, kDrawFailed}, [&](CPaymentService&) { return service->DrawMoney(amount, password); },
      u"正在申请提现，请稍候……");
  WipeSecret(password);
  if (!m_answer.started)
    ShowApplicationBox(m_hWnd, FailureText(CStringW()), KV_BOX_ERROR);
  else if (m_answer.answered && IsWindow())
    PostMessage(WM_KV_DRAWMONEY_REPLY);
  return 0;
}

LRESULT CAtmDlg::OnDrawMoneyReply(UINT, WPARAM, LPARAM, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  const int status = m_answer.status;
  const CStringW memo = m_answer.memo;
  HandleCommonStatus(status, memo);
  if (status == kStatusSuccess) {
    ShowApplicationBox(m_hWnd, u"提现成功！  请您在1-2个工作日后,查询银行账户余额。", KV_BOX_INFO);
    CloseDialog(2, TRUE);
  } else if (status == kStatusSessionEnded) {
    CloseDialog(2, FALSE);
  } else if (status == kStatusNotActivated) {
    ShowApplicationBox(m_hWnd, u"您需在本手机客户端上开通支付功能，请按短信提示回复开通。", KV_BOX_INFO);
    if (app && app->GetMainDialog())
      app->SubmitActivation(nullptr);
    else
      WRITE_LOG_ENTRY(u"ATMDialog: no main dialog for the activation");
  } else {
    ShowApplicationBox(m_hWnd, FailureText(memo), kRefusalBox);
  }
  return 0;
}
