// The HTTP client's queue: replies posted to the window in queue order with their slots,
// cancel, time-out, the network reset after failures, and slots freed when nobody takes them.
#include "http_client.h"

#include "service_device.h"
#include "apn_store.h"
#include "net/net.h"
#include "testgateway/loopback_proxy.h"
#include "testgateway/test_gateway.h"
#include "testing/clock.h"
#include "testing/connections.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>

namespace {

using svc_test::kGenerousWait;
using svc_test::ServiceDevice;
using testgateway::Reply;
using testgateway::TestGateway;

constexpr UINT kReply = WM_APP + 0x15;

struct Answer {
  UINT message;
  HttpResult result;
  HttpReplySlot* slot;
  CStringW text;
};

// A window on a user-interface thread that takes reply messages as the dialogs do: it copies
// the text and frees the slot, unless told to hold the slots.
class ReplyWindow {
 public:
  ReplyWindow()
  {
    ui_.Invoke([&] {
      hwnd_ = kvtest::CreateRecordingWindow(log_, {.name = "receiver", .handler = [this](HWND, UINT message, WPARAM w,
                                                                                        LPARAM l) -> std::optional<LRESULT> {
        if (message < WM_APP) {
          return std::nullopt;
        }
        auto* slot = reinterpret_cast<HttpReplySlot*>(l);
        std::lock_guard lock(mutex_);
        answers_.push_back({message, static_cast<HttpResult>(w), slot, slot->text});
        if (!holdSlots_) {
          InterlockedExchange(&slot->busy, 0);
        }
        arrived_.notify_all();
        return 0;
      }});
    });
  }
  ~ReplyWindow()
  {
    ui_.Invoke([&] {
      if (IsWindow(hwnd_)) {
        DestroyWindow(hwnd_);
      }
    });
  }
  HWND hwnd() const { return hwnd_; }
  void HoldSlots(bool hold)
  {
    std::lock_guard lock(mutex_);
    holdSlots_ = hold;
  }
  void Destroy()
  {
    ui_.Invoke([&] { DestroyWindow(hwnd_); });
  }

  // The next answer, waiting for it with a generous bound in real time (tests may run the
  // device clock virtually).
  std::optional<Answer> Next(std::chrono::milliseconds bound = std::chrono::milliseconds(kGenerousWait))
  {
    std::unique_lock lock(mutex_);
    if (!arrived_.wait_for(lock, bound, [&] { return !answers_.empty(); })) {
      return std::nullopt;
    }
    Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  size_t Pending()
  {
    std::lock_guard lock(mutex_);
    return answers_.size();
  }

 private:
  kvtest::UiThread ui_;
  kvtest::MessageLog log_;
  HWND hwnd_ = nullptr;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Answer> answers_;
  bool holdSlots_ = false;
};

CStringW Wide(const std::string& utf8)
{
  return CStringW(std::u16string(utf8.begin(), utf8.end()).c_str());
}

CStringW Operation(const char* name)
{
  return Wide(std::string(R"({"operationType":")") + name + R"("})");
}

// The next answer while the device clock runs virtually: the clock moves on by the late-cancel
// window whenever a wait on it is blocked, until the answer comes.
std::optional<Answer> NextAdvancingClock(ReplyWindow& window)
{
  for (int step = 0; step < 3000; ++step) {
    if (std::optional<Answer> answer = window.Next(std::chrono::milliseconds(0))) {
      return answer;
    }
    if (device::testing::WaitForClockWaiters(1, 10)) {
      device::testing::AdvanceClock(10);
    }
  }
  return std::nullopt;
}

class HttpClientTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    gateway_.start();
    ASSERT_TRUE(client_.StartWorker());
  }
  HANDLE Send(const char* operation, UINT message = kReply, int timeout = static_cast<int>(kGenerousWait))
  {
    return client_.Enqueue(window_.hwnd(), message, Wide(gateway_.requestUrl()), Operation(operation), timeout);
  }

  ServiceDevice device_;
  TestGateway gateway_;
  ReplyWindow window_;
  CHttpClient client_;
};

TEST_F(HttpClientTest, RequestsRunInQueueOrderEachAnsweredWithItsOwnMessage)
{
  gateway_.script("queryBalance", Reply::success({{"currentBalance", "12.00"}}));
  gateway_.script("getMsgCount", Reply::success({{"msgCount", 3}}));
  gateway_.script("queryTradeNum", Reply::result(411, "会话过期"));
  Send("queryBalance", kReply);
  Send("getMsgCount", kReply + 1);
  Send("queryTradeNum", kReply + 2);

  const CStringW expected[] = {
      u"{\"resultStatus\":100,\"currentBalance\":\"12.00\"}",
      u"{\"resultStatus\":100,\"msgCount\":3}",
      u"{\"resultStatus\":411,\"memo\":\"会话过期\"}",
  };
  for (UINT i = 0; i < 3; ++i) {
    std::optional<Answer> answer = window_.Next();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->message, kReply + i);
    EXPECT_EQ(answer->result, kHttpOk);
    EXPECT_EQ(answer->text, expected[i]);
  }
  std::vector<testgateway::RecordedRequest> requests = gateway_.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].operation, "queryBalance");
  EXPECT_EQ(requests[1].operation, "getMsgCount");
  EXPECT_EQ(requests[2].operation, "queryTradeNum");
  EXPECT_EQ(gateway_.connectionsAccepted(), 1u);
}

TEST_F(HttpClientTest, ASlotStaysTakenUntilTheReceiverFreesItAndSlotsAreAddedMeanwhile)
{
  window_.HoldSlots(true);
  Send("queryBalance");
  Send("getMsgCount");
  std::optional<Answer> first = window_.Next();
  std::optional<Answer> second = window_.Next();
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->slot, second->slot);
  EXPECT_EQ(first->slot->busy, 1);
  EXPECT_EQ(second->slot->busy, 1);

  window_.HoldSlots(false);
  InterlockedExchange(&second->slot->busy, 0);
  Send("queryTradeNum");
  std::optional<Answer> third = window_.Next();
  ASSERT_TRUE(third);
  EXPECT_EQ(third->slot, second->slot);
  EXPECT_EQ(third->text, CStringW(u"{\"resultStatus\":9999,\"memo\":\"unscripted operation queryTradeNum\"}"));

  InterlockedExchange(&first->slot->busy, 0);
  Send("queryBalance");
  std::optional<Answer> fourth = window_.Next();
  ASSERT_TRUE(fourth);
  EXPECT_EQ(fourth->slot, first->slot);
}

TEST_F(HttpClientTest, ACancelledRequestIsNotAnsweredAndItsSlotIsFreed)
{
  gateway_.script("queryTransList", Reply::stall());
  Send("queryBalance");
  std::optional<Answer> before = window_.Next();
  ASSERT_TRUE(before);

  HANDLE cancel = Send("queryTransList");
  ASSERT_TRUE(gateway_.waitForRequest("queryTransList"));
  SetEvent(cancel);
  ASSERT_TRUE(gateway_.waitForAbandoned(1));
  Send("getMsgCount");
  std::optional<Answer> after = window_.Next();
  ASSERT_TRUE(after);
  EXPECT_EQ(after->text, CStringW(u"{\"resultStatus\":9999,\"memo\":\"unscripted operation getMsgCount\"}"));
  EXPECT_EQ(after->slot, before->slot);
  EXPECT_EQ(window_.Pending(), 0u);
}

TEST_F(HttpClientTest, AReplyForAWindowThatIsGoneFreesItsSlot)
{
  Send("queryBalance");
  std::optional<Answer> before = window_.Next();
  ASSERT_TRUE(before);

  ReplyWindow gone;
  gone.Destroy();
  client_.Enqueue(gone.hwnd(), kReply, Wide(gateway_.requestUrl()), Operation("getMsgCount"), kGenerousWait);
  Send("queryTradeNum");
  std::optional<Answer> after = window_.Next();
  ASSERT_TRUE(after);
  ASSERT_EQ(gateway_.requests().size(), 3u);
  EXPECT_EQ(after->slot, before->slot);
}

// Whether a failed request gave the session and the data connection up: the next request then
// comes on a new connection to the gateway and after a new Connection Manager connection.
TEST_F(HttpClientTest, FailuresOfTheExchangeResetTheNetworkAndOthersDoNot)
{
  gateway_.servePage("/missing", Reply::http(404, "missing"));
  gateway_.script("login", Reply::close());
  struct Case {
    const char* name;
    CStringW url;
    const char* operation;
    HttpResult result;
    bool reset;
  } cases[] = {
      {"status 404", Wide(gateway_.httpUrl() + "/missing"), "queryBalance", kHttpConnectFailed, true},
      {"closed without reply", Wide(gateway_.requestUrl()), "login", kHttpConnectFailed, true},
      {"bad URL", u"ftp://127.0.0.1/home/mobile.htm", "queryBalance", kHttpBadUrl, false},
      {"success", Wide(gateway_.requestUrl()), "queryBalance", kHttpOk, false},
  };
  Send("queryBalance");
  ASSERT_TRUE(window_.Next());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    client_.Enqueue(window_.hwnd(), kReply, c.url, Operation(c.operation), kGenerousWait);
    std::optional<Answer> failed = window_.Next();
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->result, c.result);
    if (c.result != kHttpOk) {
      EXPECT_TRUE(failed->text.IsEmpty()) << "no text of the request before it";
    }

    uint64_t connections = gateway_.connectionsAccepted();
    device::testing::ConnectionCounters counters = device::testing::CountConnections();
    Send("queryBalance");
    ASSERT_TRUE(window_.Next());
    EXPECT_EQ(gateway_.connectionsAccepted() - connections, c.reset ? 1u : 0u);
    EXPECT_EQ(device::testing::CountConnections().established - counters.established, c.reset ? 1u : 0u);
  }
}

TEST_F(HttpClientTest, ARequestThatTimesOutIsAnsweredWithEightAndTheNextStartsAfresh)
{
  gateway_.script("queryTransList", Reply::stall());
  Send("queryBalance");
  ASSERT_TRUE(window_.Next());
  uint64_t connections = gateway_.connectionsAccepted();

  device::testing::UseVirtualClock(SYSTEMTIME{2026, 1, 1, 5, 9, 0, 0, 0});
  Send("queryTransList", kReply, 20000);
  ASSERT_TRUE(gateway_.waitForRequest("queryTransList"));
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(20000);
  std::optional<Answer> timedOut = NextAdvancingClock(window_);
  ASSERT_TRUE(timedOut);
  EXPECT_EQ(timedOut->result, kHttpTimeout);
  ASSERT_TRUE(gateway_.waitForAbandoned(1));

  gateway_.script("queryTransList", Reply::success({{"pageCount", 1}}));
  Send("queryTransList", kReply, -1);
  std::optional<Answer> next = NextAdvancingClock(window_);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->result, kHttpOk);
  EXPECT_EQ(next->text, CStringW(u"{\"resultStatus\":100,\"pageCount\":1}"));
  std::optional<testgateway::RecordedRequest> stalled = gateway_.waitForRequest("queryTransList", 1);
  std::optional<testgateway::RecordedRequest> after = gateway_.waitForRequest("queryTransList", 2);
  ASSERT_TRUE(stalled && after);
  EXPECT_NE(stalled->connection, after->connection);
  EXPECT_EQ(gateway_.connectionsAccepted() - connections, 1u);
}

TEST_F(HttpClientTest, ARequestCancelledBeforeItRunsIsNeverSent)
{
  gateway_.script("queryTransList", Reply::stall());
  Send("queryTransList");
  ASSERT_TRUE(gateway_.waitForRequest("queryTransList"));
  HANDLE cancel = Send("p2pPay");
  SetEvent(cancel);
  gateway_.releaseStalled();
  std::optional<Answer> first = window_.Next();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->result, kHttpOk);

  Send("getMsgCount");
  std::optional<Answer> next = window_.Next();
  ASSERT_TRUE(next);
  EXPECT_NE(next->text.Find(u"getMsgCount"), -1);
  EXPECT_TRUE(gateway_.requestsOf("p2pPay").empty());
  EXPECT_EQ(next->slot, first->slot);
}

TEST_F(HttpClientTest, AfterAResetTheNextRequestGoesTheWayTheNewConnectionReports)
{
  testgateway::LoopbackProxy proxy;
  proxy.start();
  device::testing::ScriptConnectionProxy(IID_DestNetInternet, Wide(proxy.address()).GetString());
  Send("queryBalance");
  ASSERT_TRUE(window_.Next());
  EXPECT_EQ(proxy.requestCount(), 1u);

  // The access-point settings chose again: the connection no longer has a proxy.
  device::testing::ScriptConnectionProxy(IID_DestNetInternet, u"");
  SetResetConnectionFlag();
  Send("getMsgCount");
  ASSERT_TRUE(window_.Next());
  EXPECT_EQ(proxy.requestCount(), 1u);
  std::vector<testgateway::RecordedRequest> requests = gateway_.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].header("User-Agent"), "zunmobilep");
  EXPECT_EQ(requests[1].header("User-Agent"), "zunmobile");
}

TEST(HttpClientSingleton, IsCreatedOnceWithItsWorker)
{
  ServiceDevice device;
  TestGateway gateway;
  gateway.start();
  ReplyWindow window;
  CHttpClient* client = GetHttpClient();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(GetHttpClient(), client);
  HANDLE cancel = client->Enqueue(window.hwnd(), kReply, Wide(gateway.requestUrl()), Operation("queryBalance"), -1);
  EXPECT_NE(cancel, nullptr);
  std::optional<Answer> answer = window.Next();
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->result, kHttpOk);
}

}  // namespace
