// The order-pay screen's payment: the password checked and encrypted, "orderPay" sent through the
// application's send-and-wait, and its reply handed back to the gateway service.
#include <climits>
#include <cmath>

#include "JSonHelper.h"
#include "app_services.h"
#include "gateway_address.h"
#include "handoff/order_pay_handoff.h"
#include "http_client.h"
#include "http_result.h"
#include "input_validators.h"
#include "json/streaming_writer.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "order_pay_dlg.h"
#include "orderpay_ids.h"
#include "resource_values.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"
#include "session_records.h"

namespace {

constexpr int kPaid = 100;
constexpr int kWrongPassword = 105;
constexpr int kOrderPayTimeoutMs = 10000;

// The reply's "resultStatus": a number, an integer or a real without a fraction (100.0 is 100;
// 100.5 is no status).
bool ReadResultStatus(const CResponseMap& reply, int& status)
{
  JsonParserValue value;
  if (!reply.GetValue(u"resultStatus", value))
    return false;
  if (value.type == kJsonInteger) {
    status = value.integer;
    return true;
  }
  if (value.type != kJsonReal || std::trunc(value.real) != value.real || value.real < INT_MIN ||
      value.real > INT_MAX)
    return false;
  status = static_cast<int>(value.real);
  return true;
}

// The resource library's text, or the fallback when it has none.
CStringW TextOr(UINT id, const WCHAR* fallback)
{
  CStringW text = LoadResourceString(id);
  return text.IsEmpty() ? CStringW(fallback) : text;
}

}  // namespace

LRESULT COrderPayDlg::OnSubmit(WORD, WORD, HWND, BOOL&)
{
  WCHAR typed[SELVANE_MAX_INPUT + 1] = {};
  SecretWiper wipeTyped(typed, sizeof typed);
  GetInputForMe(GetDlgItem(IDC_ORDERPAY_PASSWORD), typed, sizeof typed);
  CStringW password(typed);
  CStringW message;
  if (!ValidatePassword(password, message)) {
    WipeSecret(password);
    ShowBox(message, KV_BOX_INFO);
    return 0;
  }
  if (m_orderValidate != 1 || m_rsaPK.IsEmpty() || m_rsaTS.IsEmpty()) {
    WipeSecret(password);
    ShowBox(u"订单提交验证中，请稍候...", KV_BOX_ERROR);
    return 0;
  }
  SessionRecord key{m_rsaPK, m_rsaTS};
  EncryptWithSessionKey(&key, m_strEncryptedPassword, password);
  WipeSecret(password);
  if (m_strEncryptedPassword.IsEmpty()) {
    // The key did not take the password: nothing can be sent, and the user is told so.
    ShowBox(u"支付密码加密失败，请重试", KV_BOX_ERROR);
    return 0;
  }
  SendOrderPay(CStringW(m_order.outTradeNo.c_str()), m_strEncryptedPassword);
  return 0;
}

int COrderPayDlg::SendOrderPay(const CStringW& tradeNo, const CStringW& cipher)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (tradeNo.IsEmpty() || cipher.IsEmpty() || !app)
    return -1;
  CStringW clientId;
  app->JoinPair(clientId);
  CStringW body;
  {
    CJsonWriter writer;
    writer.BeginObject(u"operationType", u"orderPay", false);
    writer.AddMember(u"clientID", clientId, true);
    writer.AddMember(u"outTradeNo", tradeNo, true);
    writer.AddMember(u"payPassword", cipher, true);
    writer.EndObject();
    body = writer.GetText();
  }
  int answer = app->SendRequestAndWait(m_hWnd, WM_KV_ORDERPAY_REPLY, GetGatewayUrl(kGatewayRequestPath), body,
                                       LoadResourceString(IDS_ORDERPAY_WAIT), KV_BOX_SELF_CLOSING,
                                       kOrderPayTimeoutMs);
  WipeSecret(body);
  return answer;
}

LRESULT COrderPayDlg::OnOrderPayReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  auto result = static_cast<HttpResult>(wParam);
  CStringW reply;
  if (auto* slot = reinterpret_cast<HttpReplySlot*>(lParam)) {
    reply = slot->text;
    InterlockedExchange(&slot->busy, 0);
  }
  if (m_bHandedOff)
    return 0;  // the outcome went already

  int status = 0;
  CStringW tradeData;
  CStringW memo;
  if (result == kHttpOk) {
    CResponseMap map;
    JsonParserValue value;
    if (map.Parse(reply)) {
      ReadResultStatus(map, status);
      if (map.GetValue(u"tradeData", value) && value.type == kJsonString)
        tradeData = value.text;
      if (map.GetValue(u"memo", value) && value.type == kJsonString)
        memo = value.text;
    } else {
      WRITE_LOG_ENTRY(u"orderPay reply not parsable");
    }
  } else {
    WRITE_LOG_ENTRY(u"orderPay %d", static_cast<int>(result));
  }

  if (status == kPaid) {
    // Handed back before the notice, so a paid order reaches the service however the run ends.
    HandOff(kHandoffPaid, tradeData.IsEmpty() ? CStringW(kHandoffPaidWithoutData) : tradeData);
    ShowBox(TextOr(IDS_ORDERPAY_PAID, u"支付成功！"), KV_BOX_OK);
    Finish(kHandoffPaid, CStringW());
    return 0;
  }
  if (status == kWrongPassword) {
    ClearInputForMe(GetDlgItem(IDC_ORDERPAY_PASSWORD));
    ShowBox(TextOr(IDS_ORDERPAY_WRONG_PASSWORD, u"支付密码错误！请重输"), KV_BOX_ERROR);
    return 0;
  }
  HandOff(kHandoffFailed, CStringW());
  if (memo.IsEmpty() && result != kHttpOk)
    GetNetErrorText(result, memo);
  ShowBox(memo.IsEmpty() ? TextOr(IDS_ORDERPAY_NO_MEMO, u"发生错误！服务端未返回错误信息") : memo, KV_BOX_ERROR);
  Finish(kHandoffFailed, CStringW());
  return 0;
}
