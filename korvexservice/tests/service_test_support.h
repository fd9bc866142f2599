// Support for the command layer's tests: a device root whose gateway is an in-process test
// gateway over HTTPS, a listener that records its notifications, a driver that moves virtual
// time on whenever the code under test waits on it, and a fixture with the facade on them all.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/types.h"
#include "gateway_address.h"
#include "kernel/kernel.h"
#include "net_transport.h"
#include "payment_service.h"
#include "service_listener.h"
#include "testgateway/test_gateway.h"
#include "testing/clock.h"
#include "testing/device_root.h"

namespace svcb_test {

inline std::string Utf8(const std::u16string& text)
{
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

inline std::u16string Utf16(const std::string& ascii)
{
  return std::u16string(ascii.begin(), ascii.end());
}

// A device root whose settings name the gateway (HTTPS, trusted through the device's CA
// bundle) and, optionally, a screen size.
class GatewayDevice {
 public:
  GatewayDevice()
      : m_gateway(testgateway::GatewayOptions{.tlsDir = Host("certs")})
  {
  }
  // Starts the gateway and writes the settings; call after scripting what must be there from
  // the first request.
  void Start(const std::string& extraSettings = "")
  {
    m_gateway.start();
    std::ofstream(Host("device.ini"), std::ios::binary)
        << "[network]\nca_bundle = " << m_gateway.tlsFiles().caCertificate.string()
        << "\ngateway = " << m_gateway.httpsUrl() << "\n"
        << extraSettings;
  }
  testgateway::TestGateway& Gateway() { return m_gateway; }
  std::filesystem::path Host(const std::string& relative) const
  {
    return std::filesystem::path(m_root.path()) / relative;
  }

 private:
  device::testing::ScopedDeviceRoot m_root;
  testgateway::TestGateway m_gateway;
};

// A flag another thread raises; waits are bounded in real time, so they stay apart from the
// virtual clock that the code under test runs on.
class Flag {
 public:
  void Raise()
  {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_raised = true;
    }
    m_changed.notify_all();
  }
  bool IsRaised()
  {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_raised;
  }
  bool Wait()
  {
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::seconds(30), [&] { return m_raised; });
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  bool m_raised = false;
};

struct Notification {
  int code = 0;
  HRESULT hr = 0;
  LPARAM value = 0;
  bool hasMemo = false;
  std::u16string memo;
  DWORD thread = 0;
  DWORD tick = 0;
};

// Records every notification; tests wait for a count with a generous bound.
class RecordingListener : public IServiceListener {
 public:
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override
  {
    Notification n{code, hr, value, memo != nullptr, memo != nullptr ? memo : u"", GetCurrentThreadId(),
                   GetTickCount()};
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_notifications.push_back(n);
    }
    m_changed.notify_all();
    return 0;
  }
  bool WaitFor(size_t count)
  {
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::seconds(30), [&] { return m_notifications.size() >= count; });
  }
  std::vector<Notification> Notifications()
  {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_notifications;
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<Notification> m_notifications;
};

// Waits until the network worker has carried every request posted so far, notifications
// included: it carries requests one after another, so a last one is done after them all.
// Call it before a facade that may still be notified is destroyed.
inline bool DrainNetWorker()
{
  class DoneSink : public IReplySink {
   public:
    void OnResponse(const WCHAR*) override {}
    void OnError(HRESULT, const WCHAR*) override {}
    void OnRequestDone(CNetRequest*) override { done.Raise(); }
    Flag done;
  };
  DoneSink sink;
  auto pair = std::make_unique<UrlAndBody>();
  pair->url = GetGatewayUrl(kGatewayRequestPath);
  pair->body = u"{\"operationType\":\"getRSAPKey\"}\n";
  return GetTransport()->Send(std::move(pair), &sink) != nullptr && sink.done.Wait();
}

// Switches to virtual time and, while it lives, advances it whenever something waits on it, so
// the transport's cancel grace and the facade's 500 ms pause pass without real waiting.
class ClockDriver {
 public:
  ClockDriver()
  {
    device::testing::UseVirtualClock(SYSTEMTIME{2010, 7, 4, 1, 12, 9, 30, 0});
    m_thread = std::thread([this] {
      while (!m_stop) {
        if (device::testing::WaitForClockWaiters(1, 20)) {
          device::testing::AdvanceClock(10);
        }
      }
    });
  }
  ~ClockDriver()
  {
    m_stop = true;
    m_thread.join();
  }

 private:
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

// The client id the facade is made with.
inline constexpr char kClientId[] = "KV-CLIENT-0001";

// The payment facade on a gateway device under driven virtual time, its notifications recorded.
class FacadeTest : public ::testing::Test {
 protected:
  // Starts the gateway with the settings given besides its own, then makes the facade.
  void Start(const std::string& extraSettings = "")
  {
    m_device.Start(extraSettings);
    m_service.reset(RegisterServiceCommands(u"KorvexPortal_WM6", Utf16(kClientId).c_str()));
    ASSERT_NE(m_service, nullptr);
    m_service->AddListener(&m_listener);
  }
  void TearDown() override
  {
    if (m_service) {
      // Every command notifies the facade, so the facade outlives the last of them.
      EXPECT_TRUE(DrainNetWorker());
      m_service->RemoveListener(&m_listener);
    }
  }
  testgateway::TestGateway& Gateway() { return m_device.Gateway(); }

  GatewayDevice m_device;
  ClockDriver m_clock;
  std::unique_ptr<CPaymentService> m_service;
  RecordingListener m_listener;
};

}  // namespace svcb_test
