// One merchant order along the whole road with the real client over loopback: the browser's
// request to the service host's port, Dovrel.dll starting the client (headless) in order-pay
// mode, the order verified at the test gateway, the password typed and paid, and the redirect
// out to the browser. Each step's share, in milliseconds, is printed as a counter:
//   client_started  the request sent until the client process runs with a window
//   verified        until the verified order waits for the password (it has the keyboard)
//   paid            the password typed and the pay key pressed until the gateway has "orderPay"
//   redirect_out    until the browser has read the whole redirect
// The steps are seen from outside the programs, so each is known to within the 10 ms the
// harness takes to look again at another process.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
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
using Clock = std::chrono::steady_clock;
using testgateway::Reply;

constexpr int kPasswordField = 1011;

double Milliseconds(Clock::time_point from, Clock::time_point to)
{
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// A device with the client's files in place, the gateway service running in the service host
// on a loopback port, and the test gateway that pays every order.
class Device {
 public:
  Device()
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
    entry.dll = u"\\Program Files\\Korvex\\Dovrel.dll";
    entry.prefix = u"PAY";
    entry.instDir = u"\\Program Files\\Korvex";
    entry.port = port_ = kvtest::FreeLoopbackPort();
    ok_ = services::WriteServiceEntry(entry) == ERROR_SUCCESS && host_.Start({"Dovrel"});

    gateway_.scriptHandler("preOrderPay", [this](const testgateway::RecordedRequest&) {
      nlohmann::ordered_json order = {{"orderValidate", 1}, {"outTradeNo", "T100"}, {"goodTitle", "编程珠玑"},
                                      {"totalFee", "12.50"}, {"userName", "张三"},  {"availableBalance", "88.00"}};
      order.update(gateway_.key().sessionKey());
      return Reply::success(order);
    });
    gateway_.script("orderPay", Reply::success({{"tradeData", "out_trade_no=T100&trade_status=TRADE_SUCCESS"}}));
  }

  bool ok() const { return ok_; }
  uint16_t port() const { return port_; }
  testgateway::TestGateway& gateway() { return gateway_; }

 private:
  fs::path Host(const std::string& relative) const { return fs::path(root_.path()) / relative; }
  void Place(const char* built, const std::string& relative) const
  {
    fs::create_directories(Host(relative).parent_path());
    fs::copy_file(built, Host(relative), fs::copy_options::overwrite_existing);
    fs::permissions(Host(relative), fs::perms::owner_all);
  }

  device::testing::ScopedDeviceRoot root_;
  testgateway::TestGateway gateway_{testgateway::GatewayOptions{.tlsDir = Host("certs")}};
  kvtest::ServiceHost host_;
  uint16_t port_ = 0;
  bool ok_ = false;
};

void OrderPayRoadWithClient(benchmark::State& state)
{
  Device device;
  if (!device.ok()) {
    state.SkipWithError("the service host did not start");
    return;
  }
  const std::string request = "GET /gateway.do?service=order_pay&_input_charset=utf-8&out_trade_no=T100"
                              "&return_url=http://shop.cn/done HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  double started = 0, verified = 0, paid = 0, redirected = 0;
  size_t orders = 0;
  for (auto _ : state) {
    auto sent = Clock::now();
    std::string answer;
    Clock::time_point answered;
    std::thread browser([&] {
      answer = kvtest::LoopbackExchange(device.port(), request);
      answered = Clock::now();
    });
    kvtest::DeviceProgram client;
    bool ran = client.Attach(u"KorvexPortal.exe");
    auto running = Clock::now();
    ran = ran && client.WaitForKeyboardAt(kPasswordField);
    auto shown = Clock::now();
    ran = ran && client.TypeText(u"pay123456") && client.PressKey(VK_F1) &&
          device.gateway().waitForRequest("orderPay", ++orders).has_value();
    auto sentPayment = Clock::now();
    browser.join();
    if (!ran || answer.find("Location:http://shop.cn/done?out_trade_no=T100") == std::string::npos) {
      state.SkipWithError("the order was not paid");
      return;
    }
    started += Milliseconds(sent, running);
    verified += Milliseconds(running, shown);
    paid += Milliseconds(shown, sentPayment);
    redirected += Milliseconds(sentPayment, answered);

    // Not timed: the user answers the client's notice and it ends, ready for the next order.
    state.PauseTiming();
    DWORD code = 0;
    if (!client.WaitUntilIdle() || !client.PressKey(VK_F2) || !client.WaitForExit(&code)) {
      state.SkipWithError("the client did not end");
      return;
    }
    state.ResumeTiming();
  }
  auto average = [](double total) { return benchmark::Counter(total, benchmark::Counter::kAvgIterations); };
  state.counters["client_started_ms"] = average(started);
  state.counters["verified_ms"] = average(verified);
  state.counters["paid_ms"] = average(paid);
  state.counters["redirect_out_ms"] = average(redirected);
}
BENCHMARK(OrderPayRoadWithClient)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
