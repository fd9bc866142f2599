// One merchant order along the whole road over loopback: the browser's request into the local
// gateway, the client started for it (the tests' stand-in, which pays at once), the outcome
// handed back and the redirect out to the browser. Besides the time of a whole order, counters
// give each step's share in microseconds:
//   request_in      connect, send, read and parse the request, up to the order-pay callback
//   client_started  start the client (suspended, its hand-off made, resumed) until it runs
//   paid            the client writes the hand-off and the service takes it
//   redirect_out    the answer composed, sent and read by the browser to its end
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "http_server.h"
#include "proxycommon.h"
#include "services/service_registry.h"
#include "testing/device_root.h"
#include "windows.h"

namespace {

using Clock = std::chrono::steady_clock;

std::atomic<int64_t> g_callbackIn{0};
std::atomic<int64_t> g_callbackOut{0};

int64_t Now() { return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count(); }

int TimedOrderPay(const WCHAR* order, WCHAR* result, DWORD* capacity)
{
  g_callbackIn = Now();
  int code = RunOrderPay(order, result, capacity);
  g_callbackOut = Now();
  return code;
}

// A device with the stand-in installed as the client, and the gateway serving on a loopback port.
class Gateway {
 public:
  Gateway()
  {
    std::filesystem::path client = std::filesystem::path(root_.path()) / "Program Files/Korvex/KorvexPortal.exe";
    std::filesystem::create_directories(client.parent_path());
    std::filesystem::copy_file(KV_FAKE_CLIENT, client);
    services::ServiceEntry entry;
    entry.name = u"Dovrel";
    entry.dll = u"Dovrel.dll";
    entry.prefix = u"PAY";
    entry.instDir = u"\\Program Files\\Korvex";
    services::WriteServiceEntry(entry);
    SetOrderPayCallback(TimedOrderPay);

    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    address_.sin_family = AF_INET;
    address_.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address_;
    bind(listener_, reinterpret_cast<sockaddr*>(&address_), sizeof address_);
    listen(listener_, SOMAXCONN);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address_), &size);
    server_ = std::thread([this] {
      for (SOCKET s; (s = accept(listener_, nullptr, nullptr)) != INVALID_SOCKET;) {
        HandleHttpConnection(s);
        closesocket(s);
      }
    });
  }
  ~Gateway()
  {
    closesocket(listener_);
    server_.join();
  }

  // The browser's side of one order; the whole answer.
  std::string Order(const std::string& request)
  {
    SOCKET browser = socket(AF_INET, SOCK_STREAM, 0);
    connect(browser, reinterpret_cast<sockaddr*>(&address_), sizeof address_);
    send(browser, request.data(), static_cast<int>(request.size()), 0);
    std::string answer;
    char buffer[1024];
    for (int got; (got = recv(browser, buffer, sizeof buffer, 0)) > 0;) {
      answer.append(buffer, static_cast<size_t>(got));
    }
    closesocket(browser);
    return answer;
  }

 private:
  device::testing::ScopedDeviceRoot root_;
  SOCKET listener_ = INVALID_SOCKET;
  SOCKADDR_IN address_ = {};
  std::thread server_;
};

void OrderPayRoad(benchmark::State& state)
{
  Gateway gateway;
  HANDLE started = CreateEventW(nullptr, TRUE, FALSE, u"BenchClientStarted");
  const std::string request =
      "GET /gateway.do?service=order_pay&_input_charset=utf-8&return_url=http://shop.cn/done&signal=BenchClientStarted"
      "&fake=paid&data=T1001 HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
  double requestIn = 0, clientStarted = 0, paid = 0, redirectOut = 0;
  for (auto _ : state) {
    ResetEvent(started);
    int64_t sent = Now();
    // The stand-in sets the event as it starts; the answer follows its hand-off.
    std::thread browser([&] { benchmark::DoNotOptimize(gateway.Order(request)); });
    WaitForSingleObject(started, 30000);
    int64_t running = Now();
    browser.join();
    int64_t done = Now();
    requestIn += static_cast<double>(g_callbackIn - sent);
    clientStarted += static_cast<double>(running - g_callbackIn);
    paid += static_cast<double>(g_callbackOut - running);
    redirectOut += static_cast<double>(done - g_callbackOut);
  }
  auto average = [&](double nanoseconds) {
    return benchmark::Counter(nanoseconds / 1000.0, benchmark::Counter::kAvgIterations);
  };
  state.counters["request_in_us"] = average(requestIn);
  state.counters["client_started_us"] = average(clientStarted);
  state.counters["paid_us"] = average(paid);
  state.counters["redirect_out_us"] = average(redirectOut);
  CloseHandle(started);
}
BENCHMARK(OrderPayRoad)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
