// The gateway's behaviour as an HTTP client sees it: decoding, scripted replies, recording,
// cookies and connection-level faults.
#include <gtest/gtest.h>

#include <fstream>
#include <future>
#include <thread>

#include "test_support.h"
#include "testgateway/script_file.h"
#include "testgateway/test_gateway.h"

namespace testgateway {
namespace {

using testing::postOperation;
using testing::requestBody;
using Json = nlohmann::ordered_json;

class GatewayTest : public ::testing::Test {
 protected:
  void SetUp() override { gateway.start(); }

  httplib::Client client() const { return httplib::Client(gateway.httpUrl()); }

  TestGateway gateway;
};

TEST_F(GatewayTest, DecodesAnEscapedRequestKeepingOrderTypesAndChinese) {
  const std::string json =
      "{\"operationType\":\"p2pPrePay\",\"clientID\":\"460001234|35\",\"toPayReason\":\"还款 100%\","
      "\"nextPage\":1,\"pageCount\":\"5\",\"toPayAmount\":\"+1.5\"}\n";
  auto c = client();
  auto result = postOperation(c, json);
  ASSERT_TRUE(result);

  auto sent = gateway.waitForRequest("p2pPrePay");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->method, "POST");
  EXPECT_EQ(sent->path, "/home/mobile.htm");
  EXPECT_EQ(sent->body, requestBody(json));
  EXPECT_EQ(sent->requestData, json);
  ASSERT_TRUE(sent->json);
  std::vector<std::string> names;
  for (const auto& [name, value] : sent->json->items()) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"operationType", "clientID", "toPayReason", "nextPage", "pageCount",
                                             "toPayAmount"}));
  EXPECT_TRUE((*sent->json)["nextPage"].is_number_integer());
  EXPECT_TRUE((*sent->json)["pageCount"].is_string());
  EXPECT_EQ(sent->field("toPayReason"), "还款 100%");
  EXPECT_EQ(sent->field("toPayAmount"), "+1.5");
}

// Raw bodies as a peer might send them, and the requestData text a form decoder finds.
TEST_F(GatewayTest, DecodesFormBodiesAsAServerWould) {
  struct Case {
    std::string body;
    std::optional<std::string> requestData;
  } cases[] = {
      {"requestData=%7B%22a%22%3A%22b%22%7D", "{\"a\":\"b\"}"},           // upper-case escapes
      {"requestData=%7b%22a%22:%22x+y%22%7d", "{\"a\":\"x y\"}"},         // an unescaped "+" is a space
      {"requestData=%7b%22a%22:%22x%2by%22%7d", "{\"a\":\"x+y\"}"},       // an escaped one is a plus
      {"other=1&requestData=%7b%7d&more", "{}"},                          // among other fields
      {"requestData=100%%7b", "100%{"},                                   // a stray "%" stays
      {"{\"operationType\":\"x\"}", std::nullopt},                        // not a form at all
  };
  auto c = client();
  for (const auto& one : cases) {
    ASSERT_TRUE(c.Post("/home/mobile.htm", one.body, testing::kFormType));
  }
  auto recorded = gateway.requests();
  ASSERT_EQ(recorded.size(), std::size(cases));
  for (std::size_t i = 0; i < recorded.size(); ++i) {
    SCOPED_TRACE(cases[i].body);
    EXPECT_EQ(recorded[i].requestData, cases[i].requestData);
  }
}

TEST_F(GatewayTest, AnswersScriptedRepliesAsScripted) {
  struct Case {
    const char* name;
    Reply reply;
    int status;
    std::string contentType;
    std::string body;  // bytes on the wire
  } cases[] = {
      {"status", Reply::result(200, "会话已过期"), 200, kJsonUtf8, R"({"resultStatus":200,"memo":"会话已过期"})"},
      {"http error", Reply::http(404, "gone"), 404, "text/html;charset=UTF-8", "gone"},
      {"gbk", Reply::result(100, "中文").inGbk(), 200, "application/json;charset=GBK",
       "{\"resultStatus\":100,\"memo\":\"\xD6\xD0\xCE\xC4\"}"},
      {"gbk under a utf-8 label", [] { Reply r = Reply::http(200, "中文"); r.encoding = BodyEncoding::Gbk; return r; }(),
       200, "text/html;charset=UTF-8", "\xD6\xD0\xCE\xC4"},
      {"no content type", Reply::http(200, "x", ""), 200, "", "x"},
  };
  for (auto& one : cases) {
    SCOPED_TRACE(one.name);
    gateway.script("queryBalance", one.reply);
    auto c = client();
    auto result = postOperation(c, R"({"operationType":"queryBalance"})");
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, one.status);
    EXPECT_EQ(result->get_header_value("Content-Type"), one.contentType);
    EXPECT_EQ(result->body, one.body);
  }
}

TEST_F(GatewayTest, SendsCookiesAndHeadersAndReadsTheClientsCookies) {
  Reply reply = Reply::success().withCookie("JSESSIONID=abc123; Path=/; HttpOnly").withCookie("lang=zh");
  reply.headers.emplace_back("Location", "/elsewhere");
  gateway.script("login", reply);
  auto c = client();
  auto result = c.Post("/home/mobile.htm", {{"Cookie", "JSESSIONID=old; theme = dark "}},
                       requestBody(R"({"operationType":"login"})"), testing::kFormType);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->get_header_value_count("Set-Cookie"), 2u);
  EXPECT_EQ(result->get_header_value("Set-Cookie", 0), "JSESSIONID=abc123; Path=/; HttpOnly");
  EXPECT_EQ(result->get_header_value("Set-Cookie", 1), "lang=zh");
  EXPECT_EQ(result->get_header_value("Location"), "/elsewhere");

  auto sent = gateway.waitForRequest("login");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->cookies, (std::map<std::string, std::string>{{"JSESSIONID", "old"}, {"theme", "dark"}}));
}

TEST_F(GatewayTest, ConsumesASequenceThenTheStandingReplyThenTheDefault) {
  gateway.scriptSequence("update", {Reply::result(202), Reply::result(203)});
  auto c = client();
  auto status = [&] {
    auto result = postOperation(c, R"({"operationType":"update"})");
    return result ? Json::parse(result->body)["resultStatus"].get<int>() : -1;
  };
  EXPECT_EQ(status(), 202);
  EXPECT_EQ(status(), 203);
  EXPECT_EQ(status(), 9999);  // unscripted
  gateway.script("update", Reply::result(100));
  gateway.scriptSequence("update", {Reply::result(204)});
  EXPECT_EQ(status(), 204);
  EXPECT_EQ(status(), 100);
  EXPECT_EQ(status(), 100);
}

TEST_F(GatewayTest, HandlersSeeTheDecodedRequestAndTheFallbackAnswersTheRest) {
  gateway.scriptHandler("queryTradeDetail", [](const RecordedRequest& request) {
    return Reply::success({{"tradeNO", request.field("tradeNO")}});
  });
  gateway.setFallback([](const RecordedRequest& request) { return Reply::result(300, request.operation); });
  auto c = client();
  auto detail = postOperation(c, R"({"operationType":"queryTradeDetail","tradeNO":"T1"})");
  auto other = postOperation(c, R"({"operationType":"getMsgCount"})");
  ASSERT_TRUE(detail && other);
  EXPECT_EQ(detail->body, R"({"resultStatus":100,"tradeNO":"T1"})");
  EXPECT_EQ(other->body, R"({"resultStatus":300,"memo":"getMsgCount"})");
}

TEST_F(GatewayTest, RecordsInArrivalOrderAndCountsConnections) {
  auto first = client();
  first.set_keep_alive(true);
  for (const char* op : {"a", "b", "c"}) {
    ASSERT_TRUE(postOperation(first, std::string(R"({"operationType":")") + op + "\"}"));
  }
  EXPECT_EQ(gateway.connectionsAccepted(), 1u);
  auto second = client();
  ASSERT_TRUE(postOperation(second, R"({"operationType":"d"})"));
  EXPECT_EQ(gateway.connectionsAccepted(), 2u);

  auto recorded = gateway.requests();
  ASSERT_EQ(recorded.size(), 4u);
  std::string order;
  for (std::size_t i = 0; i < recorded.size(); ++i) {
    EXPECT_EQ(recorded[i].index, i);
    order += recorded[i].operation;
  }
  EXPECT_EQ(order, "abcd");
  EXPECT_EQ(recorded[0].connection, recorded[2].connection);
  EXPECT_NE(recorded[2].connection, recorded[3].connection);
}

TEST_F(GatewayTest, ClosesTheConnectionWithoutAReply) {
  gateway.script("login", Reply::close());
  auto c = client();
  auto result = postOperation(c, R"({"operationType":"login"})");
  EXPECT_FALSE(result);
  EXPECT_TRUE(gateway.waitForRequest("login"));
}

TEST_F(GatewayTest, AStalledRequestAnswersWhenReleased) {
  gateway.script("queryBalance", Reply::stall(Reply::result(100, "late")));
  auto answer = std::async(std::launch::async, [this] {
    auto c = client();
    auto result = postOperation(c, R"({"operationType":"queryBalance"})");
    return result ? result->body : std::string("no reply");
  });
  ASSERT_TRUE(gateway.waitForRequest("queryBalance"));
  gateway.releaseStalled();
  EXPECT_EQ(answer.get(), R"({"resultStatus":100,"memo":"late"})");
  EXPECT_EQ(gateway.abandonedCount(), 0u);
}

// A client that gives up while its request is held or delayed is noticed at once.
TEST_F(GatewayTest, NoticesAClientThatGivesUp) {
  gateway.script("stalled", Reply::stall());
  gateway.script("delayed", Reply::success().withDelay(std::chrono::minutes(5)));
  for (const char* op : {"stalled", "delayed"}) {
    auto c = client();
    c.set_read_timeout(0, 50'000);
    EXPECT_FALSE(postOperation(c, std::string(R"({"operationType":")") + op + "\"}"));
  }
  EXPECT_TRUE(gateway.waitForAbandoned(2));
  EXPECT_EQ(gateway.stalledCount(), 0u);
}

TEST_F(GatewayTest, StopEndsHeldRequestsAndIdleConnections) {
  gateway.script("stalled", Reply::stall());
  auto idle = client();
  idle.set_keep_alive(true);
  ASSERT_TRUE(postOperation(idle, R"({"operationType":"x"})"));
  auto held = std::async(std::launch::async, [this] {
    auto c = client();
    return static_cast<bool>(postOperation(c, R"({"operationType":"stalled"})"));
  });
  ASSERT_TRUE(gateway.waitForRequest("stalled"));
  gateway.stop();
  EXPECT_FALSE(held.get());
}

TEST_F(GatewayTest, ServesPagesAndFiles) {
  testing::ScratchDir dir;
  const std::string image("\x89PNG\r\n\x1a\n\0\x01", 10);
  std::ofstream(dir.path() / "code.png", std::ios::binary) << image;
  gateway.servePage("/puc/webMC.htm", Reply::http(200, "<html>手机</html>", "text/html;charset=UTF-8")
                                          .withCookie("JSESSIONID=page"));
  gateway.serveFile("/checkcode.png", dir.path() / "code.png", "image/png");

  auto c = client();
  auto page = c.Post("/puc/webMC.htm?from=menu", "clientID=1", testing::kFormType);
  auto file = c.Get("/checkcode.png");
  auto missing = c.Get("/nothing.htm");
  ASSERT_TRUE(page && file && missing);
  EXPECT_EQ(page->body, "<html>手机</html>");
  EXPECT_EQ(page->get_header_value("Set-Cookie"), "JSESSIONID=page");
  EXPECT_EQ(file->body, image);
  EXPECT_EQ(file->get_header_value("Content-Type"), "image/png");
  EXPECT_EQ(missing->status, 404);

  auto sent = gateway.waitForPath("/puc/webMC.htm");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->query, "from=menu");
  EXPECT_EQ(sent->form, (std::vector<std::pair<std::string, std::string>>{{"clientID", "1"}}));
}

TEST_F(GatewayTest, HandsOutTheRsaKeyUnlessScriptedOtherwise) {
  auto c = client();
  auto result = postOperation(c, R"({"operationType":"getRSAPKey","clientID":"x"})");
  ASSERT_TRUE(result);
  auto reply = Json::parse(result->body);
  EXPECT_EQ(reply["resultStatus"], 100);
  EXPECT_EQ(reply["rsaPK"], gateway.key().publicKeyText());
  EXPECT_FALSE(reply["rsaTS"].get<std::string>().empty());

  gateway.script("getRSAPKey", Reply::result(200, "refused"));
  result = postOperation(c, R"({"operationType":"getRSAPKey","clientID":"x"})");
  ASSERT_TRUE(result);
  EXPECT_EQ(Json::parse(result->body)["resultStatus"], 200);
}

TEST_F(GatewayTest, WaitingForARequestThatNeverComesTimesOut) {
  EXPECT_FALSE(gateway.waitForRequest("never", 1, std::chrono::milliseconds(1)));
}

TEST(GatewayScriptFile, AppliesOperationsSequencesAndPages) {
  testing::ScratchDir dir;
  std::ofstream(dir.path() / "page.html") << "<p>页面</p>";
  std::ofstream(dir.path() / "script.json") << R"({
    "operations": {
      "queryBalance": {"body": {"resultStatus": 100, "currentBalance": "8.00"}, "setCookie": ["a=1"]},
      "login": [{"action": "close"}, {"status": 500, "body": "oops", "contentType": "text/plain"}],
      "getMsgCount": {"body": {"resultStatus": 100, "msgCount": 2, "memo": "新"}, "encoding": "gbk",
                      "contentType": "text/html;charset=GBK"}
    },
    "pages": {"/puc/webMC.htm": {"file": "page.html", "contentType": "text/html;charset=UTF-8"}}
  })";
  TestGateway gateway;
  loadScriptFile(gateway, dir.path() / "script.json");
  gateway.start();
  httplib::Client c(gateway.httpUrl());

  auto balance = postOperation(c, R"({"operationType":"queryBalance"})");
  ASSERT_TRUE(balance);
  EXPECT_EQ(balance->body, R"({"resultStatus":100,"currentBalance":"8.00"})");
  EXPECT_EQ(balance->get_header_value("Set-Cookie"), "a=1");
  EXPECT_FALSE(postOperation(c, R"({"operationType":"login"})"));
  auto second = postOperation(c, R"({"operationType":"login"})");
  ASSERT_TRUE(second);
  EXPECT_EQ(second->status, 500);
  auto count = postOperation(c, R"({"operationType":"getMsgCount"})");
  ASSERT_TRUE(count);
  EXPECT_EQ(count->body, "{\"resultStatus\":100,\"msgCount\":2,\"memo\":\"\xD0\xC2\"}");
  auto page = c.Get("/puc/webMC.htm");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->body, "<p>页面</p>");
}

TEST(GatewayScriptFile, RefusesMalformedScripts) {
  testing::ScratchDir dir;
  TestGateway gateway;
  for (const char* text : {"[1]", R"({"operations": {"x": {"action": "explode"}}})",
                           R"({"operations": {"x": {"file": "missing.json"}}})", R"({"pages": []})", "{"}) {
    SCOPED_TRACE(text);
    std::ofstream(dir.path() / "bad.json") << text;
    EXPECT_THROW(loadScriptFile(gateway, dir.path() / "bad.json"), std::runtime_error);
  }
}

}  // namespace
}  // namespace testgateway
