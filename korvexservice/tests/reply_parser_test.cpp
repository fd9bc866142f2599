// Every operation's reply parser, fed reply texts straight into its command: the notification
// code, HRESULT, value (a number, or the fields of the record it carries), memo, and what the
// reply leaves for later requests.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "command_registry.h"
#include "list_results.h"
#include "net_transport.h"
#include "payment_service.h"
#include "service_errors.h"
#include "service_results.h"
#include "service_test_support.h"
#include "session_records.h"

namespace {

using svcb_test::Utf8;

typedef std::map<std::string, std::string> Fields;

std::u16string FromUtf8(const std::string& text)
{
  std::u16string out;
  for (size_t i = 0; i < text.size();) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
    char32_t c = extra == 0 ? lead : extra == 1 ? lead & 0x1F : extra == 2 ? lead & 0x0F : lead & 0x07;
    for (int k = 1; k <= extra; ++k) {
      c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    }
    i += extra + 1;
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

// ---- records as name -> text ----------------------------------------------------------------

class FieldWriter {
 public:
  explicit FieldWriter(Fields& fields, std::string prefix = "") : m_fields(fields), m_prefix(std::move(prefix)) {}
  void operator()(const std::string& name, const std::u16string& value) { m_fields[m_prefix + name] = Utf8(value); }
  void operator()(const std::string& name, int value) { m_fields[m_prefix + name] = std::to_string(value); }
  FieldWriter Nested(const std::string& name) { return FieldWriter(m_fields, m_prefix + name); }

 private:
  Fields& m_fields;
  std::string m_prefix;
};

void Write(FieldWriter w, const CServiceResult& r)
{
  w("resultStatus", r.resultStatus);
  w("memo", r.memo);
}
void Write(FieldWriter w, const SidResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("sid", r.sid);
}
void Write(FieldWriter w, const PucPayResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("url", r.url);
}
void Write(FieldWriter w, const PreRegisterResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("checkCode", r.checkCode);
}
void Write(FieldWriter w, const MsgDetailResult& r)
{
  w("msgId", r.msgId);
  w("msgLevel", r.msgLevel);
  w("msgTopic", r.msgTopic);
  w("msgContent", r.msgContent);
  w("msgType", r.msgType);
  w("msgDate", r.msgDate);
  w("msgCount", r.msgCount);
  w("msgFrom", r.msgFrom);
}
void Write(FieldWriter w, const BalanceResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("currentBalance", r.currentBalance);
  w("availableBalance", r.availableBalance);
}
void Write(FieldWriter w, const EasyownRateResult& r)
{
  w("rate", r.rate);
  w("balance", r.balance);
}
void Write(FieldWriter w, const EasyownDepositResult& r)
{
  w("depositId", r.depositId);
}
void Write(FieldWriter w, const PrePayResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("isQuser", r.isQuser ? 1 : 0);
  w("toPayUserName", r.toPayUserName);
  w("toPayAccount", r.toPayAccount);
}
void Write(FieldWriter w, const WithdrawInfo& r)
{
  w("userName", r.userName);
  w("bankName", r.bankName);
  w("accountType", r.accountType);
  w("bankAccountNO", r.bankAccountNO);
  w("availableAmount", r.availableAmount);
  w("onceAvailableAmount", r.onceAvailableAmount);
}
void Write(FieldWriter w, const PhoneTopUpInfo& r)
{
  w("toMobileAmount", r.toMobileAmount);
  w("toPayAmount", r.toPayAmount);
  w("toMobileNO", r.toMobileNO);
  w("availableBalance", r.availableBalance);
  w("goodsName", r.goodsName);
  w("merName", r.merName);
}
void Write(FieldWriter w, const UpdateResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("downloadURL", r.downloadURL);
}
void Write(FieldWriter w, const CheckCodeResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("loginCheckCodeImg", r.loginCheckCodeImg);
}
void Write(FieldWriter w, const RegisterResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("smsCode", r.smsCode);
  w("smsContent", r.smsContent);
  w("checkCode", r.checkCode);
}
void Write(FieldWriter w, const BillResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("billNO", r.billNO);
  w("sellerName", r.sellerName);
  w("goodsName", r.goodsName);
  w("tradeFrom", r.tradeFrom);
  w("totalFee", r.totalFee);
  w("availableBalance", r.availableBalance);
}
void Write(FieldWriter w, const ContactGroupList& groups)
{
  w("size", static_cast<int>(groups.size()));
  for (size_t i = 0; i < groups.size(); ++i) {
    FieldWriter g = w.Nested("[" + std::to_string(i) + "].");
    g("groupName", groups[i]->groupName);
    g("entries", static_cast<int>(groups[i]->entries.size()));
    for (size_t j = 0; j < groups[i]->entries.size(); ++j) {
      FieldWriter e = g.Nested("entries[" + std::to_string(j) + "].");
      e("account", groups[i]->entries[j]->account);
      e("name", groups[i]->entries[j]->name);
    }
  }
}
void Write(FieldWriter w, const TradeRecord& r)
{
  w("tradeNO", r.tradeNO);
  w("tradeStatus", r.tradeStatus);
  w("tradeTime", r.tradeTime);
  w("goodsName", r.goodsName);
  w("act", r.act);
  w("tradeMoney", r.tradeMoney);
  w("tradeStatusMemo", r.tradeStatusMemo);
  w("buyer", r.buyer);
}
void Write(FieldWriter w, const TransRecord& r)
{
  w("transLogId", r.transLogId);
  w("date", r.date);
  w("simpleDate", r.simpleDate);
  w("transType", r.transType);
  w("money", r.money);
  w("transInstitution", r.transInstitution);
  w("transMemo", r.transMemo);
}
template <class Record>
void WriteArray(FieldWriter w, const std::string& name, const Record* records, int count)
{
  ASSERT_TRUE(count == 0 || records != nullptr);
  for (int i = 0; i < count; ++i) {
    Write(w.Nested(name + "[" + std::to_string(i) + "]."), records[i]);
  }
}
template <class Record>
void WritePaging(FieldWriter w, const Record& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("pageCount", r.pageCount);
  w("page", r.page);
  w("totalCount", r.totalCount);
}
void Write(FieldWriter w, const UnpaidTradeListResult& r)
{
  WritePaging(w, r);
  w("tradeCount", r.tradeCount);
  WriteArray(w, "trades", r.trades.get(), r.tradeCount);
}
void Write(FieldWriter w, const CTransListResult& r)
{
  WritePaging(w, r);
  w("transCount", r.transCount);
  WriteArray(w, "transactions", r.transactions.get(), r.transCount);
}
void Write(FieldWriter w, const TradePayInfo& r)
{
  w("tradeNO", r.tradeNO);
  w("tradeType", r.tradeType);
  w("goodsName", r.goodsName);
  w("partnerName", r.partnerName);
  w("sellerName", r.sellerName);
  w("sellerAccount", r.sellerAccount);
  w("payMoney", r.payMoney);
  w("balance", r.balance);
  w("supportedByCoupon", r.supportedByCoupon);
  w("couponAmount", r.couponAmount);
}
void Write(FieldWriter w, const TradeDetail& r)
{
  w("tradeNO", r.tradeNO);
  w("goodsName", r.goodsName);
  w("tradeMoney", r.tradeMoney);
  w("tradeTime", r.tradeTime);
  w("tradeType", r.tradeType);
  w("tradeStatus", r.tradeStatus);
  w("sellerName", r.sellerName);
  w("logisticsType", r.logisticsType);
  w("logisticsid", r.logisticsid);
  w("buyerAddress", r.buyerAddress);
  w("logisticsFee", r.logisticsFee);
  w("logisticsName", r.logisticsName);
  w("logisticsPhone", r.logisticsPhone);
  w("logisticsMemo", r.logisticsMemo);
}
void Write(FieldWriter w, const CTradeDetailResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("paid", r.paid);
  w("buyer", r.buyer ? 1 : 0);
  w("act", r.act);
  if (r.payInfo) {
    Write(w.Nested("payInfo."), *r.payInfo);
  }
  if (r.detail) {
    Write(w.Nested("detail."), *r.detail);
  }
}
void Write(FieldWriter w, const BankEntry& r)
{
  w("bankId", r.bankId);
  w("bankName", r.bankName);
}
void Write(FieldWriter w, const SupportedBankResult& r)
{
  w("bankCount", r.bankCount);
  w("balance", r.balance);
  WriteArray(w, "banks", r.banks.get(), r.bankCount);
}
void Write(FieldWriter w, const ChargeCardResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("amounts", static_cast<int>(r.amounts.size()));
  for (size_t i = 0; i < r.amounts.size(); ++i) {
    w("amounts[" + std::to_string(i) + "]", r.amounts[i]);
  }
  w("rate", r.rate);
  w("balance", r.balance);
}
void Write(FieldWriter w, const McDepositBank& r)
{
  w("mcBankId", r.mcBankId);
  w("mcBankName", r.mcBankName);
  w("mcShortCode", r.mcShortCode);
}
void Write(FieldWriter w, const McDepositInfoResult& r)
{
  Write(w, static_cast<const CServiceResult&>(r));
  w("currentBalance", r.currentBalance);
  w("bankCount", r.bankCount);
  WriteArray(w, "banks", r.banks.get(), r.bankCount);
}
void Write(FieldWriter w, const McActivationBank& r)
{
  w("bankId", r.bankId);
  w("bankName", r.bankName);
  w("activeMSG", r.activeMSG);
}
void Write(FieldWriter w, const McActivationResult& r)
{
  w("bankCount", r.bankCount);
  WriteArray(w, "banks", r.banks.get(), r.bankCount);
  w("notAuthed", r.notAuthed);
  w("realName", r.realName);
  w("idCardNO", r.idCardNO);
}
void Write(FieldWriter w, const PreOrderPayResult& r)
{
  w("orderValidate", r.orderValidate);
  w("tradeData", r.tradeData);
  if (r.order) {
    FieldWriter o = w.Nested("order.");
    o("outTradeNo", r.order->outTradeNo);
    o("sellerName", r.order->sellerName);
    o("goodTitle", r.order->goodTitle);
    o("partnerName", r.order->partnerName);
    o("sellerAccount", r.order->sellerAccount);
    o("totalFee", r.order->totalFee);
    o("userName", r.order->userName);
    o("availableBalance", r.order->availableBalance);
    o("greeting", r.order->greeting);
  }
}

// What the value of a notification is: read during the call, and deleted when it is the
// listener's.
typedef Fields (*ValueKind)(LPARAM value);

template <class Record>
Fields Owned(LPARAM value)
{
  std::unique_ptr<Record> record(reinterpret_cast<Record*>(value));
  Fields fields;
  Write(FieldWriter(fields), *record);
  return fields;
}
template <class Record>
Fields Lent(LPARAM value)
{
  Fields fields;
  Write(FieldWriter(fields), *reinterpret_cast<const Record*>(value));
  return fields;
}
Fields LentText(LPARAM value)
{
  return {{"text", Utf8(reinterpret_cast<const WCHAR*>(value))}};
}

// ---- the listener ---------------------------------------------------------------------------

struct Seen {
  int calls = 0;
  int code = 0;
  HRESULT hr = 0;
  LPARAM value = 0;
  Fields fields;
  bool hasMemo = false;
  std::string memo;
};

class ReadingListener : public IServiceListener {
 public:
  explicit ReadingListener(ValueKind kind) : m_kind(kind) {}
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override
  {
    ++m_seen.calls;
    m_seen.code = code;
    m_seen.hr = hr;
    m_seen.value = value;
    if (m_kind != nullptr && value != 0) {
      m_seen.fields = m_kind(value);
    }
    m_seen.hasMemo = memo != nullptr;
    m_seen.memo = memo != nullptr ? Utf8(memo) : "";
    return 0;
  }
  const Seen& seen() const { return m_seen; }

 private:
  ValueKind m_kind;
  Seen m_seen;
};

// ---- the table ------------------------------------------------------------------------------

constexpr HRESULT BUSINESS = E_SERVICE_BUSINESS;
constexpr HRESULT EMPTY = E_SERVICE_EMPTY_REPLY;
constexpr HRESULT BAD = E_SERVICE_BAD_REPLY;
constexpr HRESULT NETWORK = E_SERVICE_NETWORK;
const char* const kNoMemo = nullptr;

struct ParseCase {
  const char* operation;  // the dispatch name
  std::string reply;      // "" is fed as the transport carries an empty reply: as a network failure
  int code;
  HRESULT hr;
  ValueKind kind;         // null: the value is the number below
  LPARAM value;
  // The record's fields, and "~session" (the stored key, "old" before) and "~topUp" (the
  // stored top-up texts, "|" joined, empty before). Every field not listed is empty or 0.
  Fields fields;
  const char* memo;       // null: none
};

std::vector<ParseCase> Cases()
{
  const std::string tradeRow = R"({"tradeNO":"T1","tradeStatus":"WAIT_PAY","tradeTime":"2010-07-01","goodsName":"书",)"
                               R"("act":"pay","tradeMoney":"9.90","buyer":1})";
  return {
      // Only a status.
      {"tradePay", R"({"resultStatus":100,"memo":"好"})", 58, S_OK, nullptr, 0, {}, kNoMemo},
      {"tradePay", R"({"resultStatus":301,"memo":"密码错误"})", 59, BUSINESS, nullptr, 301, {}, "密码错误"},
      {"tradePay", R"({"resultStatus":301})", 59, BUSINESS, nullptr, 301, {}, kNoMemo},
      {"tradePay", "<html>busy</html>", 59, BAD, nullptr, 0, {}, kNoMemo},
      {"tradePay", R"({"memo":"没有状态"})", 59, BAD, nullptr, 0, {}, kNoMemo},
      {"tradePay", R"({"resultStatus":"100"})", 59, BAD, nullptr, 0, {}, kNoMemo},
      {"tradePay", "", 59, NETWORK, nullptr, 0, {}, "连接服务器出错"},
      {"addContact", R"({"resultStatus":100})", 60, S_OK, nullptr, 0, {}, kNoMemo},
      {"addContact", R"({"resultStatus":500,"memo":"已存在"})", 61, BUSINESS, nullptr, 500, {}, "已存在"},
      {"requestMC", R"({"resultStatus":100,"memo":"m"})", 28, S_OK, nullptr, 0, {}, kNoMemo},
      {"confirmBinding", R"({"resultStatus":100,"memo":"已绑定"})", 66, S_OK, nullptr, 0, {}, "已绑定"},
      {"confirmGoods", R"({"resultStatus":100,"memo":"已确认收货"})", 68, S_OK, nullptr, 0, {}, "已确认收货"},
      {"confirmGoods", "", 69, NETWORK, nullptr, 0, {}, "连接服务器出错"},
      {"mcDeposit", R"({"resultStatus":100})", 22, S_OK, nullptr, 0, {}, kNoMemo},
      {"mcDeposit", R"({"resultStatus":100,"memo":"充值成功"})", 22, S_OK, nullptr, 0, {}, "充值成功"},
      {"drawMoney", R"({"resultStatus":100,"memo":"m"})", 44, S_OK, nullptr, 100, {}, kNoMemo},
      {"drawMoney", R"({"resultStatus":402,"memo":"余额不足"})", 45, BUSINESS, nullptr, 402, {}, "余额不足"},
      {"deposit4Mobile", R"({"resultStatus":100,"memo":"已充值"})", 52, S_OK, nullptr, 100, {}, "已充值"},
      {"getEasyownResult", R"({"resultStatus":100})", 36, S_OK, nullptr, 100, {}, kNoMemo},
      {"getEasyownResult", "[1,2]", 37, BAD, nullptr, 0, {}, kNoMemo},
      {"confirmMobilePay", R"({"resultStatus":100,"memo":"已确认"})", 10, S_OK, Lent<CServiceResult>, 0,
       {{"resultStatus", "100"}, {"memo", "已确认"}}, "已确认"},
      {"confirmMobilePay", R"({"resultStatus":112,"memo":"未绑定"})", 11, BUSINESS, nullptr, 112, {}, "未绑定"},

      // One number or text; a number that is not one makes the reply unparsable.
      {"p2pPay", R"({"resultStatus":100,"isContact":1})", 6, S_OK, nullptr, 1, {}, kNoMemo},
      {"p2pPay", R"({"resultStatus":100})", 6, S_OK, nullptr, 0, {}, kNoMemo},
      {"p2pPay", R"({"resultStatus":100,"isContact":"yes"})", 7, BAD, nullptr, 0, {}, "未知错误！"},
      {"p2pPay", "not json", 7, BAD, nullptr, 0, {}, "未知错误！"},
      {"p2pPay", R"({"resultStatus":303,"memo":"支付密码错误"})", 7, BUSINESS, nullptr, 303, {}, "支付密码错误"},
      {"getMsgCount", R"({"resultStatus":100,"msgCount":5})", 32, S_OK, nullptr, 5, {}, kNoMemo},
      {"getMsgCount", R"({"resultStatus":100,"msgCount":null})", 32, S_OK, nullptr, 0, {}, kNoMemo},
      {"getMsgCount", R"({"resultStatus":100,"msgCount":"5"})", 33, BAD, nullptr, 0, {}, kNoMemo},
      {"getMsgCount", R"({"resultStatus":100,"msgCount":1e12})", 33, BAD, nullptr, 0, {}, kNoMemo},
      {"getMsgCount", R"({"resultStatus":100,"msgCount":[5]})", 33, BAD, nullptr, 0, {}, kNoMemo},
      {"queryTradeNum", R"({"resultStatus":100,"totalCount":7})", 56, S_OK, nullptr, 7, {}, kNoMemo},
      {"queryTradeNum", R"({"resultStatus":100,"totalCount":true})", 57, BAD, nullptr, 0, {}, kNoMemo},
      {"ebankDeposit", R"({"resultStatus":100,"bankUrl":"https://bank/pay?id=1"})", 46, S_OK, LentText, 0,
       {{"text", "https://bank/pay?id=1"}}, kNoMemo},
      {"ebankDeposit", R"({"resultStatus":100})", 46, S_OK, LentText, 0, {}, kNoMemo},

      // One flat record.
      {"amusement", R"({"resultStatus":100,"memo":"m","sid":"S1"})", 73, S_OK, Owned<SidResult>, 0,
       {{"resultStatus", "100"}, {"sid", "S1"}}, kNoMemo},
      {"amusement", "", 74, NETWORK, nullptr, 0, {}, "连接服务器出错"},
      // Success is 71 with a record the listener owns and no memo.
      {"pucPay", R"({"resultStatus":100,"memo":"付款成功","url":"https://x/puc"})", 71, S_OK, Owned<PucPayResult>, 0,
       {{"resultStatus", "100"}, {"url", "https://x/puc"}}, kNoMemo},
      {"pucPay", R"({"resultStatus":303,"memo":"密码错误"})", 72, BUSINESS, nullptr, 303, {}, "密码错误"},
      {"preRegister", R"({"resultStatus":100,"checkCode":"1234","rsaPK":"PK2","rsaTS":"TS2"})", 81, S_OK,
       Owned<PreRegisterResult>, 0, {{"resultStatus", "100"}, {"checkCode", "1234"}, {"~session", "PK2|TS2"}}, kNoMemo},
      {"preRegister", R"({"resultStatus":100})", 81, S_OK, Owned<PreRegisterResult>, 0, {{"resultStatus", "100"}},
       kNoMemo},
      {"preRegister", "{", 82, BAD, nullptr, 0, {}, kNoMemo},
      {"viewMsgDetail",
       R"({"resultStatus":100,"msgId":7,"msgLevel":"1","msgTopic":"通知","msgContent":"内容","MsgType":"2",)"
       R"("msgDate":"2010-07-01","msgCount":3,"msgFrom":"Korvex"})",
       75, S_OK, Owned<MsgDetailResult>, 0,
       {{"msgId", "7"}, {"msgLevel", "1"}, {"msgTopic", "通知"}, {"msgContent", "内容"}, {"msgType", "2"},
        {"msgDate", "2010-07-01"}, {"msgCount", "3"}, {"msgFrom", "Korvex"}},
       kNoMemo},
      {"viewMsgDetail", R"({"resultStatus":100,"msgId":7})", 75, S_OK, Owned<MsgDetailResult>, 0, {{"msgId", "7"}},
       kNoMemo},
      {"viewMsgDetail", R"({"resultStatus":100,"msgId":"7"})", 76, BAD, nullptr, 0, {}, kNoMemo},
      {"queryBalance", R"({"resultStatus":100,"memo":"ok","currentBalance":"12.00","availableBalance":null})", 12,
       S_OK, Owned<BalanceResult>, 0, {{"resultStatus", "100"}, {"memo", "ok"}, {"currentBalance", "12.00"}}, kNoMemo},
      {"getEasyownRate", R"({"resultStatus":100,"rate":"0.96","balance":"5.00"})", 34, S_OK, Owned<EasyownRateResult>, 0,
       {{"rate", "0.96"}, {"balance", "5.00"}}, kNoMemo},
      {"easyownDeposit", R"({"resultStatus":100,"memo":"处理中","depositId":"D9"})", 38, S_OK,
       Owned<EasyownDepositResult>, 0, {{"depositId", "D9"}}, "处理中"},
      {"easyownDeposit", R"({"resultStatus":100,"depositId":"D9"})", 38, S_OK, Owned<EasyownDepositResult>, 0,
       {{"depositId", "D9"}}, kNoMemo},
      {"p2pPrePay",
       R"({"resultStatus":100,"memo":"m","isQuser":1,"toPayUserName":"李四","toPayAccount":"a@b.cn","rsaPK":"PK3",)"
       R"("rsaTS":"TS3"})",
       9, S_OK, Owned<PrePayResult>, 0,
       {{"resultStatus", "100"}, {"isQuser", "1"}, {"toPayUserName", "李四"}, {"toPayAccount", "a@b.cn"},
        {"~session", "PK3|TS3"}},
       kNoMemo},
      {"p2pPrePay", R"({"resultStatus":100,"toPayAccount":"a@b.cn"})", 9, S_OK, Owned<PrePayResult>, 0,
       {{"resultStatus", "100"}, {"toPayAccount", "a@b.cn"}}, kNoMemo},
      {"p2pPrePay", R"({"resultStatus":100,"isQuser":"1"})", 9, S_OK, Owned<PrePayResult>, 0, {{"resultStatus", "100"}},
       kNoMemo},
      {"p2pPrePay", "nonsense", 8, BAD, nullptr, 0, {}, "未知错误！"},
      {"p2pPrePay", R"({"resultStatus":404,"memo":"账户不存在"})", 8, BUSINESS, nullptr, 404, {}, "账户不存在"},
      {"preDrawMoney",
       R"({"resultStatus":100,"userName":"张三","bankName":"工商银行","accountType":"借记卡","bankAccountNO":"6222***1",)"
       R"("availableAmount":"100.00","onceAvailableAmount":"50.00","rsaPK":"PK4","rsaTS":"TS4"})",
       42, S_OK, Owned<WithdrawInfo>, 0,
       {{"userName", "张三"}, {"bankName", "工商银行"}, {"accountType", "借记卡"}, {"bankAccountNO", "6222***1"},
        {"availableAmount", "100.00"}, {"onceAvailableAmount", "50.00"}, {"~session", "PK4|TS4"}},
       kNoMemo},
      {"preDeposit4Mobile",
       R"({"resultStatus":100,"toMobileAmount":"50","toPayAmount":"49.50","toMobileNO":"13800138000",)"
       R"("availableBalance":"80.00","goodsName":"话费","merName":"移动","rsaPK":"PK5","rsaTS":"TS5"})",
       50, S_OK, Owned<PhoneTopUpInfo>, 0,
       {{"toMobileAmount", "50"}, {"toPayAmount", "49.50"}, {"toMobileNO", "13800138000"}, {"availableBalance", "80.00"},
        {"goodsName", "话费"}, {"merName", "移动"}, {"~session", "PK5|TS5"}, {"~topUp", "50|49.50|13800138000"}},
       kNoMemo},
      {"preDeposit4Mobile", R"({"resultStatus":501,"memo":"号码有误"})", 51, BUSINESS, nullptr, 501, {}, "号码有误"},

      // Records that outlive a failure.
      {"update", R"({"resultStatus":100,"memo":"m","downloadURL":"https://x/u.cab"})", 58, S_OK, Owned<UpdateResult>, 0,
       {{"resultStatus", "100"}, {"downloadURL", "https://x/u.cab"}}, kNoMemo},
      {"update", R"({"resultStatus":203,"memo":"请升级","downloadURL":"https://x/u.cab"})", 64, BUSINESS,
       Owned<UpdateResult>, 0, {{"resultStatus", "203"}, {"downloadURL", "https://x/u.cab"}}, "请升级"},
      {"update", "]", 65, BAD, Owned<UpdateResult>, 0, {}, kNoMemo},
      {"update", "", 65, NETWORK, nullptr, 0, {}, "连接服务器出错"},
      {"fetchCheckCode", R"({"resultStatus":100,"memo":"m","loginCheckCodeImg":"iVBOR"})", 87, S_OK,
       Owned<CheckCodeResult>, 0, {{"resultStatus", "100"}, {"memo", "m"}, {"loginCheckCodeImg", "iVBOR"}}, "m"},
      {"fetchCheckCode", R"({"resultStatus":200,"memo":"会话超时","loginCheckCodeImg":"iVBOR"})", 87, S_OK,
       Owned<CheckCodeResult>, 0, {{"resultStatus", "8000"}, {"memo", "未知错误"}}, kNoMemo},
      {"fetchCheckCode", "garbage", 87, S_OK, Owned<CheckCodeResult>, 0, {{"resultStatus", "8000"}, {"memo", "未知错误"}},
       kNoMemo},
      {"fetchCheckCode", "", 65, NETWORK, nullptr, 0, {}, "连接服务器出错"},
      {"doRegister", R"({"resultStatus":100,"memo":"注册成功","smsCode":"S1","smsContent":"C1","checkCode":"K1"})", 83,
       S_OK, Owned<RegisterResult>, 0,
       {{"resultStatus", "100"}, {"smsCode", "S1"}, {"smsContent", "C1"}, {"checkCode", "K1"}}, "注册成功"},
      {"doRegister",
       R"({"resultStatus":301,"memo":"校验码错误","smsCode":"S2","smsContent":"C2","checkCode":"K2","rsaPK":"PK6",)"
       R"("rsaTS":"TS6"})",
       84, BUSINESS, Owned<RegisterResult>, 0,
       {{"resultStatus", "301"}, {"smsCode", "S2"}, {"smsContent", "C2"}, {"checkCode", "K2"}, {"~session", "PK6|TS6"}},
       "校验码错误"},
      // A refusal without a key keeps the stored one.
      {"doRegister", R"({"resultStatus":302})", 84, BUSINESS, Owned<RegisterResult>, 0, {{"resultStatus", "302"}},
       kNoMemo},
      {"doRegister", "x", 84, BAD, nullptr, 0, {}, "解析服务器返回的数据时出错！"},
      {"sendHttpRequest",
       R"({"resultStatus":100,"memo":"请付款","billNO":"B1","sellerName":"商户","goodsName":"水费","tradeFrom":"puc",)"
       R"("totalFee":"30.00","availableBalance":"80.00"})",
       85, S_OK, Owned<BillResult>, 0,
       {{"resultStatus", "100"}, {"memo", "请付款"}, {"billNO", "B1"}, {"sellerName", "商户"}, {"goodsName", "水费"},
        {"tradeFrom", "puc"}, {"totalFee", "30.00"}, {"availableBalance", "80.00"}},
       "请付款"},
      {"sendHttpRequest", R"({"resultStatus":888,"memo":"请重新支付","billNO":"B1","rsaPK":"PK7","rsaTS":"TS7"})", 86,
       BUSINESS, Owned<BillResult>, 0,
       {{"resultStatus", "888"}, {"memo", "请重新支付"}, {"billNO", "B1"}, {"~session", "PK7|TS7"}}, "请重新支付"},
      {"sendHttpRequest", R"({"resultStatus":500,"billNO":"B1","rsaPK":"PK7","rsaTS":"TS7"})", 86, BUSINESS,
       Owned<BillResult>, 0, {{"resultStatus", "500"}, {"billNO", "B1"}}, kNoMemo},
      {"sendHttpRequest", "<html/>", 86, BAD, nullptr, 0, {}, "解析服务器返回的数据时出错！"},

      // Lists and details.
      {"queryContactLists",
       R"({"resultStatus":100,"contactLists":[{"groupName":"朋友","contacts":[{"account":"a@b.cn","name":"李四"},)"
       R"({"account":"c@d.cn"}]},{"groupName":"同事"}]})",
       62, S_OK, Owned<ContactGroupList>, 0,
       {{"size", "2"}, {"[0].groupName", "朋友"}, {"[0].entries", "2"}, {"[0].entries[0].account", "a@b.cn"},
        {"[0].entries[0].name", "李四"}, {"[0].entries[1].account", "c@d.cn"}, {"[1].groupName", "同事"}},
       kNoMemo},
      {"queryContactLists", R"({"resultStatus":100,"contactLists":[]})", 62, S_OK, Owned<ContactGroupList>, 0, {},
       kNoMemo},
      {"queryContactLists", R"({"resultStatus":100})", 63, EMPTY, nullptr, 0, {}, kNoMemo},
      {"queryContactLists", R"({"resultStatus":100,"contactLists":{"groupName":"朋友"}})", 63, EMPTY, nullptr, 0, {},
       kNoMemo},
      {"queryContactLists", R"({"resultStatus":200,"memo":"请重新登录"})", 63, BUSINESS, nullptr, 200, {}, "请重新登录"},
      // More trades than "pageCount" + 1: every one is kept, in an array sized from the list.
      {"queryTradeLists",
       R"({"resultStatus":100,"pageCount":1,"page":1,"totalCount":3,"tradeTableList":[)" + tradeRow + "," + tradeRow +
           R"(,{"tradeNO":"T3","tradeStatusMemo":"等待付款"}]})",
       14, S_OK, Owned<UnpaidTradeListResult>, 0,
       {{"resultStatus", "100"}, {"pageCount", "1"}, {"page", "1"}, {"totalCount", "3"}, {"tradeCount", "3"},
        {"trades[0].tradeNO", "T1"}, {"trades[0].tradeStatus", "WAIT_PAY"}, {"trades[0].tradeTime", "2010-07-01"},
        {"trades[0].goodsName", "书"}, {"trades[0].act", "pay"}, {"trades[0].tradeMoney", "9.90"},
        {"trades[0].buyer", "1"}, {"trades[1].tradeNO", "T1"}, {"trades[1].tradeStatus", "WAIT_PAY"},
        {"trades[1].tradeTime", "2010-07-01"}, {"trades[1].goodsName", "书"}, {"trades[1].act", "pay"},
        {"trades[1].tradeMoney", "9.90"}, {"trades[1].buyer", "1"}, {"trades[2].tradeNO", "T3"},
        {"trades[2].tradeStatusMemo", "等待付款"}},
       kNoMemo},
      // A negative or huge page count sizes nothing.
      {"queryTradeLists", R"({"resultStatus":100,"pageCount":-5,"tradeTableList":[{"tradeNO":"T1"}]})", 14, S_OK,
       Owned<UnpaidTradeListResult>, 0,
       {{"resultStatus", "100"}, {"pageCount", "-5"}, {"tradeCount", "1"}, {"trades[0].tradeNO", "T1"}}, kNoMemo},
      {"queryTradeLists", R"({"resultStatus":100,"pageCount":2147483647,"tradeTableList":[]})", 14, S_OK,
       Owned<UnpaidTradeListResult>, 0, {{"resultStatus", "100"}, {"pageCount", "2147483647"}}, kNoMemo},
      {"queryTradeLists", R"({"resultStatus":100,"memo":"无交易","pageCount":5})", 14, S_OK,
       Owned<UnpaidTradeListResult>, 0, {{"resultStatus", "100"}, {"memo", "无交易"}, {"pageCount", "5"}}, kNoMemo},
      {"queryTradeLists", R"({"resultStatus":100,"pageCount":"5","tradeTableList":[]})", 15, BAD, nullptr, 0, {},
       kNoMemo},
      {"queryTradeLists", R"({"resultStatus":100,"tradeTableList":[{"tradeNO":"T1","buyer":"yes"}]})", 15, BAD, nullptr,
       0, {}, kNoMemo},
      {"queryTransList",
       R"({"resultStatus":100,"pageCount":0,"page":2,"totalCount":12,"transList":[{"transLogId":"L1","date":)"
       R"("2010-07-01 10:00","simpleDate":"07-01","transType":"充值","money":"+50.00","transInstitution":"工行",)"
       R"("transMemo":"备注"},{"transLogId":"L2"}]})",
       16, S_OK, Owned<CTransListResult>, 0,
       {{"resultStatus", "100"}, {"page", "2"}, {"totalCount", "12"}, {"transCount", "2"},
        {"transactions[0].transLogId", "L1"}, {"transactions[0].date", "2010-07-01 10:00"},
        {"transactions[0].simpleDate", "07-01"}, {"transactions[0].transType", "充值"},
        {"transactions[0].money", "+50.00"}, {"transactions[0].transInstitution", "工行"},
        {"transactions[0].transMemo", "备注"}, {"transactions[1].transLogId", "L2"}},
       kNoMemo},
      {"queryTransList", R"({"resultStatus":100,"page":{}})", 17, BAD, nullptr, 0, {}, kNoMemo},
      {"queryTransList", R"({"resultStatus":120,"memo":"请稍后"})", 17, BUSINESS, nullptr, 120, {}, "请稍后"},
      {"queryTradeDetail",
       R"({"resultStatus":100,"paid":0,"buyer":true,"act":"pay","tradeNO":"T1","goodsName":"书","partnerName":"P",)"
       R"("sellerName":"S","sellerAccount":"s@x.cn","payMoney":"9.90","balance":"80.00","rsaPK":"PK8","rsaTS":"TS8"})",
       18, S_OK, Owned<CTradeDetailResult>, 0,
       {{"resultStatus", "100"}, {"paid", "0"}, {"buyer", "1"}, {"act", "pay"}, {"payInfo.tradeNO", "T1"},
        {"payInfo.goodsName", "书"}, {"payInfo.partnerName", "P"}, {"payInfo.sellerName", "S"},
        {"payInfo.sellerAccount", "s@x.cn"}, {"payInfo.payMoney", "9.90"}, {"payInfo.balance", "80.00"},
        {"payInfo.supportedByCoupon", "false"}, {"~session", "PK8|TS8"}},
       kNoMemo},
      {"queryTradeDetail",
       R"({"resultStatus":100,"paid":1,"buyer":"false","tradeNO":"T2","tradeType":"担保","logisticsid":1,)"
       R"("logisticsType":"EMS","buyerAddress":"北京","logisticsFee":"10.00","logisticsName":"邮政",)"
       R"("logisticsPhone":"11183","logisticsMemo":"m"})",
       18, S_OK, Owned<CTradeDetailResult>, 0,
       {{"resultStatus", "100"}, {"paid", "1"}, {"detail.tradeNO", "T2"}, {"detail.tradeType", "担保"},
        {"detail.logisticsid", "1"}, {"detail.logisticsType", "EMS"}, {"detail.buyerAddress", "北京"},
        {"detail.logisticsFee", "10.00"}, {"detail.logisticsName", "邮政"}, {"detail.logisticsPhone", "11183"},
        {"detail.logisticsMemo", "m"}},
       kNoMemo},
      {"queryTradeDetail",
       R"({"resultStatus":100,"paid":1,"tradeNO":"T2","logisticsid":0,"logisticsType":"EMS","buyerAddress":"北京"})",
       18, S_OK, Owned<CTradeDetailResult>, 0, {{"resultStatus", "100"}, {"paid", "1"}, {"detail.tradeNO", "T2"}},
       kNoMemo},
      {"queryTradeDetail", R"({"resultStatus":100,"paid":2,"rsaPK":"PK9","rsaTS":"TS9"})", 19, EMPTY, nullptr, 0, {},
       kNoMemo},
      {"queryTradeDetail", R"({"resultStatus":100,"paid":"1"})", 19, BAD, nullptr, 0, {}, kNoMemo},
      {"getSupportedBank",
       R"({"resultStatus":100,"balance":"80.00","supportedBankList":[{"bankId":"ICBC","bankName":"工商银行"},)"
       R"({"bankId":"CMB"}]})",
       40, S_OK, Owned<SupportedBankResult>, 0,
       {{"bankCount", "2"}, {"balance", "80.00"}, {"banks[0].bankId", "ICBC"}, {"banks[0].bankName", "工商银行"},
        {"banks[1].bankId", "CMB"}},
       kNoMemo},
      {"getSupportedBank", R"({"resultStatus":100,"balance":"80.00"})", 40, S_OK, Owned<SupportedBankResult>, 0, {},
       kNoMemo},
      {"getSupportedChargeCard",
       R"({"resultStatus":100,"memo":"m","supportedAmount":[{"amount":"50"},{"amount":"100"}],"rate":"0.96"})", 79, S_OK,
       Owned<ChargeCardResult>, 0,
       {{"resultStatus", "100"}, {"amounts", "2"}, {"amounts[0]", "50"}, {"amounts[1]", "100"}, {"rate", "0.96"}},
       kNoMemo},
      {"getSupportedChargeCard", R"({"resultStatus":100,"rate":"0.96"})", 80, EMPTY, nullptr, 0, {},
       "服务器返回的数据不正确！"},
      {"getSupportedChargeCard", "{]", 80, BAD, nullptr, 0, {}, "解析服务器返回的数据时出错！"},
      {"getSupportedChargeCard", R"({"resultStatus":300,"memo":"暂停服务"})", 80, BUSINESS, nullptr, 300, {},
       "暂停服务"},
      {"premcDeposit",
       R"({"resultStatus":100,"currentBalance":"80.00","mcDepositList":[{"mcBankId":"ICBC","mcBankName":"工商银行",)"
       R"("mcShortCode":"8"}],"rsaPK":"PKA","rsaTS":"TSA"})",
       20, S_OK, Owned<McDepositInfoResult>, 0,
       {{"resultStatus", "100"}, {"currentBalance", "80.00"}, {"bankCount", "1"}, {"banks[0].mcBankId", "ICBC"},
        {"banks[0].mcBankName", "工商银行"}, {"banks[0].mcShortCode", "8"}, {"~session", "PKA|TSA"}},
       kNoMemo},
      // A refusal still brings its status and balance; its memo is empty rather than none.
      {"premcDeposit", R"({"resultStatus":301,"currentBalance":"80.00","rsaPK":"PKA","rsaTS":"TSA"})", 21, BUSINESS,
       Owned<McDepositInfoResult>, 0, {{"resultStatus", "301"}, {"currentBalance", "80.00"}}, ""},
      {"premcDeposit", "?", 21, BAD, nullptr, 0, {}, kNoMemo},
      {"preRequestMC2",
       R"({"resultStatus":100,"hasAuthed":0,"realName":"张三","idCardNO":"110101","list":[{"bankId":"ICBC",)"
       R"("bankName":"工商银行","activeMSG":"已开通"},{"bankId":"CMB","bankName":"招商银行"}]})",
       26, S_OK, Owned<McActivationResult>, 0,
       {{"bankCount", "2"}, {"notAuthed", "1"}, {"realName", "张三"}, {"idCardNO", "110101"}, {"banks[0].bankId", "ICBC"},
        {"banks[0].bankName", "工商银行"}, {"banks[0].activeMSG", "已开通"}, {"banks[1].bankId", "CMB"},
        {"banks[1].bankName", "招商银行"}},
       kNoMemo},
      {"preRequestMC2", R"({"resultStatus":100,"hasAuthed":1,"realName":"张三","list":[]})", 26, S_OK,
       Owned<McActivationResult>, 0, {{"realName", "张三"}}, kNoMemo},
      {"preRequestMC2", R"({"resultStatus":100,"hasAuthed":2,"list":[]})", 27, EMPTY, nullptr, 0, {}, kNoMemo},
      {"preRequestMC2", R"({"resultStatus":100,"hasAuthed":1})", 27, EMPTY, nullptr, 0, {}, kNoMemo},
      {"preOrderPay", R"({"resultStatus":100,"orderValidate":0,"tradeData":"out_trade_no=1&paid=F"})", 54, S_OK,
       Owned<PreOrderPayResult>, 0, {{"tradeData", "out_trade_no=1&paid=F"}}, kNoMemo},
      {"preOrderPay",
       R"({"resultStatus":100,"orderValidate":1,"outTradeNo":"O1","sellerName":"商户","goodTitle":"书",)"
       R"("partnerName":"P","sellerAccount":"s@x.cn","totalFee":"9.90","userName":"张三","availableBalance":"80.00",)"
       R"("rsaPK":"PKB","rsaTS":"TSB"})",
       54, S_OK, Owned<PreOrderPayResult>, 0,
       {{"orderValidate", "1"}, {"order.outTradeNo", "O1"}, {"order.sellerName", "商户"}, {"order.goodTitle", "书"},
        {"order.partnerName", "P"}, {"order.sellerAccount", "s@x.cn"}, {"order.totalFee", "9.90"},
        {"order.userName", "张三"}, {"order.availableBalance", "80.00"}, {"order.greeting", ""},
        {"~session", "PKB|TSB"}},
       kNoMemo},
      {"preOrderPay", R"({"resultStatus":100,"orderValidate":3})", 55, EMPTY, nullptr, 0, {}, "服务器返回的数据不正确！"},
      {"preOrderPay", R"({"resultStatus":100,"orderValidate":"1"})", 55, BAD, nullptr, 0, {}, kNoMemo},
  };
}

std::string StoredSession()
{
  std::shared_ptr<const SessionRecord> record = GetSessionRecord();
  return record ? Utf8(record->publicKey.GetString()) + "|" + Utf8(record->timeStamp.GetString()) : "none";
}

std::string StoredTopUp()
{
  std::shared_ptr<const TopUpRecord> record = GetUserRecord();
  return record ? Utf8(record->toMobileAmount.GetString()) + "|" + Utf8(record->toPayAmount.GetString()) + "|" +
                      Utf8(record->toMobileNO.GetString())
                : "none";
}

TEST(ReplyParsers, EachReplyEndsInOneNotificationWithItsRecord)
{
  std::unique_ptr<CPaymentService> service(RegisterServiceCommands(u"KorvexPortal_WM6", u"client-1"));
  for (const ParseCase& c : Cases()) {
    SCOPED_TRACE(std::string(c.operation) + " <- " + c.reply);
    SetSessionRecord(u"old", u"old");
    SetUserRecord(u"", u"", u"");

    ReadingListener listener(c.kind);
    std::unique_ptr<CServiceCommand> command(
        CreateServiceCommand(GetCommandFactoryMap(), c.operation, Json::Value(Json::objectValue), &listener));
    ASSERT_NE(command, nullptr);
    if (c.reply.empty()) {
      command->OnError(E_SERVICE_NETWORK, kServerConnectionErrorText);
    } else {
      command->OnResponse(FromUtf8(c.reply).c_str());
    }

    const Seen& seen = listener.seen();
    ASSERT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.code, c.code);
    EXPECT_EQ(seen.hr, c.hr);
    if (c.kind == nullptr) {
      EXPECT_EQ(seen.value, c.value);
    } else {
      ASSERT_NE(seen.value, 0);
    }
    EXPECT_EQ(seen.hasMemo, c.memo != nullptr);
    EXPECT_EQ(seen.memo, c.memo != nullptr ? c.memo : "");

    Fields actual = seen.fields;
    actual["~session"] = StoredSession();
    actual["~topUp"] = StoredTopUp();
    const Fields defaults = {{"~session", "old|old"}, {"~topUp", "||"}};
    for (const auto& [name, expected] : c.fields) {
      EXPECT_TRUE(actual.count(name) != 0) << "no field " << name;
    }
    for (const auto& [name, value] : actual) {
      auto listed = c.fields.find(name);
      if (listed != c.fields.end()) {
        EXPECT_EQ(value, listed->second) << name;
      } else if (defaults.count(name) != 0) {
        EXPECT_EQ(value, defaults.at(name)) << name;
      } else {
        EXPECT_TRUE(value.empty() || value == "0") << name << " = " << value;
      }
    }
  }
}

}  // namespace
