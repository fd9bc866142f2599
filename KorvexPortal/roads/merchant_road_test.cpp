// The merchant's road: the demo merchant page's order goes from a browser to the device's local
// gateway, where the service host runs Dovrel.dll; Dovrel starts the installed client on the order,
// the user types the payment password and pays, and the browser is sent on to the merchant's
// return_url with the outcome, whose page shows it. (The client runs in a process of its own here,
// started by Dovrel as on the device.)
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "road_fixture.h"
#include "services/service_registry.h"

using namespace roads;

namespace {

constexpr int kPasswordField = 1011;

// The body of an HTTP answer, after its head.
std::string BodyOf(const std::string& answer)
{
  size_t end = answer.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

// A browser's GET of a path from 127.0.0.1:port; the whole answer.
std::string Get(uint16_t port, const std::string& pathAndQuery)
{
  return kvtest::LoopbackExchange(port, "GET " + pathAndQuery + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
                                            "\r\nConnection: close\r\n\r\n");
}

// A page's text with the entities the merchant page escapes turned back.
std::string Unescaped(std::string text)
{
  const std::pair<std::string, std::string> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&#39;", "'"}, {"&amp;", "&"}};
  for (const auto& [entity, plain] : entities)
    for (size_t at = text.find(entity); at != std::string::npos; at = text.find(entity, at + 1))
      text.replace(at, entity.size(), plain);
  return text;
}

// Where the page's first link leads; empty without one.
std::string LinkOf(const std::string& page)
{
  size_t start = page.find("<a href=\"");
  if (start == std::string::npos)
    return {};
  start += 9;
  return Unescaped(page.substr(start, page.find('"', start) - start));
}

// The Location an answer sends the browser to; empty when it sends it nowhere.
std::string LocationOf(const std::string& answer)
{
  size_t start = answer.find("\r\nLocation:");
  if (start == std::string::npos)
    return {};
  start += 11;
  while (start < answer.size() && answer[start] == ' ')
    ++start;
  return answer.substr(start, answer.find("\r\n", start) - start);
}

// A browser waiting for the local gateway's answer on a thread of its own, for as long as the
// user takes; joined at the latest when the road ends (after the service host has stopped).
class WaitingBrowser {
 public:
  ~WaitingBrowser()
  {
    if (thread_.joinable())
      thread_.join();
  }
  void Send(uint16_t port, const std::string& pathAndQuery)
  {
    thread_ = std::thread([this, port, pathAndQuery] { answer_ = Get(port, pathAndQuery); });
  }
  const std::string& Answer()
  {
    thread_.join();
    return answer_;
  }

 private:
  std::thread thread_;
  std::string answer_;
};

}  // namespace

TEST_F(RoadTest, PayAMerchantOrderFromTheMerchantPage)
{
  WaitingBrowser browser;
  Install();
  // The device's local gateway listens where the merchant's page sends its orders.
  LONG error = 0;
  std::optional<services::ServiceEntry> dovrel = services::ReadServiceEntry(u"Dovrel", &error);
  ASSERT_TRUE(dovrel) << error;
  dovrel->port = localGatewayPort;
  ASSERT_EQ(static_cast<LONG>(ERROR_SUCCESS), services::WriteServiceEntry(*dovrel));
  kvtest::ServiceHost host;
  ASSERT_TRUE(host.Start({"Dovrel"}));

  // The merchant's page, and its order link followed to the local gateway.
  std::string link = LinkOf(BodyOf(Get(gateway.httpPort(), "/merchant/shop.htm")));
  std::string prefix = "http://127.0.0.1:" + std::to_string(localGatewayPort) + "/gateway.do?";
  ASSERT_EQ(0u, link.rfind(prefix, 0)) << link;
  std::string order = link.substr(prefix.size());
  browser.Send(localGatewayPort, "/gateway.do?" + order);

  // Dovrel starts the client on the order, which the gateway verifies; the order waits for the
  // payment password.
  kvtest::DeviceProgram client;
  ASSERT_TRUE(client.Attach(u"KorvexPortal.exe"));
  auto verification = gateway.waitForRequest("preOrderPay");
  ASSERT_TRUE(verification) << Recorded();
  EXPECT_EQ(order, verification->field("orderData")) << "the order as the page sent it";
  ASSERT_TRUE(client.WaitForKeyboardAt(kPasswordField)) << "the order was not shown for paying";
  ShotOfProgram(client, "order");
  ASSERT_TRUE(client.TypeText(kDemoPayPassword));
  ShotOfProgram(client, "password");
  ASSERT_TRUE(client.PressKey(VK_F1));  // pay

  auto payment = gateway.waitForRequest("orderPay");
  ASSERT_TRUE(payment) << Recorded();
  auto typed = gateway.key().decryptPassword(payment->field("payPassword"));
  ASSERT_TRUE(typed);
  EXPECT_EQ("pay123456", typed->password);

  // The browser goes on to the merchant's return_url with the outcome, and its page says paid.
  const std::string& answer = browser.Answer();
  std::string location = LocationOf(answer);
  std::string resultPage = gateway.httpUrl() + "/merchant/result.htm?";
  ASSERT_EQ(0u, location.rfind(resultPage, 0)) << answer;
  std::string result = Get(gateway.httpPort(), location.substr(gateway.httpUrl().size()));
  EXPECT_NE(std::string::npos, result.find("付款成功")) << result;
  auto returned = gateway.waitForPath("/merchant/result.htm");
  ASSERT_TRUE(returned);
  EXPECT_EQ(location.substr(resultPage.size()), returned->query) << "the wallet's reply as it came";
  // The merchant learns which order was paid, and for how much.
  std::size_t number = order.find("&out_trade_no=");
  ASSERT_NE(std::string::npos, number) << order;
  std::string numberField = order.substr(number + 1, order.find('&', number + 1) - number - 1);
  EXPECT_EQ("result=success&" + numberField + "&total_fee=199.00", returned->query);

  // The client shows its notice until the user answers it, then ends.
  ShotOfProgram(client, "paid");
  ASSERT_TRUE(client.PressKey(VK_F2));
  DWORD exitCode = STILL_ACTIVE;
  ASSERT_TRUE(client.WaitForExit(&exitCode));
  EXPECT_EQ(0u, exitCode);
  EXPECT_EQ(0, host.Stop());
}
