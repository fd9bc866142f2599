// Opening a row of the trade query list: a trade that waits for the user opens the trade pay
// dialog on its fetched detail (pay it or confirm its goods), any other the trade detail; a
// trade paid or confirmed there is updated in its row.
#include "app_services.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "resource_values.h"
#include "trade_detail_dlg.h"
#include "trade_detail_pay_record.h"
#include "trade_query_dlg.h"
#include "trade_query_rows.h"
#include "trade_status_table.h"
#include "tradequery_ids.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr int kTradeNumberCell = 0;
constexpr int kStatusCell = 5;

CStringW CellText(const CListRow& row, size_t index)
{
  const CListCell* cell = row.GetCell(index);
  return cell ? cell->m_strText : CStringW();
}

}  // namespace

void CTradeQueryDlg::OpenSelectedRow()
{
  const CListRow* row = m_list.GetItemData(m_list.GetSelectedIndex());
  if (!row) {
    if (CKorvexPortalApp* app = GetKorvexPortalApp())
      app->ShowMessageBox(m_hWnd, LoadResourceString(IDS_TRADEQUERY_NO_ROW), CStringW(), KV_BOX_INFO, FALSE,
                          SW_HIDE);
    return;
  }
  // The empty result's row has no trade.
  if (CellText(*row, kTradeNumberCell).IsEmpty())
    return;
  if (TradeWaitsForBuyer(row->m_strKey, row->m_nFlag))
    FetchTradeToPay(*row);
  else
    OpenTradeDetail(*row);
}

void CTradeQueryDlg::OpenTradeDetail(const CListRow& row)
{
  CloseTradeDetail();
  m_pTradeDetailDlg = std::make_unique<CTradeDetailDlg>();
  m_pTradeDetailDlg->SetTradeNo(CellText(row, kTradeNumberCell));
  m_pTradeDetailDlg->SetStatusText(CellText(row, kStatusCell));
  if (m_pTradeDetailDlg->ShowDialog(m_hWnd, 0, FALSE, TRUE) == 0)
    return;
  m_pTradeDetailDlg->QueryTradeDetail();
}

void CTradeQueryDlg::FetchTradeToPay(const CListRow& row)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service)
    return;
  m_nPayMode = row.m_strKey == u"WAIT_BUYER_PAY" ? kTradePayTrade : kTradePayConfirmGoods;
  m_nPayRow = m_list.GetSelectedIndex();
  m_strPayTradeNo = CellText(row, kTradeNumberCell);
  ArmRequest();
  CServiceCommand* command = service->QueryTradeDetail(m_strPayTradeNo);
  if (WaitForCommand(command, IDS_TRADEQUERY_DETAIL_WAIT) && IsWindow())
    PostMessage(WM_KV_TRADEDETAIL_READY);
}

LRESULT CTradeQueryDlg::OnTradeDetailReady(UINT, WPARAM, LPARAM, BOOL&)
{
  int status;
  CStringW memo;
  std::unique_ptr<CTradeDetailResult> detail;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_nStatus;
    memo = m_strMemo;
    detail = std::move(m_pDetailResult);
  }
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (status == kStatusSessionEnded) {
    // The wait box is already hidden; the session's end goes through the common handling,
    // which returns to login.
    HandleCommonStatus(status, memo);
    PostMessage(WM_CLOSE, 1);
    return 0;
  }
  if (status != kStatusSuccess || !detail || !app) {
    ShowFailure(memo);
    return 0;
  }
  FillTradePayFromDetail(*detail, m_nPayMode, TradePayPayer{app->GetUserName(), app->GetGreeting(), memo},
                         m_payParams);
  CloseTradePay();
  m_pTradePayDlg = std::make_unique<CTradePayDlg>();
  if (m_payParams.kind == kTradePayConfirmGoods)
    m_pTradePayDlg->SetTitle(u"确认收货", FALSE);
  m_pTradePayDlg->SetResultMessageChoice(1);
  m_pTradePayDlg->ShowDialog(m_hWnd, reinterpret_cast<LPARAM>(&m_payParams), FALSE, TRUE);
  return 0;
}

LRESULT CTradeQueryDlg::OnTradePayResult(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  CloseTradePay();
  if (wParam != 1)
    return 0;
  // The row the trade pay dialog was opened for, unless a query replaced the rows since.
  int index = m_nPayRow;
  if (index < 0 || static_cast<size_t>(index) >= m_tradeRows.m_rows.size())
    return 0;
  CListRow* row = m_tradeRows.m_rows[static_cast<size_t>(index)];
  if (CellText(*row, kTradeNumberCell) != m_strPayTradeNo)
    return 0;
  // The trade no longer waits for the user: it opens the detail from now on.
  row->m_nFlag = 1;
  if (CListCell* status = row->GetCell(kStatusCell)) {
    if (status->m_hImage)
      ::DeleteObject(status->m_hImage);
    status->m_hImage = nullptr;
    status->m_strText = TradeStatusTable::Instance().Lookup(lParam != 0 ? u"TRADE_FINISHED" : u"WAIT_SELLER_SEND_GOODS");
  }
  ::InvalidateRect(m_list.m_hWnd, nullptr, TRUE);
  return 0;
}
