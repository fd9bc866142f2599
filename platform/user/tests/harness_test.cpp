// The UI test harness itself: a UI thread in a test, the window tree dump, waiting for a
// window, running until idle across threads; and the screen basics it sets.
#include <atomic>
#include <fstream>
#include <functional>

#include "testing/clock.h"
#include "testing/ui_thread.h"
#include "user_test_fixture.h"

using namespace kvtest;

namespace {

using Harness = UserTest;
using Screen = UserTest;

TEST_F(Harness, DumpsTheTreeWithTextStateAndFocus)
{
  HWND top = CreateRecordingWindow(log, {.name = "Main", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 240, 320}});
  HWND edit = CreateRecordingWindow(
      log, {.name = "Amount", .style = WS_CHILD | WS_VISIBLE, .parent = top, .rect = {10, 20, 110, 40}, .id = 1011});
  CreateRecordingWindow(log, {.name = "OK",
                              .style = WS_CHILD | WS_VISIBLE | WS_DISABLED,
                              .parent = top,
                              .rect = {10, 50, 60, 70},
                              .id = 1});
  SetFocus(edit);
  EXPECT_EQ("KvRecorder \"Main\" id=0 [0,0 240,320] visible active\n"
            "  KvRecorder \"Amount\" id=1011 [10,20 110,40] visible focus\n"
            "  KvRecorder \"OK\" id=1 [10,50 60,70] visible disabled\n",
            DumpWindowTree());
}

TEST_F(Harness, RunsAUiThreadAndWaitsForItsWindows)
{
  UiThread ui;
  ui.Post([this] {
    HWND box = CreateRecordingWindow(log, {.name = "Box", .style = WS_POPUP | WS_VISIBLE});
    PostMessageW(box, WM_USER, 0, 0);  // work that is still queued when the post returns
  });
  HWND box = WaitForTopLevelWindow(nullptr, u"Box");
  ASSERT_NE(nullptr, box);
  ASSERT_TRUE(RunUntilIdle());
  bool sawPost = false;
  for (const auto& m : log.Messages())
    sawPost = sawPost || m.message == WM_USER;
  EXPECT_TRUE(sawPost) << "the UI thread's posted message was handled before idle";
  EXPECT_EQ(ui.ThreadId(), GetWindowThreadProcessId(box, nullptr));
  EXPECT_NE(std::string::npos, DumpWindowTree().find("\"Box\"")) << DumpWindowTree();
  EXPECT_EQ(nullptr, WaitForTopLevelWindow(nullptr, u"Nobody", 50));
  ui.Invoke([&] { DestroyWindow(box); });
}

TEST_F(Harness, AThreadInAnObjectWaitIsIdleUntilItsObjectEndsTheWait)
{
  UiThread ui;
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> stage{0};
  ui.Post([&] {
    HWND window = CreateRecordingWindow(log, {.name = "waiter"});
    // Queued work the wait does not take: it waits for the wait's end.
    PostMessageW(window, WM_USER, 0, 0);
    stage = 1;
    MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, 0);
    stage = 2;
  });
  EXPECT_TRUE(RunUntilIdle()) << "the post the wait does not take kept the thread busy";
  EXPECT_EQ(1, stage);
  SetEvent(event);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(2, stage) << "idle before the thread went on from its ended wait";
  ui.Invoke([&] { DestroyThreadWindows(); });
  CloseHandle(event);
}

// The ends of an object wait that leave nothing behind for the harness to see: the wait takes
// the auto-reset event it woke for, and a time-out is only the clock having moved.
TEST_F(Harness, AThreadWhoseObjectWaitEndsIsBusyUntilItGoesOn)
{
  UseVirtualTime();
  struct Case {
    const char* end;
    DWORD timeout;
    std::function<void(HANDLE)> endWait;
  };
  const Case cases[] = {
      {"an auto-reset event set", INFINITE, [](HANDLE event) { SetEvent(event); }},
      {"its time-out reached on the device clock", 1000, [](HANDLE) { device::testing::AdvanceClock(1000); }},
  };
  for (const Case& c : cases) {
    for (int round = 0; round < 20; ++round) {
      UiThread ui;
      HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
      std::atomic<int> stage{0};
      ui.Post([&] {
        stage = 1;
        MsgWaitForMultipleObjects(1, &event, FALSE, c.timeout, QS_ALLINPUT);
        stage = 2;
      });
      ASSERT_TRUE(RunUntilIdle());
      ASSERT_EQ(1, stage) << c.end;
      c.endWait(event);
      ASSERT_TRUE(RunUntilIdle());
      ASSERT_EQ(2, stage) << "idle before the thread went on from its wait ended by " << c.end << ", round " << round;
      CloseHandle(event);
    }
  }
}

TEST_F(Harness, ASenderIsBusyFromItsAnswerUntilItGoesOn)
{
  UiThread sender;
  UiThread receiver;
  HWND target = nullptr;
  receiver.Invoke([&] { target = CreateRecordingWindow(log, {.name = "target"}); });
  // The answer wakes the sender while the receiver already waits again: a moment in which both
  // look idle unless an answered sender counts as busy.
  for (int round = 0; round < 50; ++round) {
    std::atomic<bool> done{false};
    sender.Post([&] {
      SendMessageW(target, WM_USER, 0, 0);
      done = true;
    });
    ASSERT_TRUE(RunUntilIdle());
    ASSERT_TRUE(done) << "round " << round;
  }
  receiver.Invoke([&] { DestroyThreadWindows(); });
}

TEST_F(Harness, TapsReachAWindowOfAnotherThread)
{
  UiThread ui;
  HWND button = nullptr;
  ui.Invoke([&] {
    HWND top = CreateRecordingWindow(log, {.name = "top", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 240, 320}});
    button = CreateRecordingWindow(
        log, {.name = "button", .style = WS_CHILD | WS_VISIBLE, .parent = top, .rect = {20, 280, 100, 310}});
  });
  log.Clear();
  ASSERT_TRUE(TapWindow(button));
  EXPECT_EQ("", log.Mismatch({{"button", WM_LBUTTONDOWN, posted | lparam, 0, MAKELPARAM(40, 15)},
                              {"button", WM_LBUTTONUP, posted}},
                             "a tap in the middle of the button"));
  ui.Invoke([&] { DestroyThreadWindows(); });
}

TEST_F(Screen, SizeComesFromTheDeviceSettingsFile)
{
  std::ofstream(root.path() + "/device.ini") << "[screen]\nwidth = 480\nheight = 640\n";
  EXPECT_EQ(480, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(640, GetSystemMetrics(SM_CYSCREEN));
  DEVMODEW mode{};
  ASSERT_TRUE(EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode));
  EXPECT_EQ(480u, mode.dmPelsWidth);
  EXPECT_EQ(640u, mode.dmPelsHeight);
}

TEST_F(Screen, SizeAndDisplayModeFollowTheTestsScreen)
{
  struct Case {
    int width, height;
    int caption;
  };
  const Case cases[] = {{240, 320, 26}, {480, 640, 52}, {320, 240, 26}, {640, 480, 52}};
  for (const Case& c : cases) {
    SetScreenSize(c.width, c.height);
    EXPECT_EQ(c.width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(c.height, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(c.caption, GetSystemMetrics(SM_CYCAPTION));
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    ASSERT_TRUE(EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode));
    EXPECT_EQ(static_cast<DWORD>(c.width), mode.dmPelsWidth);
    EXPECT_EQ(static_cast<DWORD>(c.height), mode.dmPelsHeight);
    EXPECT_EQ(32u, mode.dmBitsPerPel);
  }
  DEVMODEW mode{};
  EXPECT_FALSE(EnumDisplaySettingsW(nullptr, 1, &mode)) << "the device has one mode";
}

}  // namespace
