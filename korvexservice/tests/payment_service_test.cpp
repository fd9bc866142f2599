// The facade against the test gateway: the request of every operation as the gateway decodes
// it, login with its outcomes, and the operations that fetch a key before they send.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "base/lasterror.h"
#include "command_registry.h"
#include "crypt/errors.h"
#include "notified_records.h"
#include "payment_service.h"
#include "service_errors.h"
#include "service_results.h"
#include "service_test_support.h"
#include "session_records.h"

namespace {

using svcb_test::kClientId;
using svcb_test::Notification;
using svcb_test::Utf16;
using svcb_test::Utf8;
using testgateway::RecordedRequest;
using testgateway::Reply;

using Facade = svcb_test::FacadeTest;

// ---- one row per operation -------------------------------------------------------------------

struct OperationCase {
  const char* name;                                    // for the trace
  std::function<CServiceCommand*(CPaymentService&)> call;
  const char* operationType;                            // what the gateway sees
  std::vector<std::pair<std::string, char>> keys;       // after "operationType" and "clientID"; 's', 'i', 'o'
  const char* encryptedField = nullptr;                 // decrypts to "pay-pw" + the stamp
  bool hasClientId = true;
};

const WCHAR kPassword[] = u"pay-pw";

std::vector<OperationCase> OperationCases()
{
  using S = CPaymentService;
  return {
      {"PreRegister", [](S& s) { return s.PreRegister(); }, "preRegister", {}},
      {"Register", [](S& s) { return s.Register(u"13800138000", u"张三", u"1234", kPassword, kPassword); }, "register",
       {{"phoneNO", 's'}, {"realName", 's'}, {"checkCode", 's'}, {"loginPassword", 's'}, {"payPassword", 's'}},
       "loginPassword"},
      {"Login", [](S& s) { return s.Login(u"demo@korvex.cn", kPassword, u"3947", {5, 1, u"20100701120000"}); },
       "login",
       {{"loginAccount", 's'}, {"loginPassword", 's'}, {"productID", 's'}, {"productVersion", 's'},
        {"accessPoint", 's'}, {"userAgent", 's'}, {"screenWidth", 'i'}, {"screenHigh", 'i'}, {"extraParam", 's'},
        {"loginCheckCode", 's'}},
       "loginPassword"},
      {"P2PPrePay", [](S& s) { return s.P2PPrePay(u"a@b.cn", u"rent", u"12.00", u"thanks"); }, "p2pPrePay",
       {{"toPayAccount", 's'}, {"toPayReason", 's'}, {"toPayAmount", 's'}, {"toPayMemo", 's'}}},
      {"P2PPay", [](S& s) { return s.P2PPay(kPassword); }, "p2pPay", {{"payPassword", 's'}}, "payPassword"},
      {"ConfirmMobilePay", [](S& s) { return s.ConfirmMobilePay(); }, "confirmMobilePay", {}},
      {"QueryBalance", [](S& s) { return s.QueryBalance(); }, "queryBalance", {}},
      {"QueryTransList", [](S& s) { return s.QueryTransList(u"1m", 2, 10); }, "queryTransList",
       {{"timeRange", 's'}, {"nextPage", 'i'}, {"pageCount", 'i'}}},
      {"QueryTradeLists", [](S& s) { return s.QueryTradeLists(u"waitPay", u"1m", 1, 5); }, "queryTradeLists",
       {{"queryTradeType", 's'}, {"timeRange", 's'}, {"nextPage", 'i'}, {"pageCount", 'i'}}},
      {"QueryTradeDetail", [](S& s) { return s.QueryTradeDetail(u"T1"); }, "queryTradeDetail", {{"tradeNO", 's'}}},
      {"PreRequestMC2", [](S& s) { return s.PreRequestMC2(); }, "preRequestMC2", {}},
      {"RequestMC", [](S& s) { return s.RequestMC(u"ICBC", u"张三", u"110101"); }, "requestMC",
       {{"bankId", 's'}, {"realName", 's'}, {"idCardNO", 's'}}},
      {"BindingMC", [](S& s) { return s.BindingMC(u"6222", kPassword); }, "bindingMC",
       {{"bankCardNO", 's'}, {"payPassword", 's'}}, "payPassword"},
      {"PremcDeposit", [](S& s) { return s.PremcDeposit(); }, "premcDeposit", {}},
      {"McDeposit", [](S& s) { return s.McDeposit(u"ICBC", u"8", u"50.00", kPassword); }, "mcDeposit",
       {{"mcBankId", 's'}, {"mcShortCode", 's'}, {"depositAmount", 's'}, {"payPassword", 's'}}, "payPassword"},
      {"GetMsgCount", [](S& s) { return s.GetMsgCount(); }, "getMsgCount", {}},
      {"GetSupportedChargeCard", [](S& s) { return s.GetSupportedChargeCard(); }, "getSupportedChargeCard", {}},
      {"EasyownDeposit", [](S& s) { return s.EasyownDeposit(u"C1", u"P1", u"100"); }, "easyownDeposit",
       {{"cardNo", 's'}, {"cardPass", 's'}, {"cardAmount", 's'}}},
      {"GetEasyownResult", [](S& s) { return s.GetEasyownResult(u"D1"); }, "getEasyownResult", {{"depositId", 's'}}},
      {"GetSupportedBank", [](S& s) { return s.GetSupportedBank(); }, "getSupportedBank", {}},
      {"EbankDeposit", [](S& s) { return s.EbankDeposit(u"CMB", u"20.00", u"1"); }, "ebankDeposit",
       {{"bankId", 's'}, {"depositAmount", 's'}, {"operatorType", 's'}}},
      {"PreDrawMoney", [](S& s) { return s.PreDrawMoney(); }, "preDrawMoney", {}},
      {"DrawMoney", [](S& s) { return s.DrawMoney(u"30.00", kPassword); }, "drawMoney",
       {{"amount", 's'}, {"payPassword", 's'}}, "payPassword"},
      {"DraftDeposit", [](S& s) { return s.DraftDeposit(u"DR1", kPassword); }, "draftDeposit",
       {{"draftNO", 's'}, {"draftPassword", 's'}}, "draftPassword"},
      {"PreDeposit4Mobile", [](S& s) { return s.PreDeposit4Mobile(u"13800138000", u"50"); }, "preDeposit4Mobile",
       {{"toMobileNO", 's'}, {"toMobileAmount", 's'}}},
      {"Deposit4Mobile", [](S& s) { return s.Deposit4Mobile(kPassword); }, "deposit4Mobile",
       {{"toMobileAmount", 's'}, {"toPayAmount", 's'}, {"toMobileNO", 's'}, {"payPassword", 's'}}, "payPassword"},
      {"PreOrderPay", [](S& s) { return s.PreOrderPay(u"out_trade_no=1&total_fee=2"); }, "preOrderPay",
       {{"orderData", 's'}}},
      {"QueryTradeNum", [](S& s) { return s.QueryTradeNum(u"1m", u"waitPay"); }, "queryTradeNum",
       {{"timeRange", 's'}, {"queryTradeType", 's'}}},
      {"TradePay", [](S& s) { return s.TradePay(u"T1", kPassword, u"true", u"1.00"); }, "tradePay",
       {{"tradeNo", 's'}, {"payPassword", 's'}, {"useCoupon", 's'}, {"couponAmount", 's'}}, "payPassword"},
      {"AddContact", [](S& s) { return s.AddContact(u"friends", {u"a@b.cn", u"李四"}); }, "addContact",
       {{"groupName", 's'}, {"contactInfo", 'o'}}},
      {"QueryContactLists", [](S& s) { return s.QueryContactLists(); }, "queryContactLists", {}},
      {"Update", [](S& s) { return s.Update(u"KorvexPortal_WM6", u"2.1.6.0712"); }, "update",
       {{"productID", 's'}, {"productVersion", 's'}}},
      {"ConfirmBinding", [](S& s) { return s.ConfirmBinding(u"13800138000"); }, "confirmBinding", {{"phoneNO", 's'}}},
      {"ConfirmGoods", [](S& s) { return s.ConfirmGoods(u"T1", kPassword); }, "confirmGoods",
       {{"tradeNo", 's'}, {"payPassword", 's'}}, "payPassword"},
      {"PucPay", [](S& s) { return s.PucPay(u"B1", kPassword); }, "pucPay", {{"billNO", 's'}, {"payPassword", 's'}},
       "payPassword"},
      {"GetPucBillPayUrl", [](S& s) { return s.GetPucBillPayUrl(); }, "getPucBillPayUrl", {}},
      {"GetSID", [](S& s) { return s.GetSID(); }, "getSID", {}},
      {"ViewMsgDetail", [](S& s) { return s.ViewMsgDetail(); }, "viewMsgDetail", {}},
      {"GetLoginCheckCode", [](S& s) { return s.GetLoginCheckCode(); }, "getLoginCheckCode", {}},
      {"QUserInfoSupplement", [](S& s) { return s.QUserInfoSupplement(u"a@b.cn", u"张三", kPassword); },
       "qUserInfoSupplement", {{"logonId", 's'}, {"userName", 's'}, {"payPassword", 's'}}, "payPassword"},
      {"SendHttpRequest",
       [](S& s) { return s.SendHttpRequest(u"https://127.0.0.1/bill.htm", u"POST", u"billNO=B1", 9); },
       "sendHttpRequest", {{"url", 's'}, {"method", 's'}, {"optional", 's'}, {"optionalLength", 'i'}}, nullptr, false},
      {"GetEasyownRate", [](S& s) { return s.GetEasyownRate(); }, "getEasyownRate", {}},
  };
}

// A dispatch name without a command would get the plain command, which sends the request as
// it is; every operation has its own command now, and keeps it.
void RegisterPlainCommandsForMissingNames()
{
  const char* names[] = {"preRegister", "doRegister", "p2pPrePay", "p2pPay", "confirmMobilePay", "queryBalance",
                         "queryTransList", "queryTradeLists", "queryTradeDetail", "preRequestMC2", "requestMC",
                         "premcDeposit", "mcDeposit", "getMsgCount", "getSupportedChargeCard", "easyownDeposit",
                         "getEasyownResult", "getSupportedBank", "ebankDeposit", "preDrawMoney", "drawMoney",
                         "preDeposit4Mobile", "deposit4Mobile", "preOrderPay", "queryTradeNum", "tradePay",
                         "addContact", "queryContactLists", "update", "confirmBinding", "confirmGoods", "pucPay",
                         "amusement", "viewMsgDetail", "fetchCheckCode", "sendHttpRequest", "getEasyownRate"};
  CommandFactoryMap& map = GetCommandFactoryMap();
  for (const char* name : names) {
    ServiceCommandFactory& slot = RegisterCommandFactory(map, name);
    if (slot == nullptr) {
      slot = MakeServiceCommand<CServiceCommand>;
    }
  }
  // The facade's "sendHttpRequest" object is what is compared: its own command would post
  // only the "optional" text, to the "url".
  RegisterCommandFactory(map, "sendHttpRequest") = MakeServiceCommand<CServiceCommand>;
}

TEST_F(Facade, EveryOperationSendsItsKeysWithTheirTypesInMemberOrder)
{
  Start();
  RegisterPlainCommandsForMissingNames();
  std::string stamp = Gateway().key().issueTimeStamp();
  m_service->SetSession(Utf16(Gateway().key().publicKeyText()).c_str(), Utf16(stamp).c_str());
  SetUserRecord(u"50.00", u"49.50", u"13800138000");

  for (const OperationCase& c : OperationCases()) {
    SCOPED_TRACE(c.name);
    Gateway().clearRequests();
    ASSERT_NE(c.call(*m_service), nullptr);
    std::optional<RecordedRequest> sent = Gateway().waitForRequest(c.operationType);
    ASSERT_TRUE(sent.has_value());
    ASSERT_TRUE(sent->json.has_value());

    std::vector<std::pair<std::string, char>> expected = c.keys;
    expected.insert(expected.begin(), {"operationType", 's'});
    if (c.hasClientId) {
      expected.insert(expected.begin() + 1, {"clientID", 's'});
    }
    // On the wire the members come in the object's order: ascending names.
    std::sort(expected.begin(), expected.end());
    std::vector<std::pair<std::string, char>> actual;
    for (const auto& [key, value] : sent->json->items()) {
      actual.emplace_back(key, value.is_string() ? 's' : value.is_number_integer() ? 'i' : value.is_object() ? 'o' : '?');
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(sent->field("operationType"), c.operationType);
    if (c.hasClientId) {
      EXPECT_EQ(sent->field("clientID"), kClientId);
    }
    if (c.encryptedField != nullptr) {
      // Passwords encrypted with the stored key decrypt to the password and that key's stamp;
      // those encrypted by their command, to the stamp of the key it fetched.
      auto plain = Gateway().key().decryptPassword(sent->field(c.encryptedField));
      ASSERT_TRUE(plain.has_value());
      EXPECT_EQ(plain->password, "pay-pw");
    }
  }
  // The operations' replies are refusals of unscripted requests; some still bring a record.
  ASSERT_TRUE(svcb_test::DrainNetWorker());
  for (const Notification& n : m_listener.Notifications()) {
    svcc_test::DeleteNotifiedRecord(n.code, n.hr, n.value);
  }
}

TEST_F(Facade, SpecialRequestValues)
{
  Start("[screen]\nwidth = 480\nheight = 640\n");
  RegisterPlainCommandsForMissingNames();
  SetUserRecord(u"50.00", u"49.50", u"13800138000");

  ASSERT_NE(m_service->Login(u"demo@korvex.cn", u"pw", nullptr, {5, 1, u"2010-07-01 12:00:00"}), nullptr);
  std::optional<RecordedRequest> login = Gateway().waitForRequest("login");
  ASSERT_TRUE(login.has_value());
  const nlohmann::ordered_json& json = *login->json;
  EXPECT_FALSE(json.contains("loginCheckCode"));
  EXPECT_EQ(json["screenWidth"], 480);
  EXPECT_EQ(json["screenHigh"], 640);
  EXPECT_EQ(login->field("productID"), "KorvexPortal_WM6");
  EXPECT_EQ(login->field("productVersion"), "2.1.6.0712");
  EXPECT_EQ(login->field("accessPoint"), "KorvexGPRS");
  EXPECT_EQ(login->field("userAgent"), "korvex");
  // A JSON text inside the string, compact, with the writer's line feed.
  EXPECT_EQ(login->field("extraParam"),
            std::string("{\"clientID\":\"") + kClientId +
                "\",\"nextPage\":1,\"operationType\":\"queryTradeLists\",\"pageCount\":5,\"queryTradeType\":"
                "\"waitPay\",\"startDateTime\":\"2010-07-01 12:00:00\",\"userRole\":\"buyer\"}\n");

  std::string stamp = Gateway().key().issueTimeStamp();
  m_service->SetSession(Utf16(Gateway().key().publicKeyText()).c_str(), Utf16(stamp).c_str());
  ASSERT_NE(m_service->Deposit4Mobile(u"pw"), nullptr);
  std::optional<RecordedRequest> deposit = Gateway().waitForRequest("deposit4Mobile");
  ASSERT_TRUE(deposit.has_value());
  EXPECT_EQ(deposit->field("toMobileAmount"), "50.00");
  EXPECT_EQ(deposit->field("toPayAmount"), "49.50");
  EXPECT_EQ(deposit->field("toMobileNO"), "13800138000");

  ASSERT_NE(m_service->AddContact(u"friends", {u"a@b.cn", u"李四"}), nullptr);
  std::optional<RecordedRequest> contact = Gateway().waitForRequest("addContact");
  ASSERT_TRUE(contact.has_value());
  EXPECT_EQ((*contact->json)["contactInfo"], (nlohmann::ordered_json{{"account", "a@b.cn"}, {"name", "李四"}}));
}

// A password the facade encrypts with the stored session key: without a key, or with one that
// takes no password, the operation starts nothing (null, NTE_BAD_KEY), and no request with an
// empty password goes out.
TEST_F(Facade, APasswordThatCannotBeEncryptedStopsItsRequest)
{
  const std::set<std::string> encryptedByTheFacade = {"Register", "P2PPay",   "McDeposit", "DrawMoney",
                                                      "Deposit4Mobile", "TradePay", "ConfirmGoods", "PucPay"};
  Start();
  RegisterPlainCommandsForMissingNames();
  SetUserRecord(u"50.00", u"49.50", u"13800138000");
  ASSERT_EQ(GetSessionRecord(), nullptr) << "no key stored yet in this process";
  struct Key {
    const char* name;
    std::function<void()> store;
  } keys[] = {{"no session key", [] {}},
              {"a key that takes nothing", [this] { m_service->SetSession(u"bm90IGEga2V5", u"20260105090000"); }}};
  size_t tried = 0;
  std::set<std::string> operationTypes;
  for (const Key& key : keys) {
    SCOPED_TRACE(key.name);
    key.store();
    for (const OperationCase& c : OperationCases()) {
      if (!encryptedByTheFacade.count(c.name)) {
        continue;
      }
      SCOPED_TRACE(c.name);
      ++tried;
      operationTypes.insert(c.operationType);
      SetLastError(0);
      EXPECT_EQ(c.call(*m_service), nullptr);
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(NTE_BAD_KEY));
    }
  }
  EXPECT_EQ(tried, 2 * encryptedByTheFacade.size()) << "every listed operation is in the table";
  ASSERT_TRUE(svcb_test::DrainNetWorker());
  for (const std::string& operationType : operationTypes) {
    EXPECT_TRUE(Gateway().requestsOf(operationType).empty()) << operationType << " went out";
  }
  EXPECT_TRUE(m_listener.Notifications().empty());
}

// ---- login and the two-phase operations ---------------------------------------------------

struct LoginCase {
  const char* name;
  nlohmann::ordered_json reply;  // to the login request itself
  int code;
  HRESULT hr;
  LPARAM value;  // for code 1
  const char* memo;  // null: none
};

TEST_F(Facade, LoginEndsInExactlyOneOfItsOutcomes)
{
  const LoginCase cases[] = {
      {"logged in",
       {{"resultStatus", 100}, {"userName", "演示"}, {"logonId", "demo@korvex.cn"}, {"loginServerTime", "20100701"}},
       2, S_OK, 0, nullptr},
      {"optional update", {{"resultStatus", 202}, {"memo", "有新版本"}, {"downloadURL", "https://x/u.cab"}}, 3, S_OK,
       0, "有新版本"},
      {"forced update", {{"resultStatus", 203}, {"memo", "请升级"}, {"downloadURL", "https://x/u.cab"}}, 3, S_OK, 0,
       "请升级"},
      {"refused", {{"resultStatus", 411}, {"memo", "账户锁定"}, {"loginCheckCodeImg", "iVBOR"}}, 1,
       E_SERVICE_BUSINESS, 411, "账户锁定"},
      {"check code", {{"resultStatus", 301}, {"memo", "请输入校验码"}, {"loginCheckCodeImg", "iVBOR"},
                      {"loginCheckCodeUrl", "/cc.png"}},
       4, S_OK, 0, "请输入校验码"},
      {"wrong password", {{"resultStatus", 301}, {"memo", "密码错误"}}, 1, E_SERVICE_BUSINESS, 301, "密码错误"},
      {"check code null", {{"resultStatus", 301}, {"loginCheckCodeImg", nullptr}}, 1, E_SERVICE_BUSINESS, 301, nullptr},
  };
  Start();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const LoginCase& c = cases[i];
    SCOPED_TRACE(c.name);
    Gateway().script("login", Reply::json(c.reply));
    ASSERT_NE(m_service->Login(u"demo@korvex.cn", u"demo1234", nullptr, {5, 1, u""}), nullptr);
    ASSERT_TRUE(m_listener.WaitFor(i + 1));
    Notification n = m_listener.Notifications()[i];
    EXPECT_EQ(n.code, c.code);
    EXPECT_EQ(n.hr, c.hr);
    EXPECT_EQ(n.hasMemo, c.memo != nullptr);
    if (c.memo != nullptr) {
      EXPECT_EQ(Utf8(n.memo), c.memo);
    }
    if (c.code == 1) {
      EXPECT_EQ(n.value, c.value);
    } else if (c.code == 3) {
      std::unique_ptr<UpdateResult> update(reinterpret_cast<UpdateResult*>(n.value));
      EXPECT_EQ(update->resultStatus, c.reply["resultStatus"].get<int>());
      EXPECT_EQ(Utf8(update->memo), c.memo);
      EXPECT_EQ(Utf8(update->downloadURL), "https://x/u.cab");
    } else {
      std::unique_ptr<LoginResult> result(reinterpret_cast<LoginResult*>(n.value));
      EXPECT_EQ(result->resultStatus, c.reply["resultStatus"].get<int>());
      if (c.code == 2) {
        EXPECT_EQ(Utf8(result->userName), "演示");
        EXPECT_EQ(Utf8(result->logonId), "demo@korvex.cn");
        EXPECT_EQ(Utf8(result->loginServerTime), "20100701");
        EXPECT_TRUE(result->mobileNo.empty());
      } else {
        EXPECT_EQ(Utf8(result->loginCheckCodeImg), "iVBOR");
        EXPECT_EQ(Utf8(result->loginCheckCodeUrl), "/cc.png");
        EXPECT_TRUE(result->userName.empty());
      }
    }
  }
}

TEST_F(Facade, ARefusedKeyRequestEndsTheLoginWithoutSendingIt)
{
  Start();
  Gateway().script("getRSAPKey", Reply::result(200, "会话超时"));
  ASSERT_NE(m_service->Login(u"demo@korvex.cn", u"demo1234", nullptr, {5, 1, u""}), nullptr);
  ASSERT_TRUE(m_listener.WaitFor(1));
  Notification n = m_listener.Notifications()[0];
  EXPECT_EQ(n.code, 1);
  EXPECT_EQ(n.hr, E_SERVICE_BUSINESS);
  EXPECT_EQ(n.value, 200);
  EXPECT_EQ(Utf8(n.memo), "会话超时");
  EXPECT_TRUE(Gateway().requestsOf("login").empty());
}

struct TwoPhaseCase {
  const char* operationType;
  std::function<CServiceCommand*(CPaymentService&)> call;
  const char* passwordField;
  int successCode;
  LPARAM successValue;
};

TEST_F(Facade, TwoPhaseOperationsSendTheKeyRequestThenTheEncryptedRequest)
{
  const TwoPhaseCase cases[] = {
      {"login", [](CPaymentService& s) { return s.Login(u"demo@korvex.cn", u"密码1", nullptr, {5, 1, u""}); },
       "loginPassword", 2, 0},
      {"qUserInfoSupplement", [](CPaymentService& s) { return s.QUserInfoSupplement(u"a@b.cn", u"张三", u"密码1"); },
       "payPassword", 77, 0},
      {"bindingMC", [](CPaymentService& s) { return s.BindingMC(u"6222", u"密码1"); }, "payPassword", 30, 0},
      {"draftDeposit", [](CPaymentService& s) { return s.DraftDeposit(u"DR1", u"密码1"); }, "draftPassword", 48, 100},
  };
  Start();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const TwoPhaseCase& c = cases[i];
    SCOPED_TRACE(c.operationType);
    Gateway().clearRequests();
    Gateway().script(c.operationType, Reply::success({{"memo", "好"}}));
    ASSERT_NE(c.call(*m_service), nullptr);
    ASSERT_TRUE(m_listener.WaitFor(i + 1));
    Notification n = m_listener.Notifications()[i];
    EXPECT_EQ(n.code, c.successCode);
    EXPECT_EQ(n.hr, S_OK);
    if (c.successCode == 2) {
      delete reinterpret_cast<LoginResult*>(n.value);
    } else {
      EXPECT_EQ(n.value, c.successValue);
    }

    std::vector<RecordedRequest> sent = Gateway().requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].operation, "getRSAPKey");
    EXPECT_EQ(sent[0].field("clientID"), kClientId);
    EXPECT_EQ(sent[0].json->size(), 2u);
    EXPECT_EQ(sent[1].operation, c.operationType);
    // Only the Base64 encryption travels, of the password followed directly by the stamp.
    std::string encrypted = sent[1].field(c.passwordField);
    EXPECT_EQ(encrypted.find("密码1"), std::string::npos);
    auto plain = Gateway().key().decryptPassword(encrypted);
    ASSERT_TRUE(plain.has_value());
    EXPECT_EQ(plain->password, "密码1");
  }
}

TEST_F(Facade, TwoPhaseFailuresReportTheOperationsFailureCode)
{
  Start();
  Gateway().script("bindingMC", Reply::result(500, "卡号有误"));
  ASSERT_NE(m_service->BindingMC(u"6222", u"pw"), nullptr);
  ASSERT_TRUE(m_listener.WaitFor(1));
  Notification refused = m_listener.Notifications()[0];
  EXPECT_EQ(refused.code, 31);
  EXPECT_EQ(refused.hr, E_SERVICE_BUSINESS);
  EXPECT_EQ(refused.value, 500);
  EXPECT_EQ(Utf8(refused.memo), "卡号有误");

  Gateway().script("draftDeposit", Reply::http(200, "not json", "text/plain;charset=UTF-8"));
  ASSERT_NE(m_service->DraftDeposit(u"DR1", u"pw"), nullptr);
  ASSERT_TRUE(m_listener.WaitFor(2));
  Notification bad = m_listener.Notifications()[1];
  EXPECT_EQ(bad.code, 49);
  EXPECT_EQ(bad.hr, E_SERVICE_BAD_REPLY);
  EXPECT_EQ(bad.value, 0);
  EXPECT_FALSE(bad.hasMemo);
}

}  // namespace
