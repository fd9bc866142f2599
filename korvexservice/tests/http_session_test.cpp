// The HTTP session against the test gateway: the request body on the wire, the URL rules,
// reply statuses and charsets, connection reuse, TLS, cancel and time-out.
#include "http_session.h"

#include "service_device.h"
#include "testgateway/loopback_proxy.h"
#include "testgateway/test_gateway.h"
#include "testing/clock.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <tuple>
#include <utility>

namespace {

using svc_test::kGenerousWait;
using svc_test::ServiceDevice;
using testgateway::GatewayOptions;
using testgateway::Reply;
using testgateway::ServerCertificate;
using testgateway::TestGateway;

CStringW Wide(const std::string& utf8)
{
  return CStringW(std::u16string(utf8.begin(), utf8.end()).c_str());
}

struct Exchange {
  HttpResult result;
  CStringW text;
};

Exchange PostAndRead(CHttpSession& session, const WCHAR* url, const WCHAR* body, HANDLE cancel = nullptr,
                     DWORD timeout = kGenerousWait)
{
  Exchange exchange{session.Post(nullptr, url, body), {}};
  if (exchange.result == kHttpOk) {
    exchange.result = session.ReadResponse(exchange.text, cancel, timeout);
  }
  return exchange;
}

class HttpSessionTest : public ::testing::Test {
 protected:
  void SetUp() override { gateway_.start(); }
  CStringW RequestUrl() const { return Wide(gateway_.requestUrl()); }
  CStringW PageUrl(const std::string& path) const { return Wide(gateway_.httpUrl() + path); }

  ServiceDevice device_;
  TestGateway gateway_;
  CHttpSession session_;
};

TEST_F(HttpSessionTest, BodiesAreEncodedAsTheGatewayExpectsAndNeverCarryAnEarlierBody)
{
  struct Case {
    const WCHAR* body;
    std::string wire;
  } cases[] = {
      {u"{\"a\":\"b c\"}", "requestData=%7b%22a%22:%22b%20c%22%7d"},
      {u"{\"k\":\"!'()*-._~/:%+&=\\n\"}", "requestData=%7b%22k%22:%22!'()*-._~/:%25%2b%26%3d%5cn%22%7d"},
      {u"{\"memo\":\"成功\"}", "requestData=%7b%22memo%22:%22%e6%88%90%e5%8a%9f%22%7d"},
      {u"a=1&b=成 功", "a=1&b=\xe6\x88\x90 \xe5\x8a\x9f"},
      // A long body first, so that a body which sends less shows any bytes left behind.
      {u"{\"password\":\"0123456789abcdef0123456789abcdef\"}",
       "requestData=%7b%22password%22:%220123456789abcdef0123456789abcdef%22%7d"},
      {u"", ""},
      {u"0", "0"},
      {u"0{\"x\":1}", "0{\"x\":1}"},
      {nullptr, ""},
  };
  size_t sent = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wire);
    EXPECT_EQ(PostAndRead(session_, RequestUrl(), c.body).result, kHttpOk);
    std::vector<testgateway::RecordedRequest> requests = gateway_.requests();
    ASSERT_EQ(requests.size(), ++sent);
    EXPECT_EQ(requests.back().body, c.wire);
    EXPECT_EQ(requests.back().header("Content-Length"), std::to_string(c.wire.size()));
    EXPECT_EQ(requests.back().header("Content-Type"), "application/x-www-form-urlencoded");
  }
  EXPECT_EQ(gateway_.requests().front().field("a"), "b c");
}

TEST_F(HttpSessionTest, UrlsThatAreEmptyTooLongOrUnusableGiveOneBeforeAnythingIsSent)
{
  std::string base = gateway_.httpUrl() + "/home/mobile.htm";
  auto padded = [&](const std::string& head, size_t escapedLength, size_t extraEscapes) {
    // head, then "?q=" and x's up to the escaped length; each blank in head counts three.
    std::string url = head + "?q=";
    size_t length = url.size() + 2 * extraEscapes;
    return url + std::string(escapedLength - length, 'x');
  };
  struct Case {
    std::string url;
    bool bad;
  } cases[] = {
      {"", true},
      {padded(base, 2082, 0), false},
      {padded(base, 2083, 0), true},
      {padded(gateway_.httpUrl() + "/home/mo bile.htm", 2082, 1), false},
      {padded(gateway_.httpUrl() + "/home/mo bile.htm", 2083, 1), true},
      {"http://" + std::string(257, 'h') + "/home/mobile.htm", true},
      {gateway_.httpUrl() + "/" + std::string(2048, 'p'), true},
      {"ftp://127.0.0.1/home/mobile.htm", true},
      {"127.0.0.1/home/mobile.htm", true},
      {"http://user@127.0.0.1/home/mobile.htm", true},
      {"http://127.0.0.1:65536/home/mobile.htm", true},
      {"http:///home/mobile.htm", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url.substr(0, 60) + " (" + std::to_string(c.url.size()) + ")");
    Exchange exchange = PostAndRead(session_, Wide(c.url), u"{}");
    if (c.bad) {
      EXPECT_EQ(exchange.result, kHttpBadUrl);
    } else {
      EXPECT_NE(exchange.result, kHttpBadUrl);
    }
  }
  EXPECT_EQ(session_.Post(nullptr, nullptr, u"{}"), kHttpBadUrl);
  EXPECT_EQ(gateway_.requests().size(), 2u);  // the two URLs that fit
  EXPECT_EQ(gateway_.connectionsAccepted(), 1u);
}

TEST_F(HttpSessionTest, RepliesAreTextOnlyWithStatus200InTheCharsetTheyName)
{
  std::string long_text;
  for (int i = 0; i < 700; ++i) {
    long_text += "交易";  // six bytes each in UTF-8: several read chunks
  }
  Reply noType = Reply::result(100, "成功");
  noType.contentType.clear();
  struct Case {
    Reply reply;
    HttpResult result;
    std::string text;  // UTF-8
  } cases[] = {
      {Reply::result(100, "成功"), kHttpOk, R"({"resultStatus":100,"memo":"成功"})"},
      {Reply::result(100, "成功").inGbk(), kHttpOk, R"({"resultStatus":100,"memo":"成功"})"},
      {Reply::http(200, "<p>付款</p>", "text/html; charset=utf-8"), kHttpOk, "<p>付款</p>"},
      {Reply::http(200, "<p>付款</p>", "text/html; Charset=UTF-8"), kHttpOk, "<p>付款</p>"},
      {std::move(noType).inGbk(), kHttpOk, R"({"resultStatus":100,"memo":"成功"})"},
      {Reply::http(200, long_text, "text/plain;charset=UTF-8"), kHttpOk, long_text},
      {Reply::http(200, ""), kHttpOk, ""},
      {Reply::http(404, "missing"), kHttpConnectFailed, ""},
      {Reply::http(500, R"({"resultStatus":100})"), kHttpConnectFailed, ""},
      {Reply::http(201, "created"), kHttpConnectFailed, ""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    gateway_.servePage("/case" + std::to_string(i), cases[i].reply);
  }
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(i);
    Exchange exchange = PostAndRead(session_, PageUrl("/case" + std::to_string(i)), u"{}");
    EXPECT_EQ(exchange.result, cases[i].result);
    if (cases[i].result == kHttpOk) {
      CStringA utf8;
      int size = WideCharToMultiByte(CP_UTF8, 0, exchange.text, exchange.text.GetLength(), nullptr, 0, nullptr, nullptr);
      WideCharToMultiByte(CP_UTF8, 0, exchange.text, exchange.text.GetLength(), utf8.GetBufferSetLength(size), size,
                          nullptr, nullptr);
      EXPECT_EQ(std::string(utf8.GetString(), utf8.GetLength()), cases[i].text);
    }
  }
}

TEST_F(HttpSessionTest, PathAndQueryAreSentWithoutTheFragment)
{
  gateway_.servePage("/puc/webMC.htm", Reply::http(200, "ok"));
  Exchange exchange = PostAndRead(session_, PageUrl("/puc/webMC.htm?billNO=12&from=a%20b#top"), u"{}");
  EXPECT_EQ(exchange.result, kHttpOk);
  std::optional<testgateway::RecordedRequest> recorded = gateway_.waitForPath("/puc/webMC.htm");
  ASSERT_TRUE(recorded);
  EXPECT_EQ(recorded->target, "/puc/webMC.htm?billNO=12&from=a%20b");
  EXPECT_EQ(recorded->query, "billNO=12&from=a%20b");
}

TEST_F(HttpSessionTest, AChangedProxyOpensANewInternetHandle)
{
  testgateway::LoopbackProxy proxy;
  proxy.start();
  CStringW through = Wide(proxy.address());
  const WCHAR* proxies[] = {through, nullptr, through};
  for (const WCHAR* used : proxies) {
    ASSERT_EQ(session_.Post(used, RequestUrl(), u"{\"operationType\":\"queryBalance\"}"), kHttpOk);
    CStringW text;
    EXPECT_EQ(session_.ReadResponse(text, nullptr, kGenerousWait), kHttpOk);
  }
  EXPECT_EQ(proxy.requestCount(), 2u);
  std::vector<testgateway::RecordedRequest> requests = gateway_.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].header("User-Agent"), "zunmobilep");
  EXPECT_EQ(requests[1].header("User-Agent"), "zunmobile");
  EXPECT_EQ(requests[2].header("User-Agent"), "zunmobilep");
}

class HttpsSessionTest : public ::testing::Test {
 protected:
  explicit HttpsSessionTest(ServerCertificate certificate = ServerCertificate::Trusted,
                            std::string networkSettings = "")
      : gateway_(GatewayOptions{.tlsDir = device_.Host("certs"), .certificate = certificate}),
        networkSettings_(std::move(networkSettings))
  {
  }
  void SetUp() override
  {
    gateway_.start();
    std::ofstream(device_.Host("device.ini")) << "[network]\nca_bundle = certs/ca.pem\n" << networkSettings_;
  }

  ServiceDevice device_;
  TestGateway gateway_;
  std::string networkSettings_;
  CHttpSession session_;
};

TEST_F(HttpsSessionTest, ConnectionsAreReusedOnlyForTheSameSchemeHostAndPortAndTlsFollowsTheScheme)
{
  CStringW plain = Wide(gateway_.httpUrl() + testgateway::kRequestPath);
  CStringW secure = Wide(gateway_.httpsUrl() + testgateway::kRequestPath);
  CStringW secureByName = Wide("https://localhost:" + std::to_string(gateway_.httpsPort()) + testgateway::kRequestPath);
  const WCHAR* order[] = {plain, plain, secure, secure, plain, secureByName};
  for (const WCHAR* url : order) {
    EXPECT_EQ(PostAndRead(session_, url, u"{\"operationType\":\"queryBalance\"}").result, kHttpOk);
  }
  std::vector<testgateway::RecordedRequest> requests = gateway_.requests();
  ASSERT_EQ(requests.size(), 6u);
  bool tls[] = {false, false, true, true, false, true};
  for (size_t i = 0; i < requests.size(); ++i) {
    EXPECT_EQ(requests[i].tls, tls[i]) << i;
  }
  EXPECT_EQ(requests[0].connection, requests[1].connection);
  EXPECT_EQ(requests[2].connection, requests[3].connection);
  EXPECT_NE(requests[1].connection, requests[2].connection);
}

// The session asks to ignore no certificate error, so even the device's debug setting that
// would let it lets none through.
struct RefusedCertificate : HttpsSessionTest,
                            ::testing::WithParamInterface<std::tuple<ServerCertificate, bool>> {
  RefusedCertificate()
      : HttpsSessionTest(std::get<0>(GetParam()), std::get<1>(GetParam()) ? "debug_insecure_tls = yes\n" : "")
  {
  }
};

TEST_P(RefusedCertificate, FailsTheRequest)
{
  CStringW url = Wide(gateway_.httpsUrl() + testgateway::kRequestPath);
  Exchange exchange = PostAndRead(session_, url, u"{\"operationType\":\"login\"}");
  EXPECT_EQ(exchange.result, kHttpConnectFailed);
  EXPECT_TRUE(exchange.text.IsEmpty());
  EXPECT_TRUE(gateway_.requests().empty());
}

INSTANTIATE_TEST_SUITE_P(Certificates, RefusedCertificate,
                         ::testing::Combine(::testing::Values(ServerCertificate::Untrusted,
                                                              ServerCertificate::WrongHost),
                                            ::testing::Bool()));

TEST_F(HttpSessionTest, ACancelledReadGivesNineAndTheNextRequestGetsItsOwnReply)
{
  gateway_.script("queryTransList", Reply::stall());
  gateway_.script("queryBalance", Reply::success({{"currentBalance", "12.00"}}));
  HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_EQ(session_.Post(nullptr, RequestUrl(), u"{\"operationType\":\"queryTransList\"}"), kHttpOk);
  ASSERT_TRUE(gateway_.waitForRequest("queryTransList"));
  SetEvent(cancel);
  CStringW text = u"untouched";
  EXPECT_EQ(session_.ReadResponse(text, cancel, INFINITE), kHttpCancelled);
  EXPECT_TRUE(gateway_.waitForAbandoned(1));

  CloseHandle(cancel);
  Exchange next = PostAndRead(session_, RequestUrl(), u"{\"operationType\":\"queryBalance\"}");
  EXPECT_EQ(next.result, kHttpOk);
  EXPECT_EQ(next.text, CStringW(u"{\"resultStatus\":100,\"currentBalance\":\"12.00\"}"));
}

TEST_F(HttpSessionTest, AReadThatOutlastsItsTimeOutGivesEightAndTheNextRequestGetsItsOwnReply)
{
  device::testing::UseVirtualClock(SYSTEMTIME{2026, 1, 1, 5, 9, 0, 0, 0});
  gateway_.script("queryTransList", Reply::stall());
  gateway_.script("queryBalance", Reply::success());
  Exchange late{};
  std::thread reader(
      [&] { late = PostAndRead(session_, RequestUrl(), u"{\"operationType\":\"queryTransList\"}", nullptr, 5000); });
  ASSERT_TRUE(gateway_.waitForRequest("queryTransList"));
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(4999);
  device::testing::AdvanceClock(1);
  reader.join();
  EXPECT_EQ(late.result, kHttpTimeout);
  EXPECT_TRUE(gateway_.waitForAbandoned(1));
  gateway_.releaseStalled();

  Exchange next = PostAndRead(session_, RequestUrl(), u"{\"operationType\":\"queryBalance\"}", nullptr, INFINITE);
  EXPECT_EQ(next.result, kHttpOk);
  EXPECT_EQ(next.text, CStringW(u"{\"resultStatus\":100}"));
}

// Sees the bytes a session keeps between requests.
class PeekingSession : public CHttpSession {
 public:
  bool Keeps(const std::string& bytes) const
  {
    return std::search(m_buffer.begin(), m_buffer.end(), bytes.begin(), bytes.end()) != m_buffer.end();
  }
};

TEST_F(HttpSessionTest, ARequestBodyIsNotKeptInTheSessionOnceTheRequestIsOver)
{
  // A body may carry a card password in plain text; the reply is much shorter than the body.
  gateway_.script("easyownDeposit", Reply::success());
  gateway_.script("draftDeposit", Reply::stall());
  struct Case {
    const char* operation;
    bool cancel;
  } cases[] = {{"easyownDeposit", false}, {"draftDeposit", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation);
    PeekingSession session;
    std::string body = std::string("{\"operationType\":\"") + c.operation + "\",\"memo\":\"" +
                       std::string(300, 'x') + "\",\"cardPass\":\"5417395866\"}";
    HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_EQ(session.Post(nullptr, RequestUrl(), Wide(body)), kHttpOk);
    ASSERT_TRUE(gateway_.waitForRequest(c.operation));
    if (c.cancel) {
      SetEvent(cancel);
    }
    CStringW text;
    EXPECT_EQ(session.ReadResponse(text, cancel, kGenerousWait), c.cancel ? kHttpCancelled : kHttpOk);
    EXPECT_FALSE(session.Keeps("5417395866"));
    CloseHandle(cancel);
  }
}

}  // namespace
