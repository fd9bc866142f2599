// The HTML page dialog's gateway requests: a form sent as "sendHttpRequest", and the bill of its
// answer paid in the trade pay dialog.
#include "app_services.h"
#include "facade_request.h"
#include "html_dlg.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "net_transport.h"
#include "payment_service.h"
#include "service_errors.h"
#include "thread_message_box.h"

namespace {

constexpr int kBillSuccess = 85;
constexpr int kBillFailure = 86;
constexpr int kStatusBill = 888;

}  // namespace

void CHtmlDlg::PostRequest(const CStringW& url, const CStringW& data)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service || url.IsEmpty())
    return;
  CStringW body = GetEscapedClientIdParam();
  if (!data.IsEmpty())
    body += u"&" + data;
  // A last field without a value leaves no dangling separator.
  body.TrimRight(u"=&");
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_pResult.reset();
    m_strResultMemo.Empty();
  }
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(this);
  CServiceCommand* command = service->SendHttpRequest(url, u"POST", body, body.GetLength());
  int answer = KV_BOX_NO_ANSWER;
  if (command) {
    answer = app->ShowMessageBox(m_hWnd, u"正在获取数据...", CStringW(), KV_BOX_WAIT, FALSE, SW_SHOW);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
  }
  service->RemoveListener(this);
  if (!command) {
    // Nothing was sent: the user is told rather than left waiting for nothing.
    HideWaitBox();
    ShowBox(kServerConnectionErrorText, KV_BOX_ERROR);
    return;
  }
  if (answer != KV_BOX_ANSWER_CANCEL)
    PostMessage(WM_KV_SERVICE_DONE);
}

int CHtmlDlg::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  if (code != kBillSuccess && code != kBillFailure)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    bool record = code == kBillSuccess || hr == E_SERVICE_BUSINESS;
    m_pResult.reset(record ? reinterpret_cast<BillResult*>(value) : nullptr);
    m_strResultMemo = memo ? memo : u"";
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

LRESULT CHtmlDlg::OnServiceDone(UINT, WPARAM, LPARAM, BOOL&)
{
  std::unique_ptr<BillResult> result;
  CStringW memo;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    result = std::move(m_pResult);
    memo = m_strResultMemo;
  }
  HideWaitBox();
  if (!result) {
    // A failure without an answer is never silent.
    ShowBox(FailureText(memo), KV_BOX_ERROR);
    return 0;
  }
  if (!result->memo.empty())
    memo = result->memo.c_str();
  int status = result->resultStatus;
  if (HandleCommonStatus(status, memo)) {
    Close();
    return 0;
  }
  if (status == kStatusBill) {
    m_pOpeningBill = std::move(result);
    PostMessage(WM_KV_HTML_OPEN_TRADEPAY);
  } else if (status != 100) {
    WRITE_LOG_ENTRY(u"sendHttpRequest status %d", status);
    ShowBox(FailureText(memo), KV_BOX_ERROR);
  }
  return 0;
}

LRESULT CHtmlDlg::OnOpenTradePay(UINT, WPARAM, LPARAM, BOOL&)
{
  if (std::unique_ptr<BillResult> bill = std::move(m_pOpeningBill))
    OpenTradePay(*bill);
  return 0;
}

void CHtmlDlg::OpenTradePay(const BillResult& bill)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  ClearTradePayParams(m_params);
  m_params.reserved0 = kStatusBill;
  m_params.reserved1 = 1;
  m_params.instantTransfer = 0;
  m_params.kind = kTradePayBill;
  m_params.tradeNo = bill.billNO.c_str();
  m_params.counterparty = bill.sellerName.c_str();
  m_params.goodsName = bill.goodsName.c_str();
  m_params.from = bill.tradeFrom.c_str();
  m_params.totalPayable = bill.totalFee.c_str();
  m_params.availableBalance = bill.availableBalance.c_str();
  m_params.extraText = bill.memo.c_str();
  m_params.accountName = app ? app->GetUserName() : CStringW();
  m_params.signature = app ? app->GetGreeting() : CStringW();
  OpenTradePayDialog();
}

LRESULT CHtmlDlg::OnTradePayResult(UINT, WPARAM, LPARAM, BOOL&)
{
  CloseTradePay();
  if (IsCloseAfterPay()) {
    ::PostMessageW(GetParent(), WM_KV_HTML_PAID, 0, 0);
    Close();
  }
  return 0;
}
