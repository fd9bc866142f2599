// The trade detail's request ("queryTradeDetail") and its reply in the rows.
#include "app_services.h"
#include "facade_request.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "resource_values.h"
#include "service_errors.h"
#include "thread_message_box.h"
#include "trade_detail_dlg.h"
#include "trade_detail_rows.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr int kDetailSuccess = 18;
constexpr int kDetailFailure = 19;
// The wait text of a list or detail query (payment_strings.rc).
constexpr UINT kQueryWaitText = 143;

}  // namespace

void CTradeDetailDlg::QueryTradeDetail()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!IsWindow() || !service)
    return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_nCode = 0;
    m_nStatus = 0;
    m_strMemo.Empty();
    m_pDetail.reset();
  }
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(this);
  CServiceCommand* command = service->QueryTradeDetail(m_strTradeNo);
  // Without a command no notification comes: no wait, and the reply handler shows the failure.
  int answer = KV_BOX_NO_ANSWER;
  if (command) {
    answer = app->ShowMessageBox(m_hWnd, LoadResourceString(kQueryWaitText), CStringW(), KV_BOX_WAIT, FALSE, SW_HIDE);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
  }
  service->RemoveListener(this);
  if (answer != KV_BOX_ANSWER_CANCEL && IsWindow())
    PostMessage(WM_KV_TRADEDETAIL_READY);
}

int CTradeDetailDlg::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  if (code != kDetailSuccess && code != kDetailFailure)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_nCode = code;
    m_strMemo = memo ? memo : u"";
    if (code == kDetailSuccess) {
      m_nStatus = kStatusSuccess;
      m_pDetail.reset(reinterpret_cast<CTradeDetailResult*>(value));
    } else {
      // A refusal carries the reply's status; a transport or parse failure has none.
      m_nStatus = hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
    }
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

LRESULT CTradeDetailDlg::OnDetailReady(UINT, WPARAM, LPARAM, BOOL&)
{
  int status;
  CStringW memo;
  std::unique_ptr<CTradeDetailResult> detail;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_nStatus;
    memo = m_strMemo;
    detail = std::move(m_pDetail);
  }
  HandleCommonStatus(status, memo);
  if (status == kStatusSuccess && detail) {
    m_detailRows.Clear();
    AddTradeDetailRows(*detail, m_detailRows);
    LayOutColumns(CAccountTabCtrl::kTradeDetailPage, m_detailRows);
    m_logisticsRows.Clear();
    if (AddLogisticsRows(*detail, m_logisticsRows)) {
      m_tabs.AddLogisticsPage(&m_logisticsRows);
      LayOutColumns(CAccountTabCtrl::kLogisticsPage, m_logisticsRows);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
  }
  if (status == kStatusSessionEnded) {
    if (m_hQueryList && ::IsWindow(m_hQueryList))
      ::PostMessageW(m_hQueryList, WM_CLOSE, 1, 0);
    CloseDialog(2, FALSE);
    return 0;
  }
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowMessageBox(m_hWnd, FailureText(memo), CStringW(),
                        KV_BOX_ERROR, FALSE, SW_HIDE);
  WriteLogEntry("QuerySingleTradeDetails", __LINE__, u"");
  return 0;
}
