#include "kernel/kernel.h"
#include "testing/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualClock, DrivesSleepDeterministically)
{
  device::testing::UseVirtualClock({2024, 1, 0, 1, 0, 0, 0, 0}, 1000);
  EXPECT_EQ(GetTickCount(), 1000u);
  static DWORD wokeAt = 0;
  HANDLE sleeper = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        Sleep(250);
        wokeAt = GetTickCount();
        return 0;
      },
      nullptr, 0, nullptr);
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  for (int step = 0; step < 4; ++step) {
    device::testing::AdvanceClock(50);
  }
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));  // 200 ms: still asleep
  EXPECT_EQ(WaitForSingleObject(sleeper, 0), WAIT_TIMEOUT);
  device::testing::AdvanceClock(100);
  ASSERT_EQ(WaitForSingleObject(sleeper, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(wokeAt, 1300u);
  EXPECT_EQ(device::testing::ClockWaiters(), 0u);
  CloseHandle(sleeper);
}

TEST(VirtualClock, CalendarTimeFollowsTheClock)
{
  device::testing::UseVirtualClock({2024, 2, 0, 29, 23, 59, 59, 500});
  device::testing::AdvanceClock(600);
  SYSTEMTIME local{}, utc{};
  GetLocalTime(&local);
  GetSystemTime(&utc);
  EXPECT_EQ(local.wYear, 2024);
  EXPECT_EQ(local.wMonth, 3);
  EXPECT_EQ(local.wDay, 1);
  EXPECT_EQ(local.wDayOfWeek, 5);  // a Friday
  EXPECT_EQ(local.wHour, 0);
  EXPECT_EQ(local.wMinute, 0);
  EXPECT_EQ(local.wSecond, 0);
  EXPECT_EQ(local.wMilliseconds, 100);
  EXPECT_EQ(0, memcmp(&local, &utc, sizeof local));
}

TEST(RealClock, TickCountAndCalendarMove)
{
  DWORD before = GetTickCount();
  Sleep(20);
  EXPECT_GE(GetTickCount() - before, 20u);
  SYSTEMTIME now{};
  GetSystemTime(&now);
  EXPECT_GE(now.wYear, 2024);
  EXPECT_TRUE(now.wMonth >= 1 && now.wMonth <= 12);
}

}  // namespace
