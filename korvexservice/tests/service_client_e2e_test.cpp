// The service client end to end, with no screen: every facade operation through the real
// HTTP stack to the test gateway over HTTPS, and the ways a request can end without a reply.
#include <gtest/gtest.h>

#include <functional>

#include "http_result.h"
#include "list_results.h"
#include "net/connmgr.h"
#include "notified_records.h"
#include "payment_service.h"
#include "service_errors.h"
#include "service_results.h"
#include "service_test_support.h"
#include "testing/connections.h"

namespace {

using svcb_test::Notification;
using svcb_test::Utf16;
using svcb_test::Utf8;
using testgateway::RecordedRequest;
using testgateway::Reply;
using json = nlohmann::ordered_json;

class ServiceClient : public svcb_test::FacadeTest {
 protected:
  // After the facade is let go of, frees the records it was notified with.
  void TearDown() override
  {
    FacadeTest::TearDown();
    if (m_service) {
      for (const Notification& n : m_listener.Notifications()) {
        svcc_test::DeleteNotifiedRecord(n.code, n.hr, n.value);
      }
    }
  }
  // The next notification, waited for with a generous bound.
  Notification Next()
  {
    size_t index = m_seen++;
    EXPECT_TRUE(m_listener.WaitFor(index + 1));
    std::vector<Notification> all = m_listener.Notifications();
    return index < all.size() ? all[index] : Notification{};
  }

  // The gateway's key as a reply before would have left it, for the passwords the facade
  // encrypts.
  void StoreGatewayKey()
  {
    std::string stamp = Gateway().key().issueTimeStamp();
    m_service->SetSession(Utf16(Gateway().key().publicKeyText()).c_str(), Utf16(stamp).c_str());
  }

  size_t m_seen = 0;
};

struct Operation {
  const char* name;
  std::function<CServiceCommand*(CPaymentService&)> call;
  const char* operationType;  // what the gateway answers; null: scripted apart
  json reply;                 // the members besides "resultStatus" 100
  int code;
  // Looks at the value during the test (records only; the fixture frees them).
  std::function<void(LPARAM)> check = nullptr;
};

template <class Record>
std::function<void(LPARAM)> Expect(std::function<void(const Record&)> check)
{
  return [check](LPARAM value) {
    ASSERT_NE(value, 0);
    check(*reinterpret_cast<const Record*>(value));
  };
}

TEST_F(ServiceClient, EveryOperationReachesTheGatewayAndReportsItsSuccess)
{
  using S = CPaymentService;
  const Operation operations[] = {
      {"PreRegister", [](S& s) { return s.PreRegister(); }, "preRegister", {{"checkCode", "5678"}}, 81,
       Expect<PreRegisterResult>([](const auto& r) { EXPECT_EQ(Utf8(r.checkCode), "5678"); })},
      {"Register", [](S& s) { return s.Register(u"13800138000", u"张三", u"5678", u"pw1", u"pw2"); }, "register",
       {{"smsCode", "S1"}}, 83, Expect<RegisterResult>([](const auto& r) { EXPECT_EQ(Utf8(r.smsCode), "S1"); })},
      {"Login", [](S& s) { return s.Login(u"demo@korvex.cn", u"demo1234", nullptr, {5, 1, u""}); }, "login",
       {{"userName", "演示"}}, 2, Expect<LoginResult>([](const auto& r) { EXPECT_EQ(Utf8(r.userName), "演示"); })},
      {"P2PPrePay", [](S& s) { return s.P2PPrePay(u"a@b.cn", u"rent", u"12.00", u""); }, nullptr, {}, 9,
       Expect<PrePayResult>([](const auto& r) { EXPECT_EQ(Utf8(r.toPayUserName), "李四"); })},
      {"P2PPay", [](S& s) { return s.P2PPay(u"pay123456"); }, "p2pPay", {{"isContact", 1}}, 6},
      {"ConfirmMobilePay", [](S& s) { return s.ConfirmMobilePay(); }, "confirmMobilePay", {}, 10},
      {"QueryBalance", [](S& s) { return s.QueryBalance(); }, "queryBalance", {{"currentBalance", "12.00"}}, 12,
       Expect<BalanceResult>([](const auto& r) { EXPECT_EQ(Utf8(r.currentBalance), "12.00"); })},
      {"QueryTransList", [](S& s) { return s.QueryTransList(u"1m", 1, 5); }, "queryTransList",
       {{"transList", json::array({{{"transLogId", "L1"}}})}}, 16,
       Expect<CTransListResult>([](const auto& r) { ASSERT_EQ(r.transCount, 1); })},
      {"QueryTradeLists", [](S& s) { return s.QueryTradeLists(u"waitPay", u"1m", 1, 5); }, "queryTradeLists",
       {{"tradeTableList", json::array({{{"tradeNO", "T1"}}, {{"tradeNO", "T2"}}})}}, 14,
       Expect<UnpaidTradeListResult>([](const auto& r) {
         ASSERT_EQ(r.tradeCount, 2);
         EXPECT_EQ(Utf8(r.trades[1].tradeNO), "T2");
       })},
      {"QueryTradeDetail", [](S& s) { return s.QueryTradeDetail(u"T1"); }, "queryTradeDetail",
       {{"paid", 0}, {"tradeNO", "T1"}}, 18,
       Expect<CTradeDetailResult>([](const auto& r) { ASSERT_NE(r.payInfo, nullptr); })},
      {"PreRequestMC2", [](S& s) { return s.PreRequestMC2(); }, "preRequestMC2",
       {{"hasAuthed", 1}, {"list", json::array()}}, 26},
      {"RequestMC", [](S& s) { return s.RequestMC(u"ICBC", u"张三", u"110101"); }, "requestMC", {}, 28},
      {"BindingMC", [](S& s) { return s.BindingMC(u"6222", u"pay123456"); }, "bindingMC", {}, 30},
      {"PremcDeposit", [](S& s) { return s.PremcDeposit(); }, "premcDeposit", {{"currentBalance", "80.00"}}, 20},
      {"McDeposit", [](S& s) { return s.McDeposit(u"ICBC", u"8", u"50.00", u"pay123456"); }, "mcDeposit", {}, 22},
      {"GetMsgCount", [](S& s) { return s.GetMsgCount(); }, "getMsgCount", {{"msgCount", 3}}, 32},
      {"GetSupportedChargeCard", [](S& s) { return s.GetSupportedChargeCard(); }, "getSupportedChargeCard",
       {{"supportedAmount", json::array({{{"amount", "50"}}})}}, 79},
      {"EasyownDeposit", [](S& s) { return s.EasyownDeposit(u"C1", u"P1", u"50"); }, "easyownDeposit",
       {{"depositId", "D1"}}, 38},
      {"GetEasyownResult", [](S& s) { return s.GetEasyownResult(u"D1"); }, "getEasyownResult", {}, 36},
      {"GetSupportedBank", [](S& s) { return s.GetSupportedBank(); }, "getSupportedBank",
       {{"supportedBankList", json::array({{{"bankId", "CMB"}}})}}, 40},
      {"EbankDeposit", [](S& s) { return s.EbankDeposit(u"CMB", u"20.00", u"1"); }, "ebankDeposit",
       {{"bankUrl", "https://bank/pay"}}, 46},
      {"PreDrawMoney", [](S& s) { return s.PreDrawMoney(); }, "preDrawMoney", {{"bankName", "工商银行"}}, 42},
      {"DrawMoney", [](S& s) { return s.DrawMoney(u"30.00", u"pay123456"); }, "drawMoney", {}, 44},
      {"DraftDeposit", [](S& s) { return s.DraftDeposit(u"DR1", u"pay123456"); }, "draftDeposit", {}, 48},
      {"PreDeposit4Mobile", [](S& s) { return s.PreDeposit4Mobile(u"13800138000", u"50"); }, "preDeposit4Mobile",
       {{"toMobileAmount", "50"}, {"toPayAmount", "49.50"}, {"toMobileNO", "13800138000"}}, 50},
      {"Deposit4Mobile", [](S& s) { return s.Deposit4Mobile(u"pay123456"); }, "deposit4Mobile", {}, 52},
      {"PreOrderPay", [](S& s) { return s.PreOrderPay(u"out_trade_no=1"); }, "preOrderPay",
       {{"orderValidate", 1}, {"outTradeNo", "O1"}}, 54,
       Expect<PreOrderPayResult>([](const auto& r) { ASSERT_NE(r.order, nullptr); })},
      {"QueryTradeNum", [](S& s) { return s.QueryTradeNum(u"1m", u"waitPay"); }, "queryTradeNum", {{"totalCount", 4}},
       56},
      {"TradePay", [](S& s) { return s.TradePay(u"T1", u"pay123456", u"false", u""); }, "tradePay", {}, 58},
      {"AddContact", [](S& s) { return s.AddContact(u"朋友", {u"a@b.cn", u"李四"}); }, "addContact", {}, 60},
      {"QueryContactLists", [](S& s) { return s.QueryContactLists(); }, "queryContactLists",
       {{"contactLists", json::array({{{"groupName", "朋友"}}})}}, 62},
      {"Update", [](S& s) { return s.Update(u"KorvexPortal_WM6", u"2.1.6.0712"); }, "update", {{"downloadURL", ""}}, 58,
       Expect<UpdateResult>([](const auto& r) { EXPECT_EQ(r.resultStatus, 100); })},
      {"ConfirmBinding", [](S& s) { return s.ConfirmBinding(u"13800138000"); }, "confirmBinding", {}, 66},
      {"ConfirmGoods", [](S& s) { return s.ConfirmGoods(u"T1", u"pay123456"); }, "confirmGoods", {}, 68},
      {"PucPay", [](S& s) { return s.PucPay(u"B1", u"pay123456"); }, "pucPay", {{"url", "https://x/puc"}}, 71},
      {"GetPucBillPayUrl", [](S& s) { return s.GetPucBillPayUrl(); }, "getPucBillPayUrl", {{"url", "https://x/b"}},
       71, Expect<PucPayResult>([](const auto& r) { EXPECT_EQ(Utf8(r.url), "https://x/b"); })},
      {"GetSID", [](S& s) { return s.GetSID(); }, "getSID", {{"sid", "S9"}}, 73},
      {"ViewMsgDetail", [](S& s) { return s.ViewMsgDetail(); }, "viewMsgDetail", {{"msgId", 7}}, 75},
      {"GetLoginCheckCode", [](S& s) { return s.GetLoginCheckCode(); }, "getLoginCheckCode",
       {{"loginCheckCodeImg", "iVBOR"}}, 87},
      {"QUserInfoSupplement", [](S& s) { return s.QUserInfoSupplement(u"a@b.cn", u"张三", u"pay123456"); },
       "qUserInfoSupplement", {}, 77},
      {"SendHttpRequest", nullptr, nullptr, {}, 85,
       Expect<BillResult>([](const auto& r) { EXPECT_EQ(Utf8(r.billNO), "B1"); })},
      {"GetEasyownRate", [](S& s) { return s.GetEasyownRate(); }, "getEasyownRate", {{"rate", "0.96"}}, 34},
  };
  for (const Operation& o : operations) {
    if (o.operationType != nullptr) {
      json reply = {{"resultStatus", 100}};
      if (o.reply.is_object()) {
        reply.update(o.reply);
      }
      Gateway().script(o.operationType, Reply::json(reply));
    }
  }
  // The payee's reply hands out a fresh key, which the next payment encrypts with.
  std::string payeeStamp;
  Gateway().scriptHandler("p2pPrePay", [this, &payeeStamp](const RecordedRequest&) {
    json reply = Gateway().key().sessionKey();
    payeeStamp = reply["rsaTS"].get<std::string>();
    reply["toPayUserName"] = "李四";
    return Reply::success(reply);
  });
  Gateway().servePage("/puc/bill.htm", Reply::success({{"billNO", "B1"}, {"totalFee", "30.00"}}));
  Start();
  StoreGatewayKey();
  const std::u16string billUrl = Utf16(Gateway().httpsUrl() + "/puc/bill.htm");

  for (const Operation& o : operations) {
    SCOPED_TRACE(o.name);
    CServiceCommand* command = o.call ? o.call(*m_service) : m_service->SendHttpRequest(billUrl.c_str(), u"POST",
                                                                                          u"billNO=B1", 9);
    ASSERT_NE(command, nullptr);
    Notification n = Next();
    EXPECT_EQ(n.code, o.code);
    EXPECT_EQ(n.hr, S_OK);
    if (o.check) {
      o.check(n.value);
    }
  }

  // What the replies left for later requests went out with them.
  std::optional<RecordedRequest> pay = Gateway().waitForRequest("p2pPay");
  ASSERT_TRUE(pay.has_value());
  auto password = Gateway().key().decryptPassword(pay->field("payPassword"), payeeStamp);
  ASSERT_TRUE(password.has_value());
  EXPECT_EQ(password->password, "pay123456");
  std::optional<RecordedRequest> topUp = Gateway().waitForRequest("deposit4Mobile");
  ASSERT_TRUE(topUp.has_value());
  EXPECT_EQ(topUp->field("toPayAmount"), "49.50");
  std::optional<RecordedRequest> bill = Gateway().waitForPath("/puc/bill.htm");
  ASSERT_TRUE(bill.has_value());
  EXPECT_TRUE(bill->tls);
  EXPECT_EQ(bill->body, "billNO=B1");
}

TEST_F(ServiceClient, RefusalsAndBadRepliesReachTheListenerWithTheFailureCode)
{
  Gateway().script("queryBalance", Reply::result(200, "会话超时"));
  Gateway().script("getMsgCount", Reply::success({{"msgCount", "three"}}));
  Gateway().script("tradePay", Reply::http(200, "", "application/json;charset=UTF-8"));
  Gateway().script("queryTradeDetail", Reply::result(301, "交易不存在").inGbk());
  Start();
  StoreGatewayKey();

  ASSERT_NE(m_service->QueryBalance(), nullptr);
  Notification refused = Next();
  EXPECT_EQ(refused.code, 13);
  EXPECT_EQ(refused.hr, E_SERVICE_BUSINESS);
  EXPECT_EQ(refused.value, 200);
  EXPECT_EQ(Utf8(refused.memo), "会话超时");

  ASSERT_NE(m_service->GetMsgCount(), nullptr);
  Notification bad = Next();
  EXPECT_EQ(bad.code, 33);
  EXPECT_EQ(bad.hr, E_SERVICE_BAD_REPLY);
  EXPECT_EQ(bad.value, 0);

  // An empty reply is one network failure, not also an empty-reply failure.
  ASSERT_NE(m_service->TradePay(u"T1", u"pay123456", u"false", u""), nullptr);
  Notification empty = Next();
  EXPECT_EQ(empty.code, 59);
  EXPECT_EQ(empty.hr, E_SERVICE_NETWORK);
  EXPECT_EQ(Utf8(empty.memo), "连接服务器出错");

  ASSERT_NE(m_service->QueryTradeDetail(u"T9"), nullptr);
  Notification gbk = Next();
  EXPECT_EQ(gbk.code, 19);
  EXPECT_EQ(gbk.hr, E_SERVICE_BUSINESS);
  EXPECT_EQ(Utf8(gbk.memo), "交易不存在");

  ASSERT_TRUE(svcb_test::DrainNetWorker());
  EXPECT_EQ(m_listener.Notifications().size(), 4u);
}

TEST_F(ServiceClient, WithTheNetworkDownEveryCallReportsTheConnectionError)
{
  Start();
  device::testing::ScriptConnectionStatuses(IID_DestNetInternet, {CONNMGR_STATUS_NOPATHTODESTINATION});
  ASSERT_NE(m_service->QueryBalance(), nullptr);
  Notification n = Next();
  EXPECT_EQ(n.code, 13);
  EXPECT_EQ(n.hr, E_SERVICE_NETWORK);
  EXPECT_EQ(n.value, 0);
  EXPECT_EQ(Utf8(n.memo), "连接服务器出错");
  // The check-code image reports its network failure with the update's code.
  device::testing::ScriptConnectionStatuses(IID_DestNetInternet, {CONNMGR_STATUS_NOPATHTODESTINATION});
  ASSERT_NE(m_service->GetLoginCheckCode(), nullptr);
  Notification checkCode = Next();
  EXPECT_EQ(checkCode.code, 65);
  EXPECT_EQ(checkCode.hr, E_SERVICE_NETWORK);
  EXPECT_TRUE(Gateway().requests().empty());
}

TEST_F(ServiceClient, ACancelledCallIsNeverReportedAndTheNextOneIs)
{
  Gateway().script("queryTradeLists", Reply::stall());
  Gateway().script("queryBalance", Reply::success({{"currentBalance", "1.00"}}));
  Start();
  CServiceCommand* held = m_service->QueryTradeLists(u"waitPay", u"1m", 1, 5);
  ASSERT_NE(held, nullptr);
  ASSERT_TRUE(Gateway().waitForRequest("queryTradeLists").has_value());
  m_service->Cancel(held);

  ASSERT_NE(m_service->QueryBalance(), nullptr);
  Notification n = Next();
  EXPECT_EQ(n.code, 12);
  Gateway().releaseStalled();
  ASSERT_TRUE(svcb_test::DrainNetWorker());
  EXPECT_EQ(m_listener.Notifications().size(), 1u);
}

TEST_F(ServiceClient, AGatewayThatStallsPastTheTimeOutIsANetworkFailure)
{
  Gateway().script("queryBalance", Reply::stall());
  Start("stall_timeout = 1\n");
  ASSERT_NE(m_service->QueryBalance(), nullptr);
  Notification n = Next();
  EXPECT_EQ(n.code, 13);
  EXPECT_EQ(n.hr, E_SERVICE_NETWORK);
  EXPECT_TRUE(n.hasMemo);
  EXPECT_FALSE(n.memo.empty());
  Gateway().releaseStalled();
}

}  // namespace
