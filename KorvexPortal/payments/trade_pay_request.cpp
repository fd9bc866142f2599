// The trade pay dialog's request: the password read and checked, the request of the record's
// kind with the wait box, and the outcome shown and reported to the parent.
#include "app_services.h"
#include "facade_request.h"
#include "input_validators.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "net_transport.h"
#include "payment_service.h"
#include "resource_values.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"
#include "service_errors.h"
#include "service_results.h"
#include "thread_message_box.h"
#include "trade_pay_dlg.h"
#include "tradepay_ids.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusWrongPassword = 105;
constexpr int kStatusNotActivated = 111;
constexpr int kStatusSessionEnded = 200;
// The buffer the secure-input library fills: 520 bytes.
constexpr int kPasswordChars = 260;

const WCHAR kInstantTransferQuestion[] = u"即时到账交易不受Korvex保护，钱直接到对方的账户，不能退款，您是否确定。";
const WCHAR kNotActivatedText[] = u"您需在本手机客户端上开通支付功能，请按短信提示回复开通。";

}  // namespace

LRESULT CTradePayDlg::OnPay(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  HWND edit = GetDlgItem(IDC_TRADEPAY_PASSWORD);
  if (!m_pParams || !service || !edit)
    return 0;
  m_strUseCoupon = ::SendMessageW(GetDlgItem(IDC_TRADEPAY_COUPON_CHECK), BM_GETCHECK, 0, 0) == BST_CHECKED ? u"Y" : u"N";
  m_strCouponAmount = m_pParams->couponAmount;

  WCHAR buffer[kPasswordChars] = {};
  SecretWiper bufferWiper(buffer, sizeof buffer);
  GetInputForMe(edit, buffer, sizeof buffer);
  CStringW password(buffer);
  CStringW message;
  if (!ValidatePassword(password, message)) {
    WipeSecret(password);
    ShowApplicationBox(m_hWnd, message, KV_BOX_INFO);
    return 0;
  }
  if (m_pParams->kind < kTradePayTrade || m_pParams->kind > kTradePayBill || !ConfirmInstantTransfer()) {
    WipeSecret(password);
    return 0;
  }

  // What the listener fills is reset and the wait armed before the request starts, so an
  // answer that comes before the box shows is kept.
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_nStatus = 0;
    m_strMemo.Empty();
  }
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(this);
  CServiceCommand* command = StartRequest(password);
  WipeSecret(password);
  int answer = KV_BOX_NO_ANSWER;
  if (command) {
    answer = ShowApplicationBox(m_hWnd, WaitText(), KV_BOX_WAIT);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
  }
  service->RemoveListener(this);
  if (!command) {
    ShowApplicationBox(m_hWnd, kServerConnectionErrorText, KV_BOX_ERROR);
    return 0;
  }
  if (answer != KV_BOX_ANSWER_CANCEL && IsWindow())
    PostMessage(WM_KV_SERVICE_DONE);
  return 0;
}

bool CTradePayDlg::ConfirmInstantTransfer()
{
  if (m_pParams->kind != kTradePayTrade || m_pParams->instantTransfer != 1)
    return true;
  // Only an explicit OK pays: a box that ended without an answer does not.
  return ShowApplicationBox(m_hWnd, kInstantTransferQuestion, KV_BOX_QUESTION) == KV_BOX_ANSWER_OK;
}

CServiceCommand* CTradePayDlg::StartRequest(const CStringW& password)
{
  CPaymentService* service = GetKorvexPortalApp()->GetPaymentService();
  const TradePayParams& p = *m_pParams;
  switch (p.kind) {
  case kTradePayTrade:
    return service->TradePay(p.tradeNo, password, m_strUseCoupon, m_strCouponAmount);
  case kTradePayConfirmGoods:
    return service->ConfirmGoods(p.tradeNo, password);
  case kTradePayMobileRecharge:
    return service->Deposit4Mobile(password);
  case kTradePayBill:
    return service->PucPay(p.tradeNo, password);
  default:
    return nullptr;
  }
}

CStringW CTradePayDlg::WaitText() const
{
  return LoadResourceString(m_pParams->kind == kTradePayTrade ? IDS_TRADEPAY_WAIT : IDS_PAYMENT_WAIT);
}

bool CTradePayDlg::IsOwnSuccess(int code) const
{
  switch (m_pParams ? m_pParams->kind : -1) {
  case kTradePayTrade:
    return code == 58;
  case kTradePayConfirmGoods:
    return code == 68;
  case kTradePayMobileRecharge:
    return code == 52;
  case kTradePayBill:
    // The service client hands the bill payment's success over as 71 with its record.
    return code == 70 || code == 71;
  default:
    return false;
  }
}

bool CTradePayDlg::IsOwnFailure(int code) const
{
  switch (m_pParams ? m_pParams->kind : -1) {
  case kTradePayTrade:
    return code == 59;
  case kTradePayConfirmGoods:
    return code == 69;
  case kTradePayMobileRecharge:
    return code == 53;
  case kTradePayBill:
    return code == 72;
  default:
    return false;
  }
}

int CTradePayDlg::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  bool success = IsOwnSuccess(code);
  if (!success && !IsOwnFailure(code))
    return 0;
  if (code == 71)
    delete reinterpret_cast<PucPayResult*>(value);
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_strMemo = memo ? memo : u"";
    // A refusal carries the reply's status; a transport or parse failure has none.
    m_nStatus = success ? kStatusSuccess : hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

LRESULT CTradePayDlg::OnServiceDone(UINT, WPARAM, LPARAM, BOOL&)
{
  int status;
  CStringW memo;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_nStatus;
    memo = m_strMemo;
  }
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!m_pParams || !app)
    return 0;
  if (status == kStatusSessionEnded) {
    // The session ended: back to the login, and the desktop's trade query, which lists the
    // ended session's trades, goes too; no result for the parent. The trade query is told last,
    // by a posted message, as it deletes this dialog when it closes.
    HWND tradeQuery = app->GetDesktopTradeQueryWindow();
    CloseDialog(2, FALSE);
    HandleCommonStatus(status, memo);
    if (tradeQuery && ::IsWindow(tradeQuery))
      ::PostMessageW(tradeQuery, WM_CLOSE, 1, 0);
    return 0;
  }
  if (status == kStatusWrongPassword) {
    // Another try on the same dialog.
    if (HWND edit = GetDlgItem(IDC_TRADEPAY_PASSWORD))
      ClearInputForMe(edit);
    ShowApplicationBox(m_hWnd, LoadResourceString(IDS_TRADEPAY_WRONG_PASSWORD), KV_BOX_ERROR);
    return 0;
  }
  bool success = status == kStatusSuccess;
  if (success) {
    CStringW text;
    if (m_pParams->kind == kTradePayConfirmGoods)
      text = u"确认收货成功！";
    else if (m_pParams->kind == kTradePayMobileRecharge && !memo.IsEmpty())
      text = memo;
    else
      text = LoadResourceString(IDS_TRADEPAY_SUCCESS);
    ShowApplicationBox(m_hWnd, text, KV_BOX_SUCCESS);
  } else if (status == kStatusNotActivated) {
    ShowApplicationBox(m_hWnd, kNotActivatedText, KV_BOX_INFO);
    if (app->GetMainDialog())
      app->SubmitActivation(this);
    else
      WRITE_LOG_ENTRY(u"TradePayDlg: no main dialog for the activation");
  } else {
    ShowApplicationBox(m_hWnd, FailureText(memo), KV_BOX_ERROR);
  }
  PostResult(success, status);
  return 0;
}

void CTradePayDlg::PostResult(bool success, int status)
{
  HWND parent = IsWindow() ? GetParent() : nullptr;
  if (!parent)
    return;
  if (m_nResultMessage == 1)
    ::PostMessageW(parent, WM_KV_CONFIRMGOODS_RESULT, success ? 1 : 0, success ? m_pParams->kind : -1);
  else if (status != kStatusNotActivated)
    ::PostMessageW(parent, WM_KV_TRADEPAY_RESULT, success ? 1 : 0, status);
}
