// One merchant order along the whole road with the real client over loopback, round after round
// on one device: the browser's request to the service host's port, Dovrel.dll starting the client
// (headless) in order-pay mode, the order verified at the test gateway, the password typed and
// paid, and the redirect out to the browser. Prints each round's steps, in milliseconds, and their
// medians:
//   started   the request sent until the client process runs with a window
//   shown     until the verified order waits for the password (it has the keyboard)
//   paid      the password typed and the pay key pressed until the gateway has "orderPay"
//   redirect  until the browser has read the whole redirect
//   road      the request sent until the redirect is read
// The steps are seen from outside the programs, so each is known to within the 10 ms the
// harness takes to look again at another process. Between rounds, not timed, the user answers
// the client's notice and it ends.
//
// With --against, the client program of another build (today's main, say, built beside this
// one) pays an order in every round too, in turns with this build's on the same device, and the
// goal table compares the medians of the two.
//
//   orderpay_client_bench [rounds] [--against <another build's KorvexPortal>]   (default 7)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "bench_device.h"  // Median, ParseArguments
#include "goal_table.h"
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
// The road against the other build's.
constexpr double kAgainstRatio = 0.6;

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
    UseClient(KV_CLIENT_PROGRAM);
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

  // The client program that the service starts for the next order.
  void UseClient(const std::string& program) const { Place(program.c_str(), "Program Files/Korvex/KorvexPortal.exe"); }

  bool ok() const { return ok_; }
  uint16_t port() const { return port_; }
  testgateway::TestGateway& gateway() { return gateway_; }

 private:
  fs::path Host(const std::string& relative) const { return fs::path(root_.path()) / relative; }
  void Place(const char* built, const std::string& relative) const
  {
    fs::create_directories(Host(relative).parent_path());
    // Removed first: a program that ran from there may still be on its way out.
    fs::remove(Host(relative));
    fs::copy_file(built, Host(relative));
    fs::permissions(Host(relative), fs::perms::owner_all);
  }

  device::testing::ScopedDeviceRoot root_;
  testgateway::TestGateway gateway_{testgateway::GatewayOptions{.tlsDir = Host("certs")}};
  kvtest::ServiceHost host_;
  uint16_t port_ = 0;
  bool ok_ = false;
};

struct Round {
  double started = 0, shown = 0, paid = 0, redirect = 0, road = 0;
};

const std::string kRequest = "GET /gateway.do?service=order_pay&_input_charset=utf-8&out_trade_no=T100"
                             "&return_url=http://shop.cn/done HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";

// One order paid along the road, timed: false when it was not paid. Then, not timed, the user
// answers the client's notice and it ends; *ending tells what went wrong there, or is null.
bool PayOneOrder(Device& device, Round& round, const char** ending)
{
  size_t order = device.gateway().requestsOf("orderPay").size() + 1;
  auto sent = Clock::now();
  std::string answer;
  Clock::time_point answered;
  std::thread browser([&] {
    answer = kvtest::LoopbackExchange(device.port(), kRequest);
    answered = Clock::now();
  });
  kvtest::DeviceProgram client;
  bool ran = client.Attach(u"KorvexPortal.exe");
  auto running = Clock::now();
  ran = ran && client.WaitForKeyboardAt(kPasswordField);
  auto shown = Clock::now();
  ran = ran && client.TypeText(u"pay123456") && client.PressKey(VK_F1) &&
        device.gateway().waitForRequest("orderPay", order).has_value();
  auto paid = Clock::now();
  browser.join();
  if (!ran || answer.find("Location:http://shop.cn/done?out_trade_no=T100") == std::string::npos)
    return false;
  round = {Milliseconds(sent, running), Milliseconds(running, shown), Milliseconds(shown, paid),
           Milliseconds(paid, answered), Milliseconds(sent, answered)};

  DWORD code = 0;
  *ending = !client.WaitUntilIdle()      ? "the client did not come to wait for the user"
            : !client.PressKey(VK_F2)    ? "the client took no key for its notice"
            : !client.WaitForExit(&code) ? "the client did not end"
                                         : nullptr;
  return true;
}

void PrintRound(const char* name, const Round& round, const char* ending)
{
  std::printf("%-9s %10.1f %10.1f %10.1f %10.1f %10.1f%s%s\n", name, round.started, round.shown, round.paid,
              round.redirect, round.road, ending ? "  then " : "", ending ? ending : "");
}

// The medians of the rounds' steps.
Round Medians(const std::vector<Round>& done)
{
  auto median = [&](double Round::*step) {
    std::vector<double> values;
    for (const Round& round : done)
      values.push_back(round.*step);
    return clientbench::Median(values);
  };
  return {median(&Round::started), median(&Round::shown), median(&Round::paid), median(&Round::redirect),
          median(&Round::road)};
}

}  // namespace

int main(int argc, char** argv)
{
  auto [rounds, against] = clientbench::ParseArguments(argc, argv, 7);
  Device device;
  if (!device.ok()) {
    std::printf("the service host did not start\n");
    return 1;
  }
  // This build's client and, with --against, the other build's, in turns.
  std::vector<std::string> clients{KV_CLIENT_PROGRAM};
  if (!against.empty())
    clients.push_back(against);
  std::vector<std::vector<Round>> done(clients.size());
  int failed = 0;
  std::printf("times in ms\n%-9s %10s %10s %10s %10s %10s\n", "round", "started", "shown", "paid", "redirect",
              "road");
  for (int number = 1; number <= rounds; ++number) {
    for (size_t turn = 0; turn < clients.size(); ++turn) {
      size_t side = (turn + static_cast<size_t>(number)) % clients.size();
      device.UseClient(clients[side]);
      std::string name = std::to_string(number) + (side == 0 ? "" : " against");
      Round round;
      const char* ending = nullptr;
      if (!PayOneOrder(device, round, &ending)) {
        std::printf("%-9s the order was not paid\n", name.c_str());
        ++failed;
        continue;
      }
      done[side].push_back(round);
      PrintRound(name.c_str(), round, ending);
      failed += ending ? 1 : 0;
    }
  }
  Round medians = Medians(done[0]);
  PrintRound("median", medians, nullptr);
  if (clients.size() > 1) {
    Round before = Medians(done[1]);
    PrintRound("against", before, nullptr);
    goal_report::PrintGoalHeader();
    goal_report::PrintGoalLine({"order-pay road vs the other build", medians.road, before.road, kAgainstRatio});
    goal_report::PrintGoalLine({"client started vs the other build", medians.started, before.started});
    goal_report::PrintGoalLine({"order shown vs the other build", medians.shown, before.shown});
  } else {
    std::printf("\nno goal table: the road's goal is a ratio to another build (--against)\n");
  }
  return failed == 0 ? 0 : 1;
}
