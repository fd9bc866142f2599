#include "base/errors.h"
#include "base/lasterror.h"
#include "device_files.h"
#include "kernel/kernel.h"
#include "testing/clock.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

constexpr SYSTEMTIME kStart = {2024, 5, 0, 20, 9, 30, 0, 0};

struct WaitResult {
  HANDLE event;
  DWORD timeout;
  std::atomic<DWORD> result{0xDEAD};
};

DWORD WINAPI WaitOnEvent(LPVOID parameter)
{
  auto* wait = static_cast<WaitResult*>(parameter);
  wait->result = WaitForSingleObject(wait->event, wait->timeout);
  return 0;
}

TEST(Events, AutoResetReleasesOneWaiterPerSet)
{
  device::testing::UseVirtualClock(kStart);
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  WaitResult first{event, 1000}, second{event, 1000};
  HANDLE threads[] = {CreateThread(nullptr, 0, WaitOnEvent, &first, 0, nullptr),
                      CreateThread(nullptr, 0, WaitOnEvent, &second, 0, nullptr)};
  ASSERT_TRUE(device::testing::WaitForClockWaiters(2));

  ASSERT_TRUE(SetEvent(event));
  ASSERT_LT(WaitForMultipleObjects(2, threads, FALSE, INFINITE), WAIT_OBJECT_0 + 2);
  device::testing::AdvanceClock(1000);
  ASSERT_EQ(WaitForMultipleObjects(2, threads, TRUE, INFINITE), WAIT_OBJECT_0);

  // Exactly one waiter took the event; the other timed out, and the event is reset.
  EXPECT_EQ((first.result == WAIT_OBJECT_0) + (second.result == WAIT_OBJECT_0), 1);
  EXPECT_EQ((first.result == WAIT_TIMEOUT) + (second.result == WAIT_TIMEOUT), 1);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  for (HANDLE handle : {threads[0], threads[1], event}) {
    CloseHandle(handle);
  }
}

TEST(Events, ManualResetStaysSetForEveryWaiterUntilReset)
{
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  WaitResult first{event, INFINITE}, second{event, INFINITE};
  HANDLE threads[] = {CreateThread(nullptr, 0, WaitOnEvent, &first, 0, nullptr),
                      CreateThread(nullptr, 0, WaitOnEvent, &second, 0, nullptr)};
  ASSERT_TRUE(SetEvent(event));
  ASSERT_EQ(WaitForMultipleObjects(2, threads, TRUE, 30000), WAIT_OBJECT_0);
  EXPECT_EQ(first.result, WAIT_OBJECT_0);
  EXPECT_EQ(second.result, WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);

  ASSERT_TRUE(ResetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  for (HANDLE handle : {threads[0], threads[1], event}) {
    CloseHandle(handle);
  }
}

TEST(Events, InitialStateAndAutoResetTakenByOneWait)
{
  HANDLE event = CreateEventW(nullptr, FALSE, TRUE, nullptr);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(Events, WaitTimesOutOnTheDeviceClock)
{
  device::testing::UseVirtualClock(kStart, 5000);
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  struct Timed {
    HANDLE event;
    DWORD result = 0;
    DWORD endedAt = 0;
  } timed{event};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID parameter) -> DWORD {
        auto* timed = static_cast<Timed*>(parameter);
        timed->result = WaitForSingleObject(timed->event, 500);
        timed->endedAt = GetTickCount();
        return 0;
      },
      &timed, 0, nullptr);
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(499);
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(1);
  ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(timed.result, WAIT_TIMEOUT);
  EXPECT_EQ(timed.endedAt, 5500u);
  CloseHandle(thread);
  CloseHandle(event);
}

TEST(Events, ClosedHandleFailsCleanly)
{
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(event));
  SetLastError(0);
  EXPECT_FALSE(SetEvent(event));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(ResetEvent(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(CloseHandle(event));
  for (HANDLE bogus : {HANDLE(nullptr), INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(0x1234567)}) {
    EXPECT_FALSE(SetEvent(bogus));
  }
}

TEST(Events, StaleHandleNeverReachesANewerObject)
{
  HANDLE stale = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(CloseHandle(stale));
  // Newer events take the freed slot; the stale handle must reach none of them.
  HANDLE newer[8];
  for (HANDLE& event : newer) {
    event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(event, stale);
  }
  EXPECT_FALSE(SetEvent(stale));
  EXPECT_FALSE(CloseHandle(stale));
  for (HANDLE event : newer) {
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(event));
  }
}

using NamedEvents = DeviceFilesTest;

TEST_F(NamedEvents, SameNameOpensTheExistingEvent)
{
  HANDLE created = CreateEventW(nullptr, TRUE, FALSE, u"Box_event");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  HANDLE opened = CreateEventW(nullptr, FALSE, FALSE, u"Box_event");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  HANDLE other = CreateEventW(nullptr, TRUE, FALSE, u"box_event");  // names are case-sensitive
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_NE(opened, created);

  ASSERT_TRUE(SetEvent(opened));
  // The existing event keeps its manual reset; the second call's arguments do not change it.
  EXPECT_EQ(WaitForSingleObject(created, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(created, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(other, 0), WAIT_TIMEOUT);
  for (HANDLE handle : {created, opened, other}) {
    CloseHandle(handle);
  }
}

TEST_F(NamedEvents, LastCloseEndsTheEvent)
{
  HANDLE event = CreateEventW(nullptr, TRUE, TRUE, u"Transient");
  CloseHandle(event);
  event = CreateEventW(nullptr, TRUE, FALSE, u"Transient");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST(Waits, MultipleReturnsTheLowestSignalledIndex)
{
  HANDLE events[4];
  for (HANDLE& event : events) {
    event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  }
  SetEvent(events[3]);
  SetEvent(events[1]);
  EXPECT_EQ(WaitForMultipleObjects(4, events, FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(4, events, FALSE, 0), WAIT_OBJECT_0 + 3);
  EXPECT_EQ(WaitForMultipleObjects(4, events, FALSE, 0), WAIT_TIMEOUT);
  for (HANDLE event : events) {
    CloseHandle(event);
  }
}

TEST(Waits, AllOfTakesEveryObjectOrNone)
{
  HANDLE events[2] = {CreateEventW(nullptr, FALSE, TRUE, nullptr), CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(events[0], 0), WAIT_OBJECT_0);  // still signalled: not taken alone
  SetEvent(events[0]);
  SetEvent(events[1]);
  EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, 0), WAIT_TIMEOUT);
  for (HANDLE event : events) {
    CloseHandle(event);
  }
}

TEST(Waits, BadArgumentsFail)
{
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE twice[] = {event, event};
  HANDLE many[MAXIMUM_WAIT_OBJECTS + 1] = {};
  struct Case {
    DWORD count;
    const HANDLE* handles;
    BOOL all;
    DWORD error;
  } cases[] = {
      {0, twice, FALSE, ERROR_INVALID_PARAMETER},
      {MAXIMUM_WAIT_OBJECTS + 1, many, FALSE, ERROR_INVALID_PARAMETER},
      {2, twice, TRUE, ERROR_INVALID_PARAMETER},
      {1, many, FALSE, ERROR_INVALID_HANDLE},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(WaitForMultipleObjects(c.count, c.handles, c.all, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), c.error);
  }
  CloseHandle(event);
}

}  // namespace
