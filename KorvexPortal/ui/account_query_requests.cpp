// The account statement's requests: a page of transactions ("queryTransList"), the paging rules
// and the reply shown in the list.
#include "account_query_dlg.h"
#include "app_services.h"
#include "facade_request.h"
#include "list_results.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "resource_values.h"
#include "service_errors.h"
#include "statement_paging.h"
#include "thread_message_box.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr int kListSuccess = 16;
constexpr int kListFailure = 17;

CListCell* TextCell(const std::u16string& text)
{
  auto* cell = new CListCell;
  cell->m_strText = text.c_str();
  return cell;
}

}  // namespace

int CAccountQueryDlg::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  // Other operations' codes (the unread count's 32 and 33 among them) change nothing.
  if (code != kListSuccess && code != kListFailure)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_strMemo = memo ? memo : u"";
    if (code == kListSuccess) {
      m_pResult.reset(reinterpret_cast<CTransListResult*>(value));
      m_nStatus = kStatusSuccess;
    } else {
      // A refusal carries the reply's status; a transport or parse failure has none.
      m_nStatus = hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
    }
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

void CAccountQueryDlg::ResetListener()
{
  std::lock_guard<std::mutex> guard(m_lock);
  m_nStatus = 0;
  m_strMemo.Empty();
  m_pResult.reset();
}

void CAccountQueryDlg::RequestPage()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!IsWindow() || !service)
    return;
  // The rows go with the list's items (the model rebuilds the lists that show it first), so no
  // item is left pointing at a freed row while the query runs or after it failed.
  m_transRows.Clear();
  m_detailRows.Clear();
  m_list.SetModel(&m_transRows);
  int rows = m_list.GetCountPerPage();
  if (rows < 1)
    rows = 1;
  if (rows != m_nPageSize) {
    m_nPage = RescaleStatementPage(m_nPageSize, m_nPage, rows);
    m_nPageSize = rows;
  }
  m_list.EnableDrawing(FALSE);
  ResetListener();
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(this);
  CServiceCommand* command = service->QueryTransList(m_strPeriodCode, m_nPage, m_nPageSize);
  int answer = KV_BOX_NO_ANSWER;
  // Without a command nothing will answer: no wait, as on a cancel.
  if (command) {
    answer = app->ShowMessageBox(m_hWnd, LoadResourceString(kWaitTextId), CStringW(), KV_BOX_WAIT, FALSE, SW_HIDE);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
  }
  service->RemoveListener(this);
  if (!IsWindow())
    return;
  if (!command || answer == KV_BOX_ANSWER_CANCEL) {
    m_list.EnableDrawing(TRUE);
    m_list.ShowWindow(SW_SHOW);
    ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
    return;
  }
  PostMessage(WM_KV_TRANSLIST_READY);
  ::ShowWindow(m_hCombo, SW_SHOW);
}

LRESULT CAccountQueryDlg::OnTransListReady(UINT, WPARAM, LPARAM, BOOL&)
{
  int status;
  CStringW memo;
  std::unique_ptr<CTransListResult> result;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_nStatus;
    memo = m_strMemo;
    result = std::move(m_pResult);
  }
  HandleCommonStatus(status, memo);
  if (status == kStatusSuccess && result) {
    m_nPage = result->page;
    m_nTotalCount = result->totalCount;
    for (int i = 0; i < result->transCount && result->transactions; ++i) {
      const TransRecord& trans = result->transactions[i];
      auto* row = new CListRow;
      row->AddCell(TextCell(trans.transLogId));
      row->AddCell(TextCell(trans.simpleDate));
      row->AddCell(TextCell(trans.transType));
      row->AddCell(TextCell(trans.money));
      row->m_strKey = trans.transLogId.c_str();
      m_transRows.AddRow(row);
      // A number already known keeps its first entry.
      CStringW number = trans.transLogId.c_str();
      if (!m_transactions.count(number))
        m_transactions[number] = TransFields{{u"date", trans.date.c_str()},
                                             {u"transType", trans.transType.c_str()},
                                             {u"money", trans.money.c_str()},
                                             {u"transLogId", trans.transLogId.c_str()},
                                             {u"transInstitution", trans.transInstitution.c_str()},
                                             {u"transMemo", trans.transMemo.c_str()}};
    }
  }
  if (status == kStatusSessionEnded) {
    // The account page closes without raising the desktop.
    ::ShowWindow(GetParent(), SW_HIDE);
    if (HWND page = GetAccountPage())
      ::PostMessageW(page, WM_CLOSE, 1, 0);
    return 0;
  }
  bool any = !m_transRows.m_rows.empty();
  m_transRows.m_nSelected = any ? 0 : -1;
  SetColumnWidths(m_nLastWidth);
  m_list.SetModel(any ? &m_transRows : &m_emptyRows);
  if (any) {
    FocusChild(m_list.m_hWnd);
    m_list.SelectItem(0);
  } else {
    FocusChild(m_hCombo);
  }
  m_list.ShowWindow(SW_SHOW);
  PostPageCounter();
  if (status != kStatusSuccess) {
    CKorvexPortalApp* app = GetKorvexPortalApp();
    if (app)
      app->ShowMessageBox(m_hWnd, FailureText(memo), CStringW(),
                          KV_BOX_INFO, FALSE, SW_HIDE);
  }
  m_list.EnableDrawing(TRUE);
  ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
  return 0;
}

void CAccountQueryDlg::NextPage()
{
  if (HasStatementPageAfter(m_nPage, m_nTotalCount, m_list.GetCountPerPage())) {
    ++m_nPage;
    RequestPage();
    return;
  }
  ShowNotice(LoadResourceString(kLastPageTextId));
  ::SetFocus(m_list.m_hWnd);
}

void CAccountQueryDlg::PrevPage()
{
  if (m_nPage >= 2) {
    --m_nPage;
    RequestPage();
    return;
  }
  ShowNotice(u"已经是第一页了！");
}
