// Paying a row of the unpaid-trade list: the trade's detail is fetched, the trade pay dialog
// opens on it, and a paid trade leaves the list.
#include "app_services.h"
#include "facade_request.h"
#include "message_box_types.h"
#include "net_transport.h"
#include "payment_service.h"
#include "resource_values.h"
#include "service_errors.h"
#include "thread_message_box.h"
#include "unpaid_ids.h"
#include "unpaid_trade_list_dlg.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr int kDetailSuccess = 18;
constexpr int kDetailFailure = 19;

}  // namespace

LRESULT CUnpaidTradeListDlg::OnPayCommand(WORD, WORD, HWND, BOOL&)
{
  if (::GetFocus() != m_list.m_hWnd) {
    if (CKorvexPortalApp* app = GetKorvexPortalApp())
      app->ShowMessageBox(m_hWnd, u"请选择需要付款的交易！", CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
    return 0;
  }
  PayRow(m_list.GetSelectedIndex());
  return 0;
}

LRESULT CUnpaidTradeListDlg::OnOpenItem(UINT, WPARAM, LPARAM, BOOL&)
{
  PayRow(m_list.GetSelectedIndex());
  return 0;
}

void CUnpaidTradeListDlg::PayRow(int index)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service || index < 0 || index >= static_cast<int>(m_block.records.size()))
    return;
  m_nHandledIndex = index;
  // What the listener fills is reset and the wait armed before the request starts: a stale
  // detail must never open the previous trade.
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_nStatus = 0;
    m_strMemo.Empty();
    m_pDetail.reset();
  }
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(this);
  CServiceCommand* command = service->QueryTradeDetail(CStringW(m_block.records[index].tradeNO.c_str()));
  int answer = KV_BOX_NO_ANSWER;
  if (command) {
    answer = app->ShowMessageBox(m_hWnd, LoadResourceString(IDS_UNPAID_DETAIL_WAIT), CStringW(), KV_BOX_WAIT, FALSE,
                                 SW_HIDE);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
  }
  service->RemoveListener(this);
  if (answer == KV_BOX_ANSWER_CANCEL)
    return;

  int status;
  CStringW memo;
  std::unique_ptr<CTradeDetailResult> detail;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_nStatus;
    memo = m_strMemo;
    detail = std::move(m_pDetail);
  }
  if (status == kStatusSuccess && detail) {
    m_pOpening = std::move(detail);
    m_strOpeningMemo = memo;
    PostMessage(WM_KV_OPEN_TRADEPAY);
  } else if (status == kStatusSessionEnded) {
    HandleCommonStatus(status, memo);
    PostMessage(WM_CLOSE, 1);
  } else {
    app->ShowMessageBox(m_hWnd, FailureText(memo), CStringW(),
                        KV_BOX_ERROR, FALSE, SW_HIDE);
  }
}

LRESULT CUnpaidTradeListDlg::OnOpenTradePay(UINT, WPARAM, LPARAM, BOOL&)
{
  if (std::unique_ptr<CTradeDetailResult> detail = std::move(m_pOpening))
    OpenTradePay(*detail, m_strOpeningMemo);
  return 0;
}

void CUnpaidTradeListDlg::OpenTradePay(const CTradeDetailResult& detail, const CStringW& memo)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  ClearTradePayParams(m_params);
  m_params.reserved1 = 1;
  m_params.kind = kTradePayTrade;
  CStringW tradeType;
  if (const TradePayInfo* unpaid = detail.payInfo.get()) {
    m_params.tradeNo = unpaid->tradeNO.c_str();
    m_params.counterparty = unpaid->sellerName.c_str();
    m_params.goodsName = unpaid->goodsName.c_str();
    m_params.from = unpaid->partnerName.c_str();
    m_params.totalPayable = unpaid->payMoney.c_str();
    m_params.availableBalance = unpaid->balance.c_str();
    m_params.couponAvailable = unpaid->supportedByCoupon.c_str();
    m_params.couponAmount = unpaid->couponAmount.c_str();
    tradeType = unpaid->tradeType.c_str();
  } else if (const TradeDetail* paid = detail.detail.get()) {
    m_params.tradeNo = paid->tradeNO.c_str();
    m_params.counterparty = paid->sellerName.c_str();
    m_params.goodsName = paid->goodsName.c_str();
    m_params.totalPayable = paid->tradeMoney.c_str();
    m_params.couponAvailable = u"N";
    m_params.couponAmount = u"0";
    tradeType = paid->tradeType.c_str();
  }
  m_params.accountName = app->GetUserName();
  m_params.signature = app->GetGreeting();
  m_params.extraText = memo;
  m_params.instantTransfer = tradeType == u"即时到账交易" ? 1 : 0;

  CloseTradePay();
  m_pTradePayDlg = std::make_unique<CTradePayDlg>();
  m_pTradePayDlg->SetResultMessageChoice(1);
  m_pTradePayDlg->ShowDialog(m_hWnd, reinterpret_cast<LPARAM>(&m_params), FALSE, TRUE);
}

void CUnpaidTradeListDlg::CloseTradePay()
{
  if (m_pTradePayDlg && m_pTradePayDlg->IsWindow())
    m_pTradePayDlg->CloseDialog(2, FALSE);
  m_pTradePayDlg.reset();
}

LRESULT CUnpaidTradeListDlg::OnTradePayResult(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  CloseTradePay();
  int index = m_nHandledIndex;
  if (wParam != 1 || index < 0 || index >= static_cast<int>(m_block.records.size()))
    return 0;
  // The paid trade leaves the list; the later ones move up.
  m_block.records.erase(m_block.records.begin() + index);
  if (m_nTotalCount > 0)
    --m_nTotalCount;
  m_nHandledIndex = -1;
  BuildRows();
  LayoutList();
  if (!m_rows.m_rows.empty()) {
    int selected = std::min(index, static_cast<int>(m_rows.m_rows.size()) - 1);
    m_rows.m_nSelected = selected;
    m_list.SelectItem(selected);
  }
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return 0;
}

int CUnpaidTradeListDlg::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  if (code != kDetailSuccess && code != kDetailFailure)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
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
