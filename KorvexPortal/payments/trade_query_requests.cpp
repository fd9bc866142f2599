// The trade query list's requests: a page of trades ("queryTradeLists"), the paging rules and
// the reply shown in the list.
#include "app_services.h"
#include "facade_request.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "resource_values.h"
#include "service_errors.h"
#include "thread_message_box.h"
#include "trade_query_dlg.h"
#include "trade_query_paging.h"
#include "trade_query_rows.h"
#include "tradequery_ids.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr int kListSuccess = 14;
constexpr int kListFailure = 15;
constexpr int kDetailSuccess = 18;
constexpr int kDetailFailure = 19;
// The wait text of a list or detail query (payment_strings.rc).
constexpr UINT kQueryWaitText = 143;

}  // namespace

int CTradeQueryDlg::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  if (code != kListSuccess && code != kListFailure && code != kDetailSuccess && code != kDetailFailure)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    if (code == kListSuccess) {
      m_pListResult.reset(reinterpret_cast<UnpaidTradeListResult*>(value));
      m_nStatus = kStatusSuccess;
    } else if (code == kDetailSuccess) {
      m_pDetailResult.reset(reinterpret_cast<CTradeDetailResult*>(value));
      m_nStatus = kStatusSuccess;
    } else {
      m_strMemo = memo ? memo : u"";
      // A refusal carries the reply's status; a transport or parse failure has none.
      m_nStatus = hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
    }
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

void CTradeQueryDlg::ArmRequest()
{
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_nStatus = 0;
    m_pDetailResult.reset();
  }
  CThreadMessageBox::Instance().ArmWait();
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    if (CPaymentService* service = app->GetPaymentService())
      service->AddListener(this);
}

bool CTradeQueryDlg::WaitForCommand(CServiceCommand* command, UINT waitTextId)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  int answer = KV_BOX_NO_ANSWER;
  if (command) {
    answer = app->ShowMessageBox(m_hWnd, LoadResourceString(waitTextId), CStringW(), KV_BOX_WAIT, FALSE, SW_HIDE);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
  }
  if (service)
    service->RemoveListener(this);
  return command && answer != KV_BOX_ANSWER_CANCEL;
}

void CTradeQueryDlg::Refresh()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!IsWindow() || !service)
    return;
  // The rows go before the request; every list showing them drops its items first.
  m_tradeRows.Clear();
  m_list.SetModel(&m_tradeRows);
  m_list.EnableDrawing(FALSE);
  int rows = m_list.GetCountPerPage();
  if (rows < 1)
    rows = 1;
  if (rows != m_nPageSize) {
    m_nPage = RescaledTradePage(m_nPageSize, m_nPage, rows);
    m_nPageSize = rows;
  }
  ArmRequest();
  CServiceCommand* command = service->QueryTradeLists(m_strStatusCode, m_strPeriodCode, m_nPage, m_nPageSize);
  if (!WaitForCommand(command, kQueryWaitText))
    return;
  if (!IsWindow())
    return;
  PostMessage(WM_KV_TRADELIST_READY);
  ::ShowWindow(m_hCombo, SW_SHOW);
}

LRESULT CTradeQueryDlg::OnTradeListReady(UINT, WPARAM, LPARAM, BOOL&)
{
  int status;
  CStringW memo;
  std::unique_ptr<UnpaidTradeListResult> result;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_nStatus;
    memo = m_strMemo;
    result = std::move(m_pListResult);
  }
  HandleCommonStatus(status, memo);
  if (status == kStatusSuccess && result) {
    m_nPage = result->page;
    m_nTotalCount = result->totalCount;
    for (int i = 0; i < result->tradeCount; ++i)
      m_tradeRows.AddRow(MakeTradeRow(result->trades[i]));
  }
  bool any = !m_tradeRows.m_rows.empty();
  m_tradeRows.m_nSelected = any ? 0 : -1;
  m_list.SetModel(any ? &m_tradeRows : &m_emptyRows);
  if (any) {
    ::SetFocus(m_list.m_hWnd);
    m_list.SelectItem(0);
  } else {
    ::SetFocus(m_hCombo);
  }
  m_list.ShowWindow(SW_SHOW);
  ShowPageCounter();
  m_list.EnableDrawing(TRUE);
  ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
  if (status == kStatusSessionEnded)
    PostMessage(WM_CLOSE, 1);
  else if (status != kStatusSuccess)
    ShowFailure(memo);
  return 0;
}

void CTradeQueryDlg::ShowPageCounter()
{
  CStringW counter;
  if (m_nPageSize != 0 && !m_tradeRows.m_rows.empty())
    counter.Format(u"%d/%d", m_nPage, TradePageCount(m_nTotalCount, m_nPageSize));
  if (m_centerKey.IsWindow())
    m_centerKey.SetTitle(counter);
}

void CTradeQueryDlg::ShowFailure(const CStringW& memo)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowMessageBox(m_hWnd, FailureText(memo), CStringW(),
                        KV_BOX_INFO, FALSE, SW_HIDE);
}

void CTradeQueryDlg::NextPage()
{
  if (HasTradePageAfter(m_nPage, m_nTotalCount, m_list.GetCountPerPage())) {
    ++m_nPage;
    Refresh();
    return;
  }
  PageNotice(IDS_TRADEQUERY_LAST_PAGE);
}

void CTradeQueryDlg::PreviousPage()
{
  if (m_nPage >= 2) {
    --m_nPage;
    Refresh();
    return;
  }
  PageNotice(IDS_TRADEQUERY_FIRST_PAGE);
}

void CTradeQueryDlg::PageNotice(UINT stringId)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowMessageBox(m_hWnd, LoadResourceString(stringId), CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
  ::SetFocus(m_list.m_hWnd);
}
