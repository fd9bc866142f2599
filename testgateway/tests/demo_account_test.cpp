// The demo account answers the client's operations from the seeded data set, checking the
// passwords it receives the way the real gateway would.
#include <gtest/gtest.h>

#include <fstream>

#include "device_encryption.h"
#include "test_support.h"
#include "testgateway/demo_account.h"
#include "testgateway/script_file.h"
#include "testgateway/test_gateway.h"

namespace testgateway {
namespace {

using Json = nlohmann::ordered_json;

class DemoAccountTest : public ::testing::Test {
 protected:
  void SetUp() override {
    demo = installDemo(gateway, KV_TESTGATEWAY_DEMO_DATA);
    gateway.start();
    client = std::make_unique<httplib::Client>(gateway.httpUrl());
  }

  // One request as the client sends it.
  httplib::Result post(Json request) {
    request["clientID"] = "460001234567890|352000000000000";
    return testing::postOperation(*client, request.dump());
  }
  // Its parsed reply (null when there is none).
  Json send(Json request) {
    auto result = post(std::move(request));
    return result ? Json::parse(result->body, nullptr, false) : Json();
  }

  // The password encrypted with a session key fetched the way the client fetches it.
  std::string encrypted(const std::string& password) {
    Json key = send({{"operationType", "getRSAPKey"}});
    return testing::encryptAsTheDevice(key["rsaPK"], password + key["rsaTS"].get<std::string>(), true);
  }

  Json loginRequest(const std::string& password, const std::string& checkCode = {}) {
    Json request = {{"operationType", "login"},
                    {"loginAccount", "demo@korvex.cn"},
                    {"loginPassword", encrypted(password)},
                    {"extraParam", R"({"operationType":"queryTradeLists","queryTradeType":"waitPay","pageCount":5,)"
                                   R"("nextPage":1,"startDateTime":"","userRole":"buyer"})"
                                   "\n"}};
    if (!checkCode.empty()) request["loginCheckCode"] = checkCode;
    return request;
  }
  Json login(const std::string& password, const std::string& checkCode = {}) {
    return send(loginRequest(password, checkCode));
  }

  TestGateway gateway;
  std::shared_ptr<DemoAccount> demo;
  std::unique_ptr<httplib::Client> client;
};

TEST_F(DemoAccountTest, LogsInWithTheEncryptedPasswordAndSetsTheSessionCookie) {
  auto result = post(loginRequest("demo1234"));
  ASSERT_TRUE(result);
  EXPECT_EQ(result->get_header_value("Set-Cookie").rfind("JSESSIONID=", 0), 0u);
  EXPECT_NE(result->get_header_value("Set-Cookie").find("; Path=/"), std::string::npos);
  Json reply = Json::parse(result->body);
  EXPECT_EQ(reply["resultStatus"], 100);
  EXPECT_EQ(reply["userName"], "王小明");
  EXPECT_FALSE(reply["loginServerTime"].get<std::string>().empty());
  Json unpaid = Json::parse(reply["extraData"].get<std::string>());
  EXPECT_EQ(unpaid["resultStatus"], 100);
  ASSERT_FALSE(unpaid["tradeTableList"].empty());
  for (const auto& trade : unpaid["tradeTableList"]) EXPECT_EQ(trade["tradeStatus"], "WAIT_BUYER_PAY");
}

TEST_F(DemoAccountTest, RefusesAWrongPasswordAndAsksForTheCheckCodeAfterRepeatedFailures) {
  EXPECT_EQ(login("wrong")["resultStatus"], 301);
  EXPECT_EQ(login("wrong")["resultStatus"], 301);
  Json third = login("wrong");
  EXPECT_EQ(third["resultStatus"], 301);
  EXPECT_FALSE(third["loginCheckCodeImg"].get<std::string>().empty());

  Json withoutCode = login("demo1234");
  EXPECT_EQ(withoutCode["resultStatus"], 302);
  EXPECT_TRUE(withoutCode.contains("loginCheckCodeImg"));
  EXPECT_EQ(login("demo1234", "3947")["resultStatus"], 100);
}

TEST_F(DemoAccountTest, ChecksThePaymentPassword) {
  Json request = {{"operationType", "mcDeposit"}, {"mcBankId", "ICBC"}, {"depositAmount", "1"}};
  request["payPassword"] = encrypted("pay123456");
  EXPECT_EQ(send(request)["resultStatus"], 100);
  request["payPassword"] = encrypted("pay12345");
  EXPECT_EQ(send(request)["resultStatus"], 105);
  request["payPassword"] = "";  // sent without a session key
  EXPECT_EQ(send(request)["resultStatus"], 105);
}

// Every operation of the client answers with the members its reply parser reads.
TEST_F(DemoAccountTest, AnswersEveryOperationWithWhatItsScreenShows) {
  struct Case {
    Json request;
    std::vector<const char*> members;
  } cases[] = {
      {{{"operationType", "preRegister"}}, {"checkCode", "rsaPK", "rsaTS"}},
      {{{"operationType", "p2pPrePay"}, {"toPayAccount", "lihua@korvex.cn"}, {"toPayAmount", "5"}},
       {"isQuser", "toPayUserName", "toPayAccount", "rsaPK", "rsaTS"}},
      {{{"operationType", "confirmMobilePay"}}, {"memo"}},
      {{{"operationType", "queryBalance"}}, {"currentBalance", "availableBalance"}},
      {{{"operationType", "queryTransList"}, {"timeRange", "1m"}, {"nextPage", 1}, {"pageCount", 5}},
       {"pageCount", "page", "totalCount", "transList"}},
      {{{"operationType", "queryTradeLists"}, {"queryTradeType", "all"}, {"timeRange", "1m"}, {"nextPage", 1},
        {"pageCount", 5}},
       {"pageCount", "page", "totalCount", "tradeTableList"}},
      {{{"operationType", "queryTradeDetail"}, {"tradeNO", "2024061100001"}}, {"paid", "buyer", "act", "payMoney"}},
      {{{"operationType", "queryTradeDetail"}, {"tradeNO", "2024061000003"}},
       {"paid", "tradeTime", "tradeStatus", "logisticsid", "logisticsName"}},
      {{{"operationType", "preRequestMC2"}}, {"list", "hasAuthed", "realName"}},
      {{{"operationType", "requestMC"}, {"bankId", "ICBC"}, {"realName", "王小明"}, {"idCardNO", "1"}}, {}},
      {{{"operationType", "premcDeposit"}}, {"currentBalance", "mcDepositList", "rsaPK"}},
      {{{"operationType", "getMsgCount"}}, {"msgCount"}},
      {{{"operationType", "getSupportedChargeCard"}}, {"supportedAmount", "rate", "balance"}},
      {{{"operationType", "getEasyownRate"}}, {"rate", "balance"}},
      {{{"operationType", "easyownDeposit"}, {"cardNo", "1"}, {"cardPass", "2"}, {"cardAmount", "50"}},
       {"depositId", "memo"}},
      {{{"operationType", "getEasyownResult"}, {"depositId", "EO20240001"}}, {}},
      {{{"operationType", "getSupportedBank"}}, {"supportedBankList", "balance"}},
      {{{"operationType", "ebankDeposit"}, {"bankId", "ICBC"}, {"depositAmount", "100"}}, {"bankUrl"}},
      {{{"operationType", "preDrawMoney"}},
       {"userName", "bankName", "accountType", "bankAccountNO", "availableAmount", "onceAvailableAmount", "rsaPK"}},
      {{{"operationType", "preDeposit4Mobile"}, {"toMobileNO", "13800138000"}, {"toMobileAmount", "50"}},
       {"toMobileAmount", "toPayAmount", "toMobileNO", "availableBalance", "goodsName", "merName", "rsaPK"}},
      {{{"operationType", "preOrderPay"}, {"orderData", "out_trade_no=1&total_fee=2.00"}},
       {"orderValidate", "sellerName", "goodTitle", "outTradeNo", "totalFee", "rsaPK", "rsaTS"}},
      {{{"operationType", "queryTradeNum"}, {"timeRange", "1m"}, {"queryTradeType", "waitPay"}}, {"totalCount"}},
      {{{"operationType", "queryContactLists"}}, {"contactLists"}},
      {{{"operationType", "update"}, {"productID", "1"}, {"productVersion", "2.1.6.0712"}}, {"downloadURL"}},
      {{{"operationType", "confirmBinding"}, {"phoneNO", "13800138000"}}, {"memo"}},
      {{{"operationType", "getPucBillPayUrl"}}, {"url"}},
      {{{"operationType", "getSID"}}, {"sid"}},
      {{{"operationType", "viewMsgDetail"}}, {"msgId", "msgTopic", "msgContent", "MsgType", "msgDate", "msgCount"}},
      {{{"operationType", "getLoginCheckCode"}}, {"loginCheckCodeImg"}},
      {{{"operationType", "personalSetup"}, {"greeting", "你好"}}, {}},
  };
  for (const auto& one : cases) {
    SCOPED_TRACE(one.request.dump());
    Json reply = send(one.request);
    EXPECT_EQ(reply["resultStatus"], 100);
    for (const char* member : one.members) EXPECT_TRUE(reply.contains(member)) << member;
  }
}

// The recharge quote writes the price with two decimals like every other amount, whatever form
// the client sent the face value in; an amount that is none is refused.
TEST_F(DemoAccountTest, QuotesTheMobileRechargePriceWithTwoDecimals) {
  struct Case {
    const char* amount;
    int status;
    const char* toPay;
  } cases[] = {{"50", 100, "50.00"}, {"49.5", 100, "49.50"}, {"100.00", 100, "100.00"}, {"fifty", 305, nullptr},
               {"0", 305, nullptr}};
  for (const auto& one : cases) {
    SCOPED_TRACE(one.amount);
    Json reply = send({{"operationType", "preDeposit4Mobile"}, {"toMobileNO", "13800138000"}, {"toMobileAmount", one.amount}});
    EXPECT_EQ(reply["resultStatus"], one.status);
    if (one.toPay) {
      EXPECT_EQ(reply["toPayAmount"], one.toPay);
      EXPECT_EQ(reply["toMobileAmount"], one.amount);
    }
  }
}

// Payments and top-ups move the balance that the next query shows, one after another on the same
// account; what is refused moves nothing.
TEST_F(DemoAccountTest, PaymentsAndTopUpsMoveTheBalance) {
  struct Case {
    Json request;
    const char* password;  // the encrypted field it carries, if any
    int status;
    const char* availableAfter;
  } cases[] = {
      {{{"operationType", "p2pPrePay"}, {"toPayAccount", "lihua@korvex.cn"}, {"toPayAmount", "50"}}, nullptr, 100, "1200.00"},
      {{{"operationType", "p2pPay"}}, "payPassword", 100, "1150.00"},
      {{{"operationType", "p2pPay"}}, "payPassword", 307, "1150.00"},  // paid already
      {{{"operationType", "tradePay"}, {"tradeNo", "2024061100001"}, {"useCoupon", "Y"}, {"couponAmount", "10.00"}},
       "payPassword", 100, "961.00"},  // 199.00 less the 10.00 red packet
      {{{"operationType", "tradePay"}, {"tradeNo", "2024061100001"}, {"useCoupon", "N"}}, "payPassword", 304, "961.00"},
      {{{"operationType", "tradePay"}, {"tradeNo", "2024061100002"}, {"useCoupon", "N"}}, nullptr, 105, "961.00"},
      {{{"operationType", "confirmGoods"}, {"tradeNo", "2024061000003"}}, "payPassword", 100, "961.00"},
      {{{"operationType", "drawMoney"}, {"amount", "100"}}, "payPassword", 100, "861.00"},
      {{{"operationType", "drawMoney"}, {"amount", "5000"}}, "payPassword", 306, "861.00"},
      {{{"operationType", "drawMoney"}, {"amount", "-5"}}, "payPassword", 305, "861.00"},
      {{{"operationType", "deposit4Mobile"}, {"toMobileNO", "13800138000"}, {"toMobileAmount", "50"}, {"toPayAmount", "49.50"}},
       "payPassword", 100, "811.50"},
      {{{"operationType", "pucPay"}, {"billNO", "PUC2024061200001"}}, "payPassword", 100, "752.90"},
      {{{"operationType", "mcDeposit"}, {"mcBankId", "ICBC"}, {"mcShortCode", "1234"}, {"depositAmount", "50"}},
       "payPassword", 100, "802.90"},
      {{{"operationType", "easyownDeposit"}, {"cardNo", "1"}, {"cardPass", "2"}, {"cardAmount", "100"}}, nullptr, 100,
       "898.90"},  // less the 4% fee
      {{{"operationType", "ebankDeposit"}, {"bankId", "ICBC"}, {"depositAmount", "20.5"}}, nullptr, 100, "919.40"},
      {{{"operationType", "draftDeposit"}, {"draftNO", "D1"}}, "draftPassword", 100, "1019.40"},
  };
  for (const auto& one : cases) {
    SCOPED_TRACE(one.request.dump());
    Json request = one.request;
    if (one.password) request[one.password] = encrypted(std::string(one.password) == "payPassword" ? "pay123456" : "x");
    EXPECT_EQ(send(request)["resultStatus"], one.status);
    EXPECT_EQ(send({{"operationType", "queryBalance"}})["availableBalance"], one.availableAfter);
  }
  // The frozen 88.50 stays apart from what moved.
  EXPECT_EQ(send({{"operationType", "queryBalance"}})["currentBalance"], "1107.90");

  Json unpaid = send({{"operationType", "queryTradeLists"}, {"queryTradeType", "waitPay"}, {"nextPage", 1}, {"pageCount", 10}});
  ASSERT_EQ(unpaid["tradeTableList"].size(), 1u);
  EXPECT_EQ(unpaid["tradeTableList"][0]["tradeNO"], "2024061100002");
  Json paid = send({{"operationType", "queryTradeDetail"}, {"tradeNO", "2024061100001"}});
  EXPECT_EQ(paid["paid"], 1);
  EXPECT_EQ(paid["tradeStatus"], "WAIT_SELLER_SEND_GOODS");
  EXPECT_EQ(send({{"operationType", "queryTradeDetail"}, {"tradeNO", "2024061000003"}})["tradeStatus"], "TRADE_FINISHED");
  Json latest = send({{"operationType", "queryTransList"}, {"timeRange", "1d"}, {"nextPage", 1}, {"pageCount", 1}});
  EXPECT_EQ(latest["transList"][0]["money"], "+100.00");
  EXPECT_EQ(send({{"operationType", "getSupportedBank"}})["balance"], "1019.40");
}

// Given a package, the demo serves it and "update" offers it to a client older than the data
// set's version, and to no other.
TEST(DemoAccountUpdate, OffersTheServedPackageToAnOlderClientOnly) {
  testing::ScratchDir dir;
  std::ofstream(dir.path() / "KorvexPortal.CAB", std::ios::binary) << "the newer package";
  TestGateway gateway;
  installDemo(gateway, KV_TESTGATEWAY_DEMO_DATA, dir.path() / "KorvexPortal.CAB");
  gateway.start();
  httplib::Client client(gateway.httpUrl());
  auto check = [&](const char* version) {
    auto result = testing::postOperation(
        client, Json({{"operationType", "update"}, {"productID", "KV"}, {"productVersion", version}}).dump());
    return result ? Json::parse(result->body) : Json();
  };

  Json offer = check("2.1.3.1119");
  EXPECT_EQ(offer["resultStatus"], 202);
  EXPECT_FALSE(offer["memo"].get<std::string>().empty());
  std::string url = offer["downloadURL"];
  ASSERT_EQ(url.rfind(gateway.httpUrl() + "/", 0), 0u) << url;
  auto package = client.Get(url.substr(gateway.httpUrl().size()));
  ASSERT_TRUE(package);
  EXPECT_EQ(package->status, 200);
  EXPECT_EQ(package->body, "the newer package");

  for (const char* current : {"2.1.4.1206", "2.2", "", "new"}) {
    Json none = check(current);
    EXPECT_EQ(none["resultStatus"], 100) << current;
    EXPECT_EQ(none["downloadURL"], "") << current;
  }
}

TEST_F(DemoAccountTest, FiltersAndPagesTheTradeList) {
  auto list = [&](const char* type, int page, int size) {
    return send({{"operationType", "queryTradeLists"}, {"queryTradeType", type}, {"timeRange", "1m"},
                 {"nextPage", page}, {"pageCount", size}});
  };
  Json all = list("all", 1, 100);
  Json second = list("all", 2, 2);
  EXPECT_EQ(second["totalCount"], all["totalCount"]);
  ASSERT_EQ(second["tradeTableList"].size(), 2u);
  EXPECT_EQ(second["tradeTableList"][0], all["tradeTableList"][2]);
  Json succeeded = list("tradeSuc", 1, 100);
  for (const auto& trade : succeeded["tradeTableList"]) {
    EXPECT_TRUE(trade["tradeStatus"] == "TRADE_FINISHED" || trade["tradeStatus"] == "TRADE_SUCCESS" ||
                trade["tradeStatus"] == "REFUND_SUCCESS");
  }
  Json today = send({{"operationType", "queryTransList"}, {"timeRange", "1d"}, {"nextPage", 1}, {"pageCount", 10}});
  Json month = send({{"operationType", "queryTransList"}, {"timeRange", "1m"}, {"nextPage", 1}, {"pageCount", 10}});
  EXPECT_LT(today["totalCount"], month["totalCount"]);
}

TEST_F(DemoAccountTest, KeepsAddedContacts) {
  EXPECT_EQ(send({{"operationType", "addContact"},
                  {"groupName", "新分组"},
                  {"contactInfo", {{"account", "new@korvex.cn"}, {"name", "新朋友"}}}})["resultStatus"],
            100);
  Json lists = send({{"operationType", "queryContactLists"}})["contactLists"];
  EXPECT_EQ(lists.back()["groupName"], "新分组");
  EXPECT_EQ(lists.back()["contacts"][0]["name"], "新朋友");
}

TEST_F(DemoAccountTest, ServesThePagesOfTheDataSet) {
  auto page = client->Get("/puc/webMC.htm");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("手机服务中心"), std::string::npos);
  EXPECT_EQ(client->Get("/no/such/page.htm")->status, 404);
}

// The utility-bill form is sent as a gateway request: its answer is the bill (status 888) with
// a session key the payment password is then encrypted with, and "pucPay" checks that password.
TEST_F(DemoAccountTest, AnswersTheBillFormWithABillAndTakesItsPayment) {
  auto bill = client->Post("/puc/billQuery.htm", "clientID=460001234567890%7C352&billType=water&accountNO=0571-1",
                           "application/x-www-form-urlencoded");
  ASSERT_TRUE(bill);
  Json reply = Json::parse(bill->body);
  EXPECT_EQ(reply["resultStatus"], 888);
  for (const char* field : {"billNO", "sellerName", "goodsName", "tradeFrom", "totalFee", "availableBalance"})
    EXPECT_FALSE(reply.value(field, "").empty()) << field;
  ASSERT_TRUE(reply.contains("rsaPK") && reply.contains("rsaTS"));
  std::string password = testing::encryptAsTheDevice(reply["rsaPK"], "pay123456" + reply["rsaTS"].get<std::string>(), true);
  EXPECT_EQ(send({{"operationType", "pucPay"}, {"billNO", reply["billNO"]}, {"payPassword", password}})["resultStatus"], 100);

  auto empty = client->Post("/puc/billQuery.htm", "billType=water&accountNO=", "application/x-www-form-urlencoded");
  ASSERT_TRUE(empty);
  EXPECT_EQ(Json::parse(empty->body)["resultStatus"], 201);
}

TEST_F(DemoAccountTest, TheWebCentrePagesGiveTheClientTheirScripts) {
  for (const char* path : {"/puc/webMC.htm", "/puc/billPay.htm"}) {
    auto page = client->Get(path);
    ASSERT_TRUE(page) << path;
    EXPECT_NE(page->body.find("function clientMenu()"), std::string::npos) << path;
  }
  EXPECT_NE(client->Get("/puc/billPay.htm")->body.find("function beforeSubmit()"), std::string::npos);
  EXPECT_NE(client->Get("/amusement.htm")->body.find("trade_pay.do?korvex_trade_no="), std::string::npos);
  for (const auto& [path, type] : {std::pair{"/amusement.css", "text/css"}, std::pair{"/amusement.js", "application/javascript"}}) {
    auto file = client->Get(path);
    ASSERT_TRUE(file) << path;
    EXPECT_EQ(file->status, 200) << path;
    EXPECT_EQ(file->get_header_value("Content-Type").rfind(type, 0), 0u) << path;
  }
}

// The merchant's page sends an order to the device's local gateway with a return_url back to
// the merchant, whose result page shows what came back, escaped.
// A verified order is paid once, by its number, from the balance; the merchant gets its number,
// amount and outcome back.
TEST_F(DemoAccountTest, VerifiesAndPaysTheOrderTheMerchantPageSent) {
  Json reply = send({{"operationType", "preOrderPay"},
                     {"orderData", "service=order_pay&out_trade_no=T%2B1&subject=%E8%80%B3%E6%9C%BA&total_fee=199.00"}});
  EXPECT_EQ(reply["outTradeNo"], "T+1");
  EXPECT_EQ(reply["totalFee"], "199.00");
  auto orderPay = [&](const char* number) {
    return send({{"operationType", "orderPay"}, {"outTradeNo", number}, {"payPassword", encrypted("pay123456")}});
  };
  EXPECT_EQ(orderPay("T+2")["resultStatus"], 303);  // never verified
  Json paid = orderPay("T+1");
  EXPECT_EQ(paid["resultStatus"], 100);
  EXPECT_EQ(paid["tradeData"], "result=success&out_trade_no=T+1&total_fee=199.00");
  EXPECT_EQ(send({{"operationType", "queryBalance"}})["availableBalance"], "1001.00");
  EXPECT_EQ(orderPay("T+1")["resultStatus"], 303);  // paid already
  Json latest = send({{"operationType", "queryTransList"}, {"timeRange", "1d"}, {"nextPage", 1}, {"pageCount", 1}});
  EXPECT_EQ(latest["transList"][0]["money"], "-199.00");
}

TEST_F(DemoAccountTest, TheMerchantPageSendsAnOrderToTheLocalGatewayAndShowsItsResult) {
  auto shop = client->Get("/merchant/shop.htm");
  ASSERT_TRUE(shop);
  const std::string& body = shop->body;
  // The order is a link to the local gateway; its return_url stands unescaped, as the gateway
  // takes it.
  EXPECT_NE(body.find("href=\"http://127.0.0.1:8088/gateway.do?service=order_pay&amp;_input_charset=utf-8&amp;"),
            std::string::npos)
      << body;
  for (const char* field : {"&amp;out_trade_no=", "&amp;total_fee=199.00&amp;", "&amp;subject=%E8%93%9D%E7%89%99",
                            "&amp;body=Korvex%E5%95%86%E5%9F%8E%20"})
    EXPECT_NE(body.find(field), std::string::npos) << field;
  EXPECT_NE(body.find("&amp;return_url=" + gateway.httpUrl() + "/merchant/result.htm\""), std::string::npos) << body;

  auto paid = client->Get("/merchant/result.htm?result=success");
  ASSERT_TRUE(paid);
  EXPECT_NE(paid->body.find("付款成功"), std::string::npos);
  auto hostile = client->Get("/merchant/result.htm?result=fail%3Cscript%3E");
  ASSERT_TRUE(hostile);
  EXPECT_NE(hostile->body.find("付款未完成"), std::string::npos);
  EXPECT_EQ(hostile->body.find("<script>"), std::string::npos);
}

TEST(DemoAccountData, RefusesADataSetItCannotServe) {
  testing::ScratchDir dir;
  Json good = readJsonFile(KV_TESTGATEWAY_DEMO_DATA);
  GatewayKey key;
  for (const char* missing : {"account", "refusals", "trades", "messages"}) {
    Json bad = good;
    bad.erase(missing);
    EXPECT_THROW(DemoAccount(bad, std::filesystem::path(KV_TESTGATEWAY_DEMO_DATA).parent_path(), key),
                 std::runtime_error)
        << missing;
  }
  Json badTrade = good;
  badTrade["trades"][0].erase("tradeNO");
  EXPECT_THROW(DemoAccount(badTrade, dir.path(), key), std::runtime_error);
}

}  // namespace
}  // namespace testgateway
