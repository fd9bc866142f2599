// The local gateway's answers, byte for byte as a browser reads them, for requests and the
// results the order-pay callback gives; and how a request that arrives slowly is read.
#include "http_server.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "dovrel_test_support.h"
#include "testing/clock.h"

namespace {

using dovrel_test::BrowserConnection;
using dovrel_test::Gbk;
using dovrel_test::Utf8;

// The callback's script and what it was given.
struct Script {
  int code = 0;
  std::u16string text;
  int calls = 0;
  std::u16string order;
};
Script g_script;

int ScriptedOrderPay(const WCHAR* order, WCHAR* result, DWORD* capacity)
{
  ++g_script.calls;
  g_script.order = order;
  EXPECT_EQ(*capacity, 4095u);
  EXPECT_EQ(result[0], u'\0');
  g_script.text.copy(result, std::min<size_t>(g_script.text.size(), *capacity));
  return g_script.code;
}

std::string Redirect(const std::string& location)
{
  return "HTTP/1.1 300 Redirect Page\r\nServer: Korvex HttpServer\r\nDate: \r\nLocation:" + location +
         "\r\nContent-Type: text/html\r\nAccept-Ranges: bytes\r\n\r\n";
}

std::string ErrorPage(const char16_t* detail)
{
  std::string notFound = Gbk(u"未找到");
  std::string page = "<Html>\n<Head><Title>HTTP 404 (" + notFound + ")</Title>\n</Head>\n<Body>\n<h1>" + notFound +
                     "</h1>\n<h2>" + Gbk(u"错误详细描述：") + Gbk(detail) + "</h2>\n</Body>\n</Html>";
  return "HTTP/1.1 404 " + notFound +
         "\r\nServer: Korvex HttpServer\r\nDate: \r\nContent-Type: text/html\r\nAccept-Ranges: bytes\r\nContent-Length: " +
         std::to_string(page.size()) + "\r\n\r\n" + page;
}

std::string Post(const std::string& target, const std::string& body)
{
  return "POST " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: " + std::to_string(body.size()) +
         "\r\n\r\n" + body;
}

// The whole answer to a request that is in the socket before the server reads.
std::string Answer(const std::string& request)
{
  BrowserConnection connection;
  connection.Send(request);
  SOCKET s = connection.Release();
  EXPECT_EQ(HandleHttpConnection(s), 0);
  closesocket(s);
  return connection.ReadAll();
}

class HttpServer : public common_test::DeviceRootTest {
 protected:
  void SetUp() override
  {
    g_script = Script();
    SetOrderPayCallback(ScriptedOrderPay);
  }
  void TearDown() override { SetOrderPayCallback(nullptr); }
};

TEST_F(HttpServer, AnswersEachRequestWithTheExactBytes)
{
  const std::string gbkGoods = Gbk(u"商品");
  struct Case {
    const char* what;
    std::string request;
    int code;
    std::u16string text;
    std::string answer;
    std::u16string order;  // empty: the callback is not called
  } cases[] = {
      {"an order with a return_url is redirected there with the result",
       "GET /gateway.do?service=order_pay&_input_charset=utf-8&return_url=http://shop.cn/back&subject=" +
           Utf8(u"书") + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n",
       0, u"trade_no=42&状态=成功", Redirect("http://shop.cn/back?" + Utf8(u"trade_no=42&状态=成功")),
       u"service=order_pay&_input_charset=utf-8&return_url=http://shop.cn/back&subject=书"},
      {"a return_url that holds '?' gets a second one",
       "GET /gateway.do?service=order_pay&return_url=http://shop.cn/back?x=1 HTTP/1.1\r\n\r\n", 0, u"",
       Redirect("http://shop.cn/back?x=1?result=success"), u"service=order_pay&return_url=http://shop.cn/back?x=1"},
      {"without a return_url a paid order answers the bare result",
       "GET /gateway.do?service=order_pay HTTP/1.1\r\n\r\n", 0, u"", "result=success", u"service=order_pay"},
      {"... a failed one 'result=fail'", "GET /gateway.do?service=order_pay HTTP/1.1\r\n\r\n", 4, u"", "result=fail",
       u"service=order_pay"},
      {"... and the trade data as it came", "GET /gateway.do?service=order_pay HTTP/1.1\r\n\r\n", 0, u"trade=9",
       "trade=9", u"service=order_pay"},
      {"an upper-case charset decodes with the ANSI code page",
       "GET /gateway.do?service=order_pay&_input_charset=UTF-8&goods=" + gbkGoods + " HTTP/1.1\r\n\r\n", 0, u"",
       "result=success", u"service=order_pay&_input_charset=UTF-8&goods=商品"},
      {"a POST reads its form and pays with its body; a charset in the body is not the query's",
       Post("/gateway.do", "service=order_pay&_input_charset=utf-8&goods=" + gbkGoods + "&return_url=http://m.cn/r"),
       0, u"ok", Redirect("http://m.cn/r?ok"),
       u"service=order_pay&_input_charset=utf-8&goods=商品&return_url=http://m.cn/r"},
      {"a method in lower case", "get /gateway.do?service=order_pay HTTP/1.1\r\n\r\n", 0, u"", Gbk(u"非法访问"), u""},
      {"another path", "GET /Gateway.do?service=order_pay HTTP/1.1\r\n\r\n", 0, u"", Gbk(u"非法访问"), u""},
      {"another path, with a return_url",
       "GET /Gateway.do?service=order_pay&return_url=http://m.cn/r HTTP/1.1\r\n\r\n", 0, u"",
       ErrorPage(u"非法访问"), u""},
      {"another service", "GET /gateway.do?service=trade HTTP/1.1\r\n\r\n", 0, u"",
       Gbk(u"您访问的服务接口没有定义"), u""},
      {"another service, with a return_url", "GET /gateway.do?service=trade&return_url=http://m.cn/r HTTP/1.1\r\n\r\n",
       0, u"", ErrorPage(u"您访问的服务接口没有定义"), u""},
      {"a return_url with a line break gets no Location",
       Post("/gateway.do", "service=order_pay&return_url=http://m.cn/r\r\nSet-Cookie: a=b"), 0, u"",
       "result=success", u"service=order_pay&return_url=http://m.cn/r\r\nSet-Cookie: a=b"},
      {"a result with a line break gets no Location",
       "GET /gateway.do?service=order_pay&return_url=http://m.cn/r HTTP/1.1\r\n\r\n", 0, u"a\r\nb", "a\r\nb",
       u"service=order_pay&return_url=http://m.cn/r"},
      {"a Location of 4095 bytes is sent",
       "GET /gateway.do?service=order_pay&return_url=http://m.cn/r HTTP/1.1\r\n\r\n", 0,
       std::u16string(4095 - 14, u'x'), Redirect("http://m.cn/r?" + std::string(4081, 'x')),
       u"service=order_pay&return_url=http://m.cn/r"},
      {"one of 4096 bytes is not",
       "GET /gateway.do?service=order_pay&return_url=http://m.cn/r HTTP/1.1\r\n\r\n", 0,
       std::u16string(4096 - 14, u'x'), std::string(4082, 'x'), u"service=order_pay&return_url=http://m.cn/r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_script = Script{c.code, c.text, 0, u""};
    EXPECT_EQ(Answer(c.request), c.answer);
    EXPECT_EQ(g_script.calls, c.order.empty() ? 0 : 1);
    EXPECT_EQ(g_script.order, c.order);
  }
}

TEST_F(HttpServer, WithoutACallbackTheOrderFails)
{
  SetOrderPayCallback(nullptr);
  EXPECT_EQ(Answer("GET /gateway.do?service=order_pay HTTP/1.1\r\n\r\n"), "result=fail");
}

TEST_F(HttpServer, ARequestIsReadUntilItsBodyHasArrived)
{
  device::testing::UseVirtualClock(SYSTEMTIME{2024, 5, 3, 1, 9, 30, 0, 0});
  BrowserConnection connection;
  connection.Send("POST /gateway.do HTTP/1.1\r\nContent-Length: 31\r\n\r\nservice=order_pay");
  std::thread server([&] { HandleHttpConnection(connection.service()); });
  // The server waits for the rest of the body, which comes in a segment of its own.
  EXPECT_TRUE(device::testing::WaitForClockWaiters(1));
  connection.Send("&trade_no=7890");
  server.join();
  closesocket(connection.Release());
  EXPECT_EQ(connection.ReadAll(), "result=success");
  EXPECT_EQ(g_script.order, u"service=order_pay&trade_no=7890");
}

TEST_F(HttpServer, ARequestThatDidNotWhollyArriveInTimeIsRefused)
{
  device::testing::UseVirtualClock(SYSTEMTIME{2024, 5, 3, 1, 9, 30, 0, 0});
  struct Case {
    const char* what;
    std::string sent;
    std::string answer;
    std::u16string order;
  } cases[] = {
      {"a head that never ends is refused", "GET /gateway.do?service=order_pay HTTP/1.1\r\nHost: 127.0.0.1\r\n",
       Gbk(u"非法访问"), u""},
      {"a body cut short starts no payment",
       "POST /gateway.do HTTP/1.1\r\nContent-Length: 99\r\n\r\nservice=order_pay", Gbk(u"非法访问"), u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_script = Script();
    BrowserConnection connection;
    connection.Send(c.sent);
    std::thread server([&] { HandleHttpConnection(connection.service()); });
    EXPECT_TRUE(device::testing::WaitForClockWaiters(1));
    device::testing::AdvanceClock(kRequestTimeoutMs);
    server.join();
    closesocket(connection.Release());
    EXPECT_EQ(connection.ReadAll(), c.answer);
    EXPECT_EQ(g_script.order, c.order);
  }
}

// A POST is paid only with the whole body its head announced, within the request's limit.
TEST_F(HttpServer, APostIsPaidOnlyWithItsWholeBody)
{
  const std::string head = "POST /gateway.do HTTP/1.1\r\nContent-Length: 0000\r\n\r\n";
  // A body that fills the limit with its head, and one a byte longer.
  auto filling = [&](size_t extra) {
    std::string body = "service=order_pay&x=";
    body.resize(kRequestLimit - head.size() + extra, 'x');
    return body;
  };
  auto withLength = [&](const std::string& body) {
    std::string request = head;
    request.replace(request.find("0000"), 4, std::to_string(body.size()));
    return request + body;
  };
  struct Case {
    const char* what;
    std::string request;
    bool endSending;
    std::string answer;
    bool paid;
  } cases[] = {
      {"the sender stopped before the body was whole",
       "POST /gateway.do HTTP/1.1\r\nContent-Length: 40\r\n\r\nservice=order_pay", true, Gbk(u"非法访问"), false},
      {"a head and body of the limit are paid", withLength(filling(0)), false, "result=success", true},
      {"a byte more passes the limit, though all of it was sent", withLength(filling(1)), false, Gbk(u"非法访问"),
       false},
      {"a length far past the limit is refused without waiting for it",
       "POST /gateway.do HTTP/1.1\r\nContent-Length: 999999999\r\n\r\nservice=order_pay", false, Gbk(u"非法访问"),
       false},
      {"without Content-Length there is no body, so no service",
       "POST /gateway.do?_input_charset=utf-8 HTTP/1.1\r\n\r\nservice=order_pay", false,
       Gbk(u"您访问的服务接口没有定义"), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    g_script = Script();
    BrowserConnection connection;
    connection.Send(c.request);
    if (c.endSending) {
      connection.EndSending();
    }
    SOCKET s = connection.Release();
    HandleHttpConnection(s);
    closesocket(s);
    EXPECT_EQ(connection.ReadAll(), c.answer);
    EXPECT_EQ(g_script.calls, c.paid ? 1 : 0);
  }
}

TEST_F(HttpServer, ReadsNoMoreThanItsLimit)
{
  // A head as long as the limit never ends within it.
  std::string request = "GET /gateway.do?service=order_pay&x=";
  request.resize(kRequestLimit, 'x');
  BrowserConnection connection;
  connection.Send(request);
  SOCKET s = connection.Release();
  HandleHttpConnection(s);
  closesocket(s);
  EXPECT_EQ(connection.ReadAll(), Gbk(u"非法访问"));
  EXPECT_EQ(g_script.calls, 0);
}

}  // namespace
