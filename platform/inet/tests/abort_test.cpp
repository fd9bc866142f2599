// Ending exchanges early: the caller's wait runs out or is cancelled, a handle is closed with
// its transfer under way, or the device's stall limit ends a dead exchange.
#include "http_client.h"

#include "testgateway/test_gateway.h"
#include "testing/clock.h"

#include <gtest/gtest.h>

namespace {

using inet_test::DeviceWithSettings;
using inet_test::TestClient;
using testgateway::Reply;
using testgateway::TestGateway;

constexpr SYSTEMTIME kStart = {2024, 5, 0, 20, 9, 30, 0, 0};

struct Wait {
  std::vector<HANDLE> handles;
  DWORD timeout;
  DWORD result = 0;
};

DWORD WINAPI WaitFor(LPVOID parameter)
{
  auto* wait = static_cast<Wait*>(parameter);
  wait->result = WaitForMultipleObjects(static_cast<DWORD>(wait->handles.size()), wait->handles.data(), FALSE,
                                        wait->timeout);
  return 0;
}

// After a handle was closed, no callback may come for it: a later exchange on the same
// library thread completes while nothing came for the closed one.
void ExpectNoLateCallback(TestClient& client, TestGateway& gateway)
{
  gateway.releaseStalled();
  HINTERNET later = client.Send(gateway.httpPort(), u"/page");
  EXPECT_TRUE(client.WaitForCompletion().dwResult);
  EXPECT_EQ(client.ReadAll(later), "x");
  InternetCloseHandle(later);
  EXPECT_EQ(client.lateCallbacks(), 0);
}

class AbortTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    gateway_.servePage("/page", Reply::http(200, "x"));
    gateway_.servePage("/stall", Reply::stall(Reply::http(200, "late")));
    gateway_.start();
  }

  DeviceWithSettings device_;
  TestGateway gateway_;
};

TEST_F(AbortTest, TheCallersWaitRunsOutAndClosingAbortsTheExchange)
{
  device::testing::UseVirtualClock(kStart);
  TestClient client;
  HINTERNET request = client.Send(gateway_.httpPort(), u"/stall");
  ASSERT_TRUE(gateway_.waitForPath("/stall"));

  Wait wait{{client.completedEvent()}, 5000};
  HANDLE waiter = CreateThread(nullptr, 0, WaitFor, &wait, 0, nullptr);
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(5000);
  ASSERT_EQ(WaitForSingleObject(waiter, inet_test::kGenerousWait), WAIT_OBJECT_0);
  EXPECT_EQ(wait.result, WAIT_TIMEOUT);
  CloseHandle(waiter);

  ASSERT_TRUE(InternetCloseHandle(request));
  client.Closed(request);
  EXPECT_TRUE(gateway_.waitForAbandoned(1));
  ExpectNoLateCallback(client, gateway_);
}

TEST_F(AbortTest, ACancelEventEndsTheWaitBeforeTheReply)
{
  TestClient client;
  HINTERNET request = client.Send(gateway_.httpPort(), u"/stall");
  HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  Wait wait{{client.completedEvent(), cancel}, INFINITE};
  HANDLE waiter = CreateThread(nullptr, 0, WaitFor, &wait, 0, nullptr);
  ASSERT_TRUE(gateway_.waitForPath("/stall"));
  SetEvent(cancel);
  ASSERT_EQ(WaitForSingleObject(waiter, inet_test::kGenerousWait), WAIT_OBJECT_0);
  EXPECT_EQ(wait.result, WAIT_OBJECT_0 + 1);

  ASSERT_TRUE(InternetCloseHandle(request));
  client.Closed(request);
  EXPECT_TRUE(gateway_.waitForAbandoned(1));
  ExpectNoLateCallback(client, gateway_);
  CloseHandle(waiter);
  CloseHandle(cancel);
}

TEST_F(AbortTest, ClosingTheRootClosesItsHandlesAndEndsTheirTransfers)
{
  TestClient client;
  HINTERNET request = client.Send(gateway_.httpPort(), u"/stall");
  ASSERT_TRUE(gateway_.waitForPath("/stall"));
  ASSERT_TRUE(InternetCloseHandle(client.internet()));
  client.ForgetRoot();
  client.Closed(request);
  EXPECT_TRUE(gateway_.waitForAbandoned(1));

  EXPECT_FALSE(InternetCloseHandle(request));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  gateway_.releaseStalled();
  EXPECT_TRUE(client.callbacks().empty());
}

TEST_F(AbortTest, ACallbackMayCloseItsOwnRequest)
{
  struct Closer {
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    BOOL closed = FALSE;
    static void CALLBACK Callback(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID, DWORD)
    {
      auto* closer = reinterpret_cast<Closer*>(context);
      if (status == INTERNET_STATUS_REQUEST_COMPLETE) {
        closer->closed = InternetCloseHandle(handle);
        SetEvent(closer->done);
      }
    }
  } closer;
  HINTERNET internet = InternetOpenW(u"zunmobile", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, INTERNET_FLAG_ASYNC);
  InternetSetStatusCallbackW(internet, &Closer::Callback);
  HINTERNET connection = InternetConnectW(internet, u"127.0.0.1", gateway_.httpPort(), nullptr, nullptr,
                                          INTERNET_SERVICE_HTTP, 0, 0);
  HINTERNET request = HttpOpenRequestW(connection, u"GET", u"/page", nullptr, nullptr, nullptr, 0,
                                       reinterpret_cast<DWORD_PTR>(&closer));
  EXPECT_FALSE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
  ASSERT_EQ(WaitForSingleObject(closer.done, inet_test::kGenerousWait), WAIT_OBJECT_0);
  EXPECT_TRUE(closer.closed);
  EXPECT_TRUE(InternetCloseHandle(internet));
  CloseHandle(closer.done);
}

TEST(StallLimit, ADeadExchangeFailsAtTheDevicesStallLimit)
{
  DeviceWithSettings device("[network]\nstall_timeout = 1\n");
  TestGateway gateway;
  gateway.servePage("/stall", Reply::stall());
  gateway.start();
  TestClient client;
  HINTERNET request = client.Send(gateway.httpPort(), u"/stall");
  INTERNET_ASYNC_RESULT result = client.WaitForCompletion();
  EXPECT_FALSE(result.dwResult);
  EXPECT_EQ(result.dwError, static_cast<DWORD>(ERROR_INTERNET_TIMEOUT));
  EXPECT_TRUE(gateway.waitForAbandoned(1));
  InternetCloseHandle(request);
}

}  // namespace
