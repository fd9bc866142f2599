// The embedded browser's trade road: the intercepted trade is queried, the trade pay dialog opens
// on the answer, and the page's return address is loaded after the payment.
#include "JSonHelper.h"
#include "app_services.h"
#include "browser_ids.h"
#include "embed_browser_dlg.h"
#include "gateway_address.h"
#include "http_client.h"
#include "http_result.h"
#include "json/streaming_writer.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "net_transport.h"
#include "payment_service.h"
#include "resource_values.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;

CStringW TextOf(const CResponseMap& reply, const WCHAR* key)
{
  JsonParserValue value;
  if (!reply.GetValue(key, value))
    return CStringW();
  if (value.type == kJsonString)
    return CStringW(value.text);
  if (value.type == kJsonInteger) {
    CStringW number;
    number.Format(u"%d", value.integer);
    return number;
  }
  return CStringW();
}

}  // namespace

LRESULT CEmbedBrCtlDlg::OnQueryTrade(UINT, WPARAM, LPARAM, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return 0;
  CStringW clientId;
  app->JoinPair(clientId);
  CJsonWriter writer;
  writer.BeginObject(u"operationType", u"queryTradeDetail", false);
  writer.AddMember(u"clientID", clientId, true);
  writer.AddMember(u"tradeNO", m_strTradeNo, true);
  writer.EndObject();
  app->SendRequestAndWait(m_hWnd, WM_KV_SERVICE_DONE, GetGatewayUrl(kGatewayRequestPath), writer.GetText(),
                          LoadResourceString(IDS_BROWSER_TRADE_WAIT), KV_BOX_WAIT, -1);
  return 0;
}

LRESULT CEmbedBrCtlDlg::OnTradeQueried(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  auto result = static_cast<HttpResult>(wParam);
  CStringW text;
  if (auto* slot = reinterpret_cast<HttpReplySlot*>(lParam)) {
    text = slot->text;
    InterlockedExchange(&slot->busy, 0);
  }
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return 0;
  if (result != kHttpOk) {
    WRITE_LOG_ENTRY(u"queryTradeDetail %d", static_cast<int>(result));
    HideWaitBox();
    if (text.IsEmpty())
      GetNetErrorText(result, text);
    app->ShowMessageBox(::GetActiveWindow(), text, CStringW(), KV_BOX_SELF_CLOSING | KV_BOX_ERROR, FALSE, SW_HIDE);
    return 0;
  }
  CResponseMap reply;
  if (!reply.Parse(text)) {
    // Never silent: the user learns that the trade could not be fetched.
    WRITE_LOG_ENTRY(u"queryTradeDetail reply not parsable");
    HideWaitBox();
    ShowBox(kServerConnectionErrorText, KV_BOX_ERROR);
    return 0;
  }
  int status = app->OnSessionResult(reply);
  if (status == kStatusSuccess) {
    OpenTradePay(reply, status);
  } else if (status == kStatusSessionEnded) {
    ShowWindow(SW_HIDE);
  } else {
    WRITE_LOG_ENTRY(u"queryTradeDetail status %d", status);
    if (TextOf(reply, u"memo").IsEmpty())
      ShowBox(kServerConnectionErrorText, KV_BOX_ERROR);
  }
  HideWaitBox();
  return 0;
}

void CEmbedBrCtlDlg::OpenTradePay(const CResponseMap& reply, int status)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  ClearTradePayParams(m_params);
  m_params.reserved0 = status;
  m_params.reserved1 = 1;
  m_params.reservedText0 = TextOf(reply, u"rsaPK");
  m_params.reservedText1 = TextOf(reply, u"rsaTS");
  if (CPaymentService* service = app->GetPaymentService())
    service->SetSession(m_params.reservedText0, m_params.reservedText1);
  m_params.tradeNo = TextOf(reply, u"tradeNO");
  m_params.counterparty = TextOf(reply, u"sellerName");
  m_params.goodsName = TextOf(reply, u"goodsName");
  m_params.from = TextOf(reply, u"tradeType");
  m_params.totalPayable = TextOf(reply, u"payMoney");
  m_params.couponAvailable = TextOf(reply, u"supportedByCoupon");
  m_params.couponAmount = TextOf(reply, u"couponAmount");
  m_params.availableBalance = TextOf(reply, u"balance");
  m_params.extraText = TextOf(reply, u"memo");
  m_params.accountName = app->GetUserName();
  m_params.signature = app->GetGreeting();
  m_params.instantTransfer = 0;
  m_params.kind = kTradePayTrade;

  OpenTradePayDialog();
}

LRESULT CEmbedBrCtlDlg::OnTradePayResult(UINT, WPARAM, LPARAM, BOOL&)
{
  CloseTradePay();
  // Without a return address the page stays as it is.
  if (!m_strReturnUrl.IsEmpty())
    Navigate(m_strReturnUrl, nullptr, kFormHeader);
  return 0;
}
