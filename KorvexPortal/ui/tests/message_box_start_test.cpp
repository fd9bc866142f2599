// The shared box is handed out only once its window is ready, however fast the device clock
// runs meanwhile: a box without a window would end every wait at once with no answer.
#include "message_box_fixture.h"
#include "testing/clock.h"

using namespace boxtest;

namespace {

class MessageBoxStartTest : public MessageBoxTest {
 protected:
  void TearDown() override
  {
    // A box handed out too early gets its window later; it is closed only once it has one.
    EXPECT_TRUE(RunUntil([] { return CThreadMessageBox::SharedWindow() != nullptr; }));
    MessageBoxTest::TearDown();
  }
};

TEST_F(MessageBoxStartTest, TheBoxIsReadyWhenHandedOutWhileTheClockRunsAhead)
{
  kvtest::UseVirtualTime();
  // Whatever waits on the device clock sees a minute pass at once, as a clock driver on a busy
  // test machine makes it.
  std::atomic<bool> stop{false};
  std::thread driver([&] {
    while (!stop) {
      if (device::testing::WaitForClockWaiters(1, 20))
        device::testing::AdvanceClock(60000);
    }
  });
  bool ready = CThreadMessageBox::Instance().HasWindow();
  stop = true;
  driver.join();
  ASSERT_TRUE(ready);

  // Its waits end by their answer, not at once.
  Ask(u"确定要付款吗？", KV_BOX_OKCANCEL);
  EXPECT_TRUE(Waiting());
  ASSERT_TRUE(kvtest::TapWindow(Key(KV_BOX_ANSWER_OK)));
  EXPECT_EQ(KV_BOX_ANSWER_OK, result);
}

}  // namespace
