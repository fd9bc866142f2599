// The progress strip and the wait animation dialog: the strip starts again after its maximum; the
// dialog lays the strip out by the screen's scale, steps it every 48 ms from its thread, and
// closing it ends that thread.
#include "message_box_fixture.h"
#include "skin_progress_bar.h"
#include "testing/clock.h"
#include "testing/screenshot.h"
#include "wait_animation_dlg.h"

using namespace boxtest;
using namespace kvtest;

namespace {

bool IsBar(COLORREF c)
{
  return GetBValue(c) > GetRValue(c) + 60;
}

// The strip's pixels of the bar along its middle row, from its left edge.
int BarWidth(HWND strip)
{
  RECT rect{};
  GetWindowRect(strip, &rect);
  HDC dc = GetDC(nullptr);
  int count = 0;
  for (int x = rect.left; x < rect.right; ++x)
    count += IsBar(GetPixel(dc, x, (rect.top + rect.bottom) / 2));
  ReleaseDC(nullptr, dc);
  return count;
}

class StripParent : public CWindowImpl<StripParent, CWindow, CWinTraits<WS_POPUP | WS_VISIBLE>> {
 public:
  BEGIN_MSG_MAP(StripParent)
  END_MSG_MAP()
};

TEST_F(MessageBoxTest, TheStripStartsAgainFromOneAfterItsMaximum)
{
  StripParent parent;
  CSkinProgressBar strip;
  ui.Invoke([&] {
    parent.Create(nullptr, RECT{0, 0, 240, 320});
    strip.CreateStrip(parent, RECT{25, 100, 215, 120}, 1008, u"proCtrl");
  });
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(0, BarWidth(strip)) << "at 0 only the track";
  auto step = [&](int times) {
    ui.Invoke([&] {
      for (int i = 0; i < times; ++i)
        strip.Step();
    });
    ASSERT_TRUE(RunUntilIdle());
  };
  step(50);
  EXPECT_NEAR(92, BarWidth(strip), 2) << "half of the inside of the track";
  step(50);
  EXPECT_EQ(100, strip.GetPos());
  EXPECT_NEAR(184, BarWidth(strip), 2) << "the whole inside";
  step(1);
  EXPECT_EQ(1, strip.GetPos());
  EXPECT_LE(BarWidth(strip), 2) << "the track drawn afresh under the first step";
  ui.Invoke([&] { parent.DestroyWindow(); });
}

TEST_F(MessageBoxTest, TheWaitDialogStepsItsStripEvery48MsUntilItCloses)
{
  UseVirtualTime();
  CWaitAnimationDlg dialog;
  std::atomic<INT_PTR> ended{kPending};
  ui.Post([&] { ended = dialog.DoModal(nullptr); });
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(dialog.IsWindow());
  HWND strip = dialog.GetDlgItem(CWaitAnimationDlg::kStripId);
  ASSERT_NE(nullptr, strip);
  RECT client{}, rect{};
  dialog.GetClientRect(&client);
  GetWindowRect(strip, &rect);
  ScreenToClient(dialog, reinterpret_cast<POINT*>(&rect.left));
  ScreenToClient(dialog, reinterpret_cast<POINT*>(&rect.right));
  EXPECT_EQ(190, rect.right - rect.left);
  EXPECT_EQ(20, rect.bottom - rect.top);
  EXPECT_EQ((client.right - 190) / 2, rect.left) << "centred";
  EXPECT_EQ(client.bottom - 30, rect.bottom) << "30 pixels above the bottom";
  EXPECT_EQ(0, BarWidth(strip));
  RECT text{};
  GetWindowRect(dialog.GetDlgItem(CWaitAnimationDlg::kTextId), &text);
  ScreenToClient(dialog, reinterpret_cast<POINT*>(&text.left));
  EXPECT_LT(text.top + 16, rect.top) << "the text above the strip";

  ui.Invoke([&] { log.Watch(dialog, "wait"); });
  auto steps = [&] {
    int count = 0;
    for (const RecordedMessage& m : log.Messages())
      count += m.message == WM_TIMER;
    return count;
  };
  for (int i = 1; i <= 10; ++i) {
    // The thread waits out its 48 ms; once its step is taken it has left that wait.
    ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
    device::testing::AdvanceClock(CWaitAnimationDlg::kStepMs);
    ASSERT_TRUE(RunUntil([&] { return steps() == i; }));
  }
  EXPECT_NEAR(18, BarWidth(strip), 2) << "ten steps of the 184 pixels inside the track";
  SaveScreenshot("wait_animation_240x320");

  dialog.PostMessage(WM_CLOSE);
  // The dialog ends once it has waited for its animation thread.
  ASSERT_TRUE(RunUntil([&] { return ended != kPending; }));
  EXPECT_EQ(1, ended);
  EXPECT_EQ(0u, device::testing::ClockWaiters()) << "the animation thread still runs";
}

}  // namespace
