// Timers under virtual time: due times, coalescing, killing from another thread, procedures.
#include "testing/clock.h"
#include "testing/ui_thread.h"
#include "user_test_fixture.h"

using namespace kvtest;

namespace {

class Timers : public UserTest {
 protected:
  void SetUp() override { UseVirtualTime(); }

  size_t TimerCount(UINT_PTR id)
  {
    size_t count = 0;
    for (const auto& m : log.Messages())
      count += m.message == WM_TIMER && m.wParam == id;
    return count;
  }
};

TEST_F(Timers, FireEveryPeriodAsVirtualTimeAdvances)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  ASSERT_EQ(7u, SetTimer(hwnd, 7, 100, nullptr));
  ASSERT_TRUE(AdvanceTime(99));
  EXPECT_EQ(0u, TimerCount(7));
  ASSERT_TRUE(AdvanceTime(1));
  EXPECT_EQ(1u, TimerCount(7));
  ASSERT_TRUE(AdvanceTime(1000));
  EXPECT_EQ(11u, TimerCount(7));
  EXPECT_TRUE(KillTimer(hwnd, 7));
  EXPECT_FALSE(KillTimer(hwnd, 7));
  ASSERT_TRUE(AdvanceTime(1000));
  EXPECT_EQ(11u, TimerCount(7));
}

TEST_F(Timers, ATimerThatFellBehindFiresOnceAndAfterEverythingElse)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  SetTimer(hwnd, 1, 10, nullptr);
  device::testing::AdvanceClock(1000);  // a hundred periods pass while the thread is busy
  PostMessageW(hwnd, WM_USER, 0, 0);
  log.Clear();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ("", log.Mismatch({{"w", WM_USER, posted}, {"w", WM_TIMER, posted | wparam, 1}}, "one late timer"));
}

TEST_F(Timers, SetTimerAgainRestartsIt)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  SetTimer(hwnd, 1, 100, nullptr);
  ASSERT_TRUE(AdvanceTime(60));
  SetTimer(hwnd, 1, 100, nullptr);
  ASSERT_TRUE(AdvanceTime(60));
  EXPECT_EQ(0u, TimerCount(1));
  ASSERT_TRUE(AdvanceTime(40));
  EXPECT_EQ(1u, TimerCount(1));
}

TEST_F(Timers, KillTimerFromAnotherThreadStopsIt)
{
  UiThread ui;
  HWND hwnd = nullptr;
  ui.Invoke([&] {
    hwnd = CreateRecordingWindow(log, {.name = "w"});
    SetTimer(hwnd, 3, 50, nullptr);
  });
  ASSERT_TRUE(AdvanceTime(50));
  EXPECT_EQ(1u, TimerCount(3));
  EXPECT_TRUE(KillTimer(hwnd, 3));
  ASSERT_TRUE(AdvanceTime(500));
  EXPECT_EQ(1u, TimerCount(3));
  ui.Invoke([&] { DestroyWindow(hwnd); });
}

TEST_F(Timers, ThreadTimersCallTheirProcedureThroughDispatch)
{
  static int calls;
  static UINT_PTR seenId;
  calls = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 20, [](HWND hwnd, UINT message, UINT_PTR timer, DWORD) {
    ++calls;
    seenId = timer;
    EXPECT_EQ(nullptr, hwnd);
    EXPECT_EQ(static_cast<UINT>(WM_TIMER), message);
  });
  ASSERT_NE(0u, id);
  ASSERT_TRUE(AdvanceTime(60));
  EXPECT_EQ(3, calls);
  EXPECT_EQ(id, seenId);
  MSG forged{nullptr, WM_TIMER, id + 1, reinterpret_cast<LPARAM>(&calls), 0, {}};
  DispatchMessageW(&forged);  // an lParam that is not a live timer's procedure is not called
  EXPECT_EQ(3, calls);
  KillTimer(nullptr, id);
}

TEST_F(Timers, AreDroppedWithTheirWindow)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  SetTimer(hwnd, 1, 10, nullptr);
  DestroyWindow(hwnd);
  EXPECT_FALSE(KillTimer(hwnd, 1));
  ASSERT_TRUE(AdvanceTime(100));
}

TEST_F(Timers, SetTimerOnAnotherThreadsWindowFails)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  UINT_PTR result = 1;
  DWORD error = 0;
  std::thread([&] {
    result = SetTimer(hwnd, 1, 10, nullptr);
    error = GetLastError();
  }).join();
  EXPECT_EQ(0u, result);
  EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), error);
}

}  // namespace
