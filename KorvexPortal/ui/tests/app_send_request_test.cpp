// Send-and-wait against the test gateway: the reply goes on to the owner (which frees its slot)
// and the caller gets -1; a cancel against a stalled gateway gives 1002, tells the owner and
// drops the late reply; the next request waits for its own reply.
#include "app_fixture.h"
#include "message_box_fixture.h"
#include "testgateway/test_gateway.h"

namespace {

using namespace boxtest;

constexpr UINT kReply = WM_APP + 0x21;

class SendRequestTest : public MessageBoxTest {
 protected:
  void SetUp() override
  {
    MessageBoxTest::SetUp();
    gateway.script("queryBalance", testgateway::Reply::success({{"currentBalance", "12.00"}}));
    gateway.script("orderPay", testgateway::Reply::stall(testgateway::Reply::result(100, "late")));
    gateway.start();
    owner = RecordingWindow("owner", [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      if (message != kReply)
        return std::nullopt;
      auto* slot = reinterpret_cast<HttpReplySlot*>(lParam);
      replies.push_back(slot->text);
      InterlockedExchange(&slot->busy, 0);
      freed.push_back(slot->busy == 0);
      return 0;
    });
  }
  void TearDown() override
  {
    gateway.releaseStalled();
    MessageBoxTest::TearDown();
  }
  void Send(const char* operation)
  {
    std::string url = gateway.requestUrl();
    CStringW body;
    body.Format(u"{\"operationType\":\"%S\"}", operation);
    Run([this, url, body] {
      return app.SendRequestAndWait(owner, kReply, CStringW(std::u16string(url.begin(), url.end()).c_str()), body,
                                    u"正在查询……", KV_BOX_WAIT, 30000);
    });
  }
  size_t Told(UINT message)
  {
    size_t count = 0;
    for (const kvtest::RecordedMessage& m : log.Messages())
      count += m.window == "owner" && m.message == message;
    return count;
  }

  testgateway::TestGateway gateway;
  HWND owner = nullptr;
  std::vector<CStringW> replies;
  std::vector<bool> freed;
};

TEST_F(SendRequestTest, TheReplyGoesOnToTheOwnerAndTheCallerGetsMinusOne)
{
  ShowScreen();
  Send("queryBalance");
  ASSERT_TRUE(RunUntil([&] { return !Waiting(); }));
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
  ASSERT_EQ(1u, replies.size());
  EXPECT_EQ(CStringW(u"{\"resultStatus\":100,\"currentBalance\":\"12.00\"}"), replies[0]);
  EXPECT_EQ(std::vector<bool>{true}, freed);
  auto request = gateway.waitForRequest("queryBalance");
  ASSERT_TRUE(request.has_value());
}

TEST_F(SendRequestTest, ACancelAgainstAStalledGatewayGives1002AndDropsTheLateReply)
{
  ShowScreen();
  Send("orderPay");
  ASSERT_TRUE(RunUntil([&] { return gateway.stalledCount() == 1; }));
  ASSERT_TRUE(Visible(Box()));
  ASSERT_TRUE(kvtest::TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  ASSERT_TRUE(RunUntil([&] { return !Waiting(); }));
  EXPECT_EQ(KV_BOX_ANSWER_CANCEL, result);
  EXPECT_EQ(1u, Told(WM_KV_WAIT_CANCELLED));

  // The late reply reaches nobody; the next request gets its own.
  gateway.releaseStalled();
  Send("queryBalance");
  ASSERT_TRUE(RunUntil([&] { return !Waiting(); }));
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
  ASSERT_EQ(1u, replies.size());
  EXPECT_EQ(CStringW(u"{\"resultStatus\":100,\"currentBalance\":\"12.00\"}"), replies[0]);
  EXPECT_EQ(1u, Told(kReply));
}

TEST_F(SendRequestTest, ARequestThatCannotBeQueuedIsToldAndNotWaitedFor)
{
  CThreadMessageBox::SetRequestQueue([](HWND, UINT, const CStringW&, const CStringW&, int) -> HANDLE { return nullptr; });
  ShowScreen();
  Send("queryBalance");
  // The error box is the shared box: answer it.
  ASSERT_TRUE(RunUntil([&] { return Visible(Box()) && Key(KV_BOX_ANSWER_OK); }));
  ASSERT_TRUE(kvtest::TapWindow(Key(KV_BOX_ANSWER_OK)));
  ASSERT_TRUE(RunUntil([&] { return !Waiting(); }));
  EXPECT_EQ(0, result);
  EXPECT_TRUE(replies.empty());
}

}  // namespace
