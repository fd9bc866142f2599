// The order-pay screen's verification: "preOrderPay" through the service facade behind the wait
// box, and the summary of a valid order.
#include "app_services.h"
#include "http_result.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "order_pay_dlg.h"
#include "payment_service.h"
#include "session_records.h"
#include "thread_message_box.h"

namespace {

constexpr int kPreOrderPaySucceeded = 54;
constexpr int kPreOrderPayFailed = 55;
constexpr int kVerified = 100;

}  // namespace

void COrderPayDlg::VerifyListener::Arm()
{
  std::lock_guard<std::mutex> guard(lock_);
  answer_ = Answer{};
  armed_ = true;
}

COrderPayDlg::VerifyListener::Answer COrderPayDlg::VerifyListener::Take()
{
  std::lock_guard<std::mutex> guard(lock_);
  armed_ = false;
  return std::move(answer_);
}

int COrderPayDlg::VerifyListener::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  // Other operations' notifications (the unread count's 32 and 33) are not ours.
  if (code != kPreOrderPaySucceeded && code != kPreOrderPayFailed)
    return 0;
  std::unique_ptr<PreOrderPayResult> record;
  if (code == kPreOrderPaySucceeded)
    record.reset(reinterpret_cast<PreOrderPayResult*>(value));
  {
    std::lock_guard<std::mutex> guard(lock_);
    if (!armed_)
      return 0;
    armed_ = false;
    answer_.hr = hr;
    answer_.memo = memo ? memo : u"";
    if (code == kPreOrderPaySucceeded) {
      answer_.status = kVerified;
      answer_.record = std::move(record);
    } else {
      answer_.status = static_cast<int>(value);
    }
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

void COrderPayDlg::VerifyOrder(const WCHAR* order)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service) {
    WRITE_LOG_ENTRY(u"no payment service");
    return;
  }
  // Armed before the request starts, so an answer that comes before the box shows is kept.
  m_listener.Arm();
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(&m_listener);
  CServiceCommand* command = service->PreOrderPay(order);
  int answer = 0;
  if (command) {
    answer = ShowBox(u"正在访问服务器验证订单数据", KV_BOX_WAIT);
    // The listener ends the wait without an answer (0); a cancel, or a box that went, ends it
    // with one, and then no result may come after the listener is gone.
    if (answer != 0)
      service->Cancel(command);
  }
  service->RemoveListener(&m_listener);
  VerifyListener::Answer result = m_listener.Take();
  if (answer == KV_BOX_ANSWER_CANCEL || !IsWindow())
    return;  // the user chose to stop: the screen stays empty, and leaving hands back "failed"
  if (!command) {
    CStringW text;
    GetNetErrorText(kHttpConnectFailed, text);
    ShowBox(text, KV_BOX_ERROR);
    return;
  }
  // A valid order names its trade number: without one nothing could be paid.
  if (result.status == kVerified && result.record && result.record->orderValidate == 1 && result.record->order &&
      !result.record->order->outTradeNo.empty()) {
    TakeVerifiedOrder(*result.record->order);
    return;
  }
  // Not verified: the reason is shown and the screen stays without an order; the user can only
  // leave, which hands back "failed".
  CStringW text = result.memo;
  if (text.IsEmpty() && result.status == kVerified)
    text = u"订单验证未通过，无法支付";
  if (text.IsEmpty())
    GetNetErrorText(kHttpConnectFailed, text);
  WRITE_LOG_ENTRY(u"preOrderPay %d %08x", result.status, static_cast<unsigned>(result.hr));
  ShowBox(text, KV_BOX_ERROR);
}

void COrderPayDlg::TakeVerifiedOrder(const OrderDetail& detail)
{
  // The parser handed the reply's key and time stamp to the session record.
  std::shared_ptr<const SessionRecord> key = GetSessionRecord();
  m_orderValidate = 1;
  m_order = detail;
  m_rsaPK = key ? key->publicKey : CStringW();
  m_rsaTS = key ? key->timeStamp : CStringW();
  m_summary = FormatOrderSummary(detail);
  BindControls(FALSE, -1);
}
