// The shared box as the wait box of a request: the reply goes on to the owner with its slot, a
// cancel sets the request's cancel event and tells the owner, a reply that comes after its request
// was given up is dropped and its slot freed, and the request's fields do not outlive its wait.
#include <mutex>
#include <vector>

#include "message_box_fixture.h"
#include "testgateway/test_gateway.h"

using namespace boxtest;
using namespace kvtest;

namespace {

constexpr UINT kReply = WM_APP + 0x20;

// Stands for the HTTP client: it keeps what was queued and hands out the cancel events; the test
// answers in its place.
class FakeQueue {
 public:
  struct Queued {
    HWND target;
    UINT message;
    CStringW url;
    CStringW body;
    int timeout;
    HANDLE cancel;
  };
  FakeQueue()
  {
    CThreadMessageBox::SetRequestQueue([this](HWND target, UINT message, const CStringW& url, const CStringW& body,
                                              int timeout) {
      std::lock_guard<std::mutex> guard(lock_);
      HANDLE cancel = CreateEventW(nullptr, TRUE, FALSE, nullptr);
      queued_.push_back({target, message, url, body, timeout, cancel});
      return cancel;
    });
  }
  ~FakeQueue()
  {
    CThreadMessageBox::SetRequestQueue(nullptr);
    for (const Queued& q : queued_)
      CloseHandle(q.cancel);
  }
  std::vector<Queued> Queued_() const
  {
    std::lock_guard<std::mutex> guard(lock_);
    return queued_;
  }
  // Posts the reply as the HTTP client does.
  void Answer(size_t index, HttpReplySlot& slot, WPARAM result = 0)
  {
    slot.busy = 1;
    Queued q = Queued_().at(index);
    ASSERT_TRUE(PostMessageW(q.target, q.message, result, reinterpret_cast<LPARAM>(&slot)));
    ASSERT_TRUE(RunUntilIdle());
  }
  bool Cancelled(size_t index) const { return WaitForSingleObject(Queued_().at(index).cancel, 0) == WAIT_OBJECT_0; }

 private:
  mutable std::mutex lock_;
  std::vector<Queued> queued_;
};

class BoxRequestTest : public MessageBoxTest {
 protected:
  // The owner takes its replies as the screens do: it copies the text and frees the slot.
  HWND Owner(const std::string& name)
  {
    return RecordingWindow(name, [this](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
      if (message != kReply)
        return std::nullopt;
      auto* slot = reinterpret_cast<HttpReplySlot*>(lParam);
      replyText = slot->text;
      InterlockedExchange(&slot->busy, 0);
      SetEvent(replied);
      return 0;
    });
  }
  // Send-and-wait's use of the box, on the user-interface thread.
  void SendAndWait(HWND owner, const CStringW& body = u"{\"operationType\":\"orderPay\"}")
  {
    Run([owner, body] {
      CThreadMessageBox& box = CThreadMessageBox::Instance();
      box.ArmWait();
      if (!box.StartRequest(owner, kReply, u"https://gateway.test/home/mobile.htm", body, 30000, u"正在提交数据，请稍候……",
                            KV_BOX_WAIT))
        return -2;
      int answer = box.Wait();
      box.EndRequest();
      return answer;
    });
  }
  // What the window received of the message.
  std::vector<RecordedMessage> Received(const std::string& window, UINT message)
  {
    std::vector<RecordedMessage> found;
    for (const RecordedMessage& m : log.Messages())
      if (m.window == window && m.message == message)
        found.push_back(m);
    return found;
  }

  void TearDown() override
  {
    MessageBoxTest::TearDown();
    CloseHandle(replied);
  }

  CStringW replyText;
  HANDLE replied = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

TEST_F(BoxRequestTest, TheReplyGoesOnToTheOwnerWithItsSlotAndEndsTheWait)
{
  FakeQueue queue;
  ShowScreen();
  HWND owner = Owner("owner");
  SendAndWait(owner);
  ASSERT_TRUE(Waiting());
  ASSERT_EQ(1u, queue.Queued_().size());
  FakeQueue::Queued queued = queue.Queued_()[0];
  EXPECT_EQ(WM_KV_HTTP_REPLY, queued.message);
  EXPECT_EQ(CStringW(u"{\"operationType\":\"orderPay\"}"), queued.body);
  EXPECT_EQ(30000, queued.timeout);
  EXPECT_TRUE(Visible(Box()));
  EXPECT_TRUE(Visible(Key(KV_BOX_ANSWER_CANCEL)));
  EXPECT_TRUE(Visible(GetDlgItem(Box(), CSkinMessageBox::kProgressId))) << "the progress strip";

  HttpReplySlot slot;
  slot.text = u"{\"resultStatus\":100}";
  queue.Answer(0, slot, 0);
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
  std::vector<RecordedMessage> replies = Received("owner", kReply);
  ASSERT_EQ(1u, replies.size());
  EXPECT_EQ(0u, replies[0].wParam);
  EXPECT_EQ(reinterpret_cast<LPARAM>(&slot), replies[0].lParam);
  EXPECT_EQ(CStringW(u"{\"resultStatus\":100}"), replyText);
  EXPECT_EQ(0, slot.busy);
  EXPECT_TRUE(Visible(Box())) << "the box stays until its owner shows what comes next";
  EXPECT_FALSE(queue.Cancelled(0));
}

TEST_F(BoxRequestTest, TheSlotOfAReplyWhoseOwnerIsGoneIsFreed)
{
  FakeQueue queue;
  HWND owner = Owner("owner");
  SendAndWait(owner);
  ui.Invoke([owner] { DestroyWindow(owner); });
  HttpReplySlot slot;
  queue.Answer(0, slot, 3);
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
  EXPECT_EQ(0, slot.busy);
}

TEST_F(BoxRequestTest, CancelSetsTheRequestsCancelEventAndTellsTheOwner)
{
  FakeQueue queue;
  HWND owner = Owner("owner");
  SendAndWait(owner);
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  EXPECT_EQ(KV_BOX_ANSWER_CANCEL, result);
  EXPECT_TRUE(queue.Cancelled(0));
  std::vector<RecordedMessage> cancelled = Received("owner", WM_KV_WAIT_CANCELLED);
  ASSERT_EQ(1u, cancelled.size());
  EXPECT_TRUE(cancelled[0].how & posted);
  EXPECT_EQ(0u, cancelled[0].wParam);
  EXPECT_EQ(0, cancelled[0].lParam);
  EXPECT_FALSE(Visible(Box()));
}

TEST_F(BoxRequestTest, AReplyThatComesAfterItsRequestWasCancelledIsDroppedAndItsSlotFreed)
{
  FakeQueue queue;
  HWND first = Owner("first");
  HWND second = Owner("second");
  SendAndWait(first);
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  ASSERT_EQ(KV_BOX_ANSWER_CANCEL, result);

  // The next request is under way when the first one's reply, posted just before the cancel,
  // arrives.
  SendAndWait(second);
  HttpReplySlot stale;
  queue.Answer(0, stale);
  EXPECT_TRUE(Waiting()) << "the stale reply ended the new wait";
  EXPECT_EQ(0, stale.busy);
  EXPECT_TRUE(Received("first", kReply).empty());
  EXPECT_TRUE(Received("second", kReply).empty());

  HttpReplySlot fresh;
  fresh.text = u"{\"resultStatus\":100}";
  queue.Answer(1, fresh);
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
  EXPECT_EQ(1u, Received("second", kReply).size());
  EXPECT_EQ(0, fresh.busy);
}

TEST_F(BoxRequestTest, ARequestsFieldsDoNotOutliveItsWait)
{
  FakeQueue queue;
  HWND owner = Owner("owner");
  SendAndWait(owner);
  HttpReplySlot slot;
  queue.Answer(0, slot);
  ASSERT_EQ(KV_BOX_NO_ANSWER, result);

  // A later question cancelled: the request's event (closed by the HTTP client by now) is not
  // set, and its owner is not told.
  Ask(u"确定要退出吗？", KV_BOX_QUESTION);
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  ASSERT_EQ(KV_BOX_ANSWER_CANCEL, result);
  EXPECT_FALSE(queue.Cancelled(0));
  EXPECT_TRUE(Received("owner", WM_KV_WAIT_CANCELLED).empty());
}

TEST_F(BoxRequestTest, ABoxShownWithoutAWaitTellsItsCancelOwnerOnlyOnce)
{
  HWND page = Owner("page");
  ui.Invoke([page] { CThreadMessageBox::Instance().Setup(u"加载数据", u"提示", KV_BOX_WAIT, TRUE, page); });
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  EXPECT_EQ(1u, Received("page", WM_KV_WAIT_CANCELLED).size());

  // The box's next use has no cancel owner of its own.
  Ask(u"正在获取数据...", KV_BOX_WAIT, TRUE);
  ASSERT_TRUE(Waiting());
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  EXPECT_EQ(KV_BOX_ANSWER_CANCEL, result);
  EXPECT_EQ(1u, Received("page", WM_KV_WAIT_CANCELLED).size());
}

TEST_F(BoxRequestTest, ARequestThatCannotBeQueuedShowsNothing)
{
  CThreadMessageBox::SetRequestQueue([](HWND, UINT, const CStringW&, const CStringW&, int) -> HANDLE { return nullptr; });
  SendAndWait(Owner("owner"));
  EXPECT_EQ(-2, result);
  EXPECT_FALSE(Visible(Box()));
}

TEST_F(BoxRequestTest, AGatewaysReplyReachesTheOwnerThroughTheHttpClient)
{
  testgateway::TestGateway gateway;
  gateway.script("queryBalance", testgateway::Reply::success({{"currentBalance", "12.00"}}));
  gateway.start();
  std::string url = gateway.requestUrl();
  HWND owner = Owner("owner");
  Run([owner, url] {
    CThreadMessageBox& box = CThreadMessageBox::Instance();
    box.ArmWait();
    box.StartRequest(owner, kReply, CStringW(std::u16string(url.begin(), url.end()).c_str()),
                     u"{\"operationType\":\"queryBalance\"}", 30000, u"正在查询……", KV_BOX_WAIT);
    int answer = box.Wait();
    box.EndRequest();
    return answer;
  });
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(replied, 30000));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
  ASSERT_EQ(1u, Received("owner", kReply).size());
  EXPECT_EQ(0u, Received("owner", kReply)[0].wParam);
  EXPECT_EQ(CStringW(u"{\"resultStatus\":100,\"currentBalance\":\"12.00\"}"), replyText);
}

}  // namespace
