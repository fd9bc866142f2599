// The whole service on a device: the service host program loads Dovrel.dll from the registry,
// listens on 127.0.0.1 at the registry's port and hands each connection over; a browser sends
// merchant orders, the client's stand-in pays them, and the device's service calls reach the
// service through the host.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "dovrel_test_support.h"
#include "listening_address.h"
#include "services/services.h"
#include "testing/device_programs.h"
#include "windows.h"

namespace {

using common_test::ReadDeviceFile;
using dovrel_test::Exchange;

// A device with Dovrel installed and registered on a free loopback port.
class DovrelInstalled : public dovrel_test::ClientDevice {
 protected:
  void SetUp() override
  {
    ClientDevice::SetUp();
    dovrel_test::Install(root_.path(), KV_DOVREL_LIBRARY, "Program Files/Korvex/Dovrel.dll");
    services::ServiceEntry entry = dovrel_test::DovrelEntry();
    entry.port = port_ = kvtest::FreeLoopbackPort();
    ASSERT_EQ(services::WriteServiceEntry(entry), ERROR_SUCCESS);
  }

  USHORT port_ = 0;
  kvtest::ServiceHost host_;
};

class ServiceHost : public DovrelInstalled {
 protected:
  void SetUp() override
  {
    DovrelInstalled::SetUp();
    ASSERT_TRUE(host_.Start({"Dovrel"}));
  }

  std::string Order(const std::string& query) const
  {
    return Exchange(port_, "GET /gateway.do?service=order_pay&" + query + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  }

  static DWORD Status(HANDLE service)
  {
    DWORD state = 99, returned = 0;
    EXPECT_TRUE(ServiceIoControl(service, IOCTL_SERVICE_STATUS, nullptr, 0, &state, sizeof state, &returned, nullptr));
    return state;
  }
};

TEST_F(ServiceHost, PaysAnOrderSentToItsLoopbackPort)
{
  EXPECT_EQ(dovrel_test::ListeningAddress(port_), "0100007F") << "127.0.0.1 only";
  EXPECT_EQ(Order("fake=paid&data=T1001&return_url=http://shop.cn/done"),
            "HTTP/1.1 300 Redirect Page\r\nServer: Korvex HttpServer\r\nDate: \r\nLocation:http://shop.cn/done?T1001\r\n"
            "Content-Type: text/html\r\nAccept-Ranges: bytes\r\n\r\n");
  EXPECT_EQ(Order("fake=failed"), "result=fail");
  EXPECT_EQ(host_.Stop(), 0);

  // The service keeps its own log, named after its library.
  std::string log = ReadDeviceFile(u"\\Temp\\Dovrel.dll.1.log");
  EXPECT_NE(log.find(".\\DovrelService.cpp("), std::string::npos);
  EXPECT_NE(log.find(".\\proxycommon.cpp("), std::string::npos);
  EXPECT_NE(log.find("\r\nCreateProcess\r\n"), std::string::npos);
}

TEST_F(ServiceHost, ASecondOrderWhileOneIsInProgressFails)
{
  HANDLE started = CreateEventW(nullptr, TRUE, FALSE, u"FirstClientStarted");
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, u"FakeClientGo");
  std::string first;
  std::thread firstOrder([&] { first = Order("fake=slow&signal=FirstClientStarted"); });
  EXPECT_EQ(WaitForSingleObject(started, dovrel_test::kGenerousWait), WAIT_OBJECT_0);
  // The host has no screen: its busy box takes its default button at once.
  EXPECT_EQ(Order("fake=paid"), "result=fail");
  SetEvent(go);
  firstOrder.join();
  EXPECT_EQ(first, "result=successed");
  CloseHandle(go);
  CloseHandle(started);
}

// A burst of pages at the gateway does not crowd out anyone: every connection is taken and
// answered, however many arrive together.
TEST_F(ServiceHost, AnswersEveryOneOfManyConnectionsThatArriveTogether)
{
  std::vector<std::string> answers = dovrel_test::ExchangeAtOnce(
      port_, "GET /gateway.do?service=query HTTP/1.1\r\n\r\n", 500, static_cast<int>(dovrel_test::kGenerousWait));
  size_t answered = 0;
  for (const std::string& answer : answers) {
    answered += answer == dovrel_test::Gbk(u"您访问的服务接口没有定义") ? 1 : 0;
  }
  EXPECT_EQ(answered, answers.size());
  EXPECT_EQ(host_.Stop(), 0);
}

TEST_F(ServiceHost, TheDevicesServiceCallsReachTheService)
{
  std::u16string instance = u"PAY0:";
  WCHAR library[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  HANDLE service = GetServiceHandle(instance.data(), library, &size);
  ASSERT_NE(service, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::u16string(library), dovrel_test::DovrelEntry().dll);
  EXPECT_EQ(Status(service), static_cast<DWORD>(SERVICE_STATE_ON));
  EXPECT_EQ(ActivateService(u"Dovrel", 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_ALREADY_RUNNING));
  WORD small = 0;
  EXPECT_FALSE(ServiceIoControl(service, IOCTL_SERVICE_STATUS, nullptr, 0, &small, sizeof small, nullptr, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  // Stopped, it refuses connections; started again, it serves them.
  EXPECT_TRUE(ServiceIoControl(service, IOCTL_SERVICE_STOP, nullptr, 0, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(Status(service), static_cast<DWORD>(SERVICE_STATE_OFF));
  EXPECT_EQ(Order("fake=paid"), "");
  EXPECT_TRUE(ServiceIoControl(service, IOCTL_SERVICE_STARTED, nullptr, 0, nullptr, 0, nullptr, nullptr));
  EXPECT_EQ(Order("fake=paid&data=T2"), "T2");

  // Deregistered, nothing listens; activated again, it serves.
  EXPECT_TRUE(DeregisterService(service));
  EXPECT_EQ(Order("fake=paid"), "(refused)");
  EXPECT_EQ(GetServiceHandle(instance.data(), nullptr, nullptr), INVALID_HANDLE_VALUE);
  HANDLE again = ActivateService(u"Dovrel", 0);
  ASSERT_NE(again, nullptr) << GetLastError();
  EXPECT_EQ(Order("fake=paid&data=T3"), "T3");
  EXPECT_EQ(Status(again), static_cast<DWORD>(SERVICE_STATE_ON));
  EXPECT_TRUE(CloseHandle(again));
  EXPECT_EQ(host_.Stop(), 0);
}

TEST_F(ServiceHost, AServiceThatCannotStartIsReported)
{
  services::ServiceEntry missing = dovrel_test::DovrelEntry();
  missing.name = u"Missing";
  missing.dll = u"\\Program Files\\Nowhere\\Missing.dll";
  services::ServiceEntry samePort = dovrel_test::DovrelEntry();
  samePort.name = u"SamePort";
  samePort.prefix = u"PAY";
  samePort.port = port_;  // Dovrel listens there already
  ASSERT_EQ(services::WriteServiceEntry(missing), ERROR_SUCCESS);
  ASSERT_EQ(services::WriteServiceEntry(samePort), ERROR_SUCCESS);
  struct Case {
    const char16_t* name;
    DWORD error;
  } cases[] = {
      {u"Unknown", ERROR_SERVICE_DOES_NOT_EXIST},
      {u"Missing", ERROR_MOD_NOT_FOUND},
      {u"SamePort", WSAEADDRINUSE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ActivateService(c.name, 0), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_EQ(Order("fake=paid&data=T4"), "T4") << "the running service goes on";
  EXPECT_EQ(host_.Stop(), 0);
}

// A host whose services did not all start does not say "ready": it says which did not and why,
// stops those that did and ends with 1.
class ServiceHostStart : public DovrelInstalled {
 protected:
  // A socket of the test's own that listens on the port, as another program would.
  SOCKET TakePort() const
  {
    SOCKET taken = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port_);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(bind(taken, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(taken, 1), 0);
    return taken;
  }

};

TEST_F(ServiceHostStart, SaysWhichServiceDidNotStartAndWhyInsteadOfReady)
{
  struct Case {
    std::vector<std::string> services;
    bool portTaken;
    std::string said;
  } cases[] = {
      {{"Dovrel"}, true, "korvex-services: Dovrel did not start: port " + std::to_string(port_) +
                             " is in use (error 10048)\n"},
      {{"Dovrel", "Nowhere"}, false, "korvex-services: Nowhere did not start: no service of that name is registered"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.said);
    SOCKET taken = c.portTaken ? TakePort() : INVALID_SOCKET;
    kvtest::ServiceHost host;
    testing::internal::CaptureStderr();
    bool ready = host.Start(c.services);
    int code = host.Stop();
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(ready);
    EXPECT_EQ(code, 1);
    EXPECT_THAT(said, testing::HasSubstr(c.said));
    if (taken != INVALID_SOCKET) {
      closesocket(taken);
    }
    EXPECT_EQ(Exchange(port_, "GET / HTTP/1.1\r\n\r\n"), "(refused)") << "nothing of the host is left listening";
  }
}

}  // namespace
