// A merchant order along the whole road on one device: a browser sends it to the service host's
// loopback port, Dovrel.dll starts the real client in order-pay mode (headless), the client has
// the test gateway verify the order, the user (the test, typing into the client's process) gives
// the password and pays or leaves, and the browser is redirected with the outcome.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "base/errors.h"
#include "services/service_registry.h"
#include "testgateway/test_gateway.h"
#include "testing/device_programs.h"
#include "testing/device_root.h"
#include "windows.h"

namespace {

namespace fs = std::filesystem;
using testgateway::Reply;

constexpr char16_t kInstallFolder[] = u"\\Program Files\\Korvex";
constexpr char16_t kPassword[] = u"pay123456";
constexpr int kPasswordField = 1011;

class OrderPayRoad : public ::testing::Test {
 protected:
  void SetUp() override
  {
    gateway_.start();
    std::ofstream(Host("device.ini"), std::ios::binary)
        << "[screen]\nwidth = 240\nheight = 320\n[network]\nca_bundle = "
        << gateway_.tlsFiles().caCertificate.string() << "\ngateway = " << gateway_.httpsUrl() << "\n";
    Place(KV_CLIENT_PROGRAM, "Program Files/Korvex/KorvexPortal.exe");
    Place(KV_DOVREL_LIBRARY, "Program Files/Korvex/Dovrel.dll");
    fs::copy(KV_RESOURCE_OUTPUT "/ModelRes_240x320.dll", Host("Program Files/Korvex/ModelRes_240x320.dll"),
             fs::copy_options::recursive);

    services::ServiceEntry entry;
    entry.name = u"Dovrel";
    entry.dll = std::u16string(kInstallFolder) + u"\\Dovrel.dll";
    entry.prefix = u"PAY";
    entry.instDir = kInstallFolder;
    entry.port = port_ = kvtest::FreeLoopbackPort();
    ASSERT_EQ(services::WriteServiceEntry(entry), static_cast<LONG>(ERROR_SUCCESS));
    ASSERT_TRUE(host_.Start({"Dovrel"}));

    nlohmann::ordered_json order = {{"orderValidate", 1},        {"outTradeNo", "T100"},
                                    {"sellerName", "书香书店"},   {"goodTitle", "编程珠玑"},
                                    {"partnerName", "淘书网"},   {"sellerAccount", "shop@books.cn"},
                                    {"totalFee", "12.50"},       {"userName", "张三"},
                                    {"availableBalance", "88.00"}, {"greeting", "你好"}};
    order.update(gateway_.key().sessionKey());
    stamp_ = order["rsaTS"].get<std::string>();
    gateway_.script("preOrderPay", Reply::success(order));
  }

  void TearDown() override { EXPECT_EQ(host_.Stop(), 0); }

  fs::path Host(const std::string& relative) const { return fs::path(root_.path()) / relative; }

  void Place(const char* built, const std::string& relative) const
  {
    fs::create_directories(Host(relative).parent_path());
    fs::copy_file(built, Host(relative), fs::copy_options::overwrite_existing);
    fs::permissions(Host(relative), fs::perms::owner_all);
  }

  // Sends the order as the merchant's page does, on a thread of its own: the browser waits for
  // the answer for as long as the user takes.
  void SendOrder()
  {
    browser_ = std::thread([this] {
      answer_ = kvtest::LoopbackExchange(
          port_,
          "GET /gateway.do?service=order_pay&_input_charset=utf-8&partner=2088&out_trade_no=T100&total_fee=12.50"
          "&return_url=http://shop.cn/done HTTP/1.1\r\nHost: 127.0.0.1:" +
              std::to_string(port_) + "\r\n\r\n");
    });
  }
  // The browser's whole answer, once the service closed the connection.
  std::string Answer()
  {
    browser_.join();
    return answer_;
  }

  // The client the service started, once it verified the order and waits for the user.
  void AttachVerifiedClient()
  {
    ASSERT_TRUE(client_.Attach(u"KorvexPortal.exe"));
    auto verification = gateway_.waitForRequest("preOrderPay");
    ASSERT_TRUE(verification);
    EXPECT_EQ(verification->field("orderData"),
              "service=order_pay&_input_charset=utf-8&partner=2088&out_trade_no=T100&total_fee=12.50"
              "&return_url=http://shop.cn/done")
        << "the order as the page sent it";
    ASSERT_TRUE(client_.WaitForKeyboardAt(kPasswordField)) << "the order was not shown for paying";
  }

  static std::string Redirect(const std::string& location)
  {
    return "HTTP/1.1 300 Redirect Page\r\nServer: Korvex HttpServer\r\nDate: \r\nLocation:" + location +
           "\r\nContent-Type: text/html\r\nAccept-Ranges: bytes\r\n\r\n";
  }

  device::testing::ScopedDeviceRoot root_;
  testgateway::TestGateway gateway_{testgateway::GatewayOptions{.tlsDir = Host("certs")}};
  kvtest::ServiceHost host_;
  uint16_t port_ = 0;
  std::string stamp_;
  kvtest::DeviceProgram client_;
  std::thread browser_;
  std::string answer_;
};

TEST_F(OrderPayRoad, APaidOrderRedirectsWithTheTradeData)
{
  gateway_.script("orderPay", Reply::success({{"tradeData", "out_trade_no=T100&trade_status=TRADE_SUCCESS"}}));
  SendOrder();
  AttachVerifiedClient();
  ASSERT_TRUE(client_.TypeText(kPassword));
  ASSERT_TRUE(client_.PressKey(VK_F1));  // pay

  EXPECT_EQ(Answer(), Redirect("http://shop.cn/done?out_trade_no=T100&trade_status=TRADE_SUCCESS"));
  auto payment = gateway_.waitForRequest("orderPay");
  ASSERT_TRUE(payment);
  EXPECT_EQ(payment->field("outTradeNo"), "T100");
  auto typed = gateway_.key().decryptPassword(payment->field("payPassword"), stamp_);
  ASSERT_TRUE(typed);
  EXPECT_EQ(typed->password, "pay123456");

  // The client shows its notice until the user answers it, then ends (always with 0).
  ASSERT_TRUE(client_.WaitUntilIdle());
  ASSERT_TRUE(client_.PressKey(VK_F2));
  DWORD exitCode = STILL_ACTIVE;
  ASSERT_TRUE(client_.WaitForExit(&exitCode));
  EXPECT_EQ(exitCode, 0u);
}

TEST_F(OrderPayRoad, LeavingWithoutPayingRedirectsWithFail)
{
  SendOrder();
  AttachVerifiedClient();
  ASSERT_TRUE(client_.PressKey(VK_F2));  // leave: the exit question
  ASSERT_TRUE(client_.WaitUntilIdle());
  ASSERT_TRUE(client_.PressKey(VK_F2));  // answered OK

  EXPECT_EQ(Answer(), Redirect("http://shop.cn/done?result=fail"));
  EXPECT_TRUE(gateway_.requestsOf("orderPay").empty());
  DWORD exitCode = STILL_ACTIVE;
  ASSERT_TRUE(client_.WaitForExit(&exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
