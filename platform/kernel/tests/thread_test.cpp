#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/kernel.h"
#include "testing/device_root.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>

namespace {

TEST(Threads, HandleSignalsOnEndWithTheExitCode)
{
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  DWORD id = 0;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID parameter) -> DWORD {
        WaitForSingleObject(static_cast<HANDLE>(parameter), INFINITE);
        return 42;
      },
      go, 0, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);

  SetEvent(go);
  ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
  ASSERT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 42u);
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);  // stays signalled
  CloseHandle(thread);
  CloseHandle(go);
}

TEST(Threads, ExitThreadEndsWithItsCodeAndUnwinds)
{
  static bool unwound = false;
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        struct Guard {
          ~Guard() { unwound = true; }
        } guard;
        ExitThread(7);
      },
      nullptr, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeThread(thread, &code));
  EXPECT_EQ(code, 7u);
  EXPECT_TRUE(unwound);
  CloseHandle(thread);
}

TEST(Threads, TerminateEndsWaitingThreadsWithTheirCode)
{
  device::testing::ScopedDeviceRoot root;
  static std::atomic<int> unwound;
  unwound = 0;
  auto waitForever = [](LPVOID event) -> DWORD {
    struct Guard {
      ~Guard() { ++unwound; }
    } guard;
    WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
    return 1;
  };
  HANDLE local = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE named = CreateEventW(nullptr, TRUE, FALSE, u"NeverSet");
  HANDLE threads[] = {CreateThread(nullptr, 0, waitForever, local, 0, nullptr),
                      CreateThread(nullptr, 0, waitForever, named, 0, nullptr)};
  EXPECT_EQ(WaitForMultipleObjects(2, threads, FALSE, 0), WAIT_TIMEOUT);
  for (HANDLE thread : threads) {
    ASSERT_TRUE(TerminateThread(thread, static_cast<DWORD>(-1)));
  }
  ASSERT_EQ(WaitForMultipleObjects(2, threads, TRUE, 30000), WAIT_OBJECT_0);
  for (HANDLE thread : threads) {
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, static_cast<DWORD>(-1));
    CloseHandle(thread);
  }
  EXPECT_EQ(unwound, 2);
  CloseHandle(local);
  CloseHandle(named);
}

TEST(Threads, IdsAreDistinctAndStable)
{
  DWORD ids[4] = {};
  HANDLE threads[4];
  for (DWORD& id : ids) {
    threads[&id - ids] = CreateThread(
        nullptr, 0,
        [](LPVOID parameter) -> DWORD {
          *static_cast<DWORD*>(parameter) = GetCurrentThreadId();
          return 0;
        },
        &id, 0, nullptr);
  }
  ASSERT_EQ(WaitForMultipleObjects(4, threads, TRUE, 30000), WAIT_OBJECT_0);
  std::set<DWORD> distinct(std::begin(ids), std::end(ids));
  distinct.insert(GetCurrentThreadId());
  EXPECT_EQ(distinct.size(), 5u);
  EXPECT_EQ(GetCurrentThreadId(), GetCurrentThreadId());
  for (HANDLE thread : threads) {
    CloseHandle(thread);
  }
}

TEST(Threads, LastErrorIsPerThread)
{
  SetLastError(ERROR_ACCESS_DENIED);
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID) -> DWORD {
        DWORD inherited = GetLastError();
        SetLastError(ERROR_FILE_NOT_FOUND);
        return inherited == ERROR_SUCCESS && GetLastError() == ERROR_FILE_NOT_FOUND ? 1 : 0;
      },
      nullptr, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, 30000), WAIT_OBJECT_0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  DWORD code = 0;
  GetExitCodeThread(thread, &code);
  EXPECT_EQ(code, 1u);
  CloseHandle(thread);
}

TEST(CriticalSections, AreRecursiveAndExcludeOtherThreads)
{
  static CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  EnterCriticalSection(&section);
  EnterCriticalSection(&section);
  auto tryFromOtherThread = [] {
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID) -> DWORD {
          if (!TryEnterCriticalSection(&section)) {
            return 0;
          }
          LeaveCriticalSection(&section);
          return 1;
        },
        nullptr, 0, nullptr);
    WaitForSingleObject(thread, 30000);
    DWORD entered = 0;
    GetExitCodeThread(thread, &entered);
    CloseHandle(thread);
    return entered;
  };
  EXPECT_EQ(tryFromOtherThread(), 0u);
  LeaveCriticalSection(&section);
  EXPECT_EQ(tryFromOtherThread(), 0u);  // still held once
  LeaveCriticalSection(&section);
  EXPECT_EQ(tryFromOtherThread(), 1u);
  DeleteCriticalSection(&section);
}

TEST(Interlocked, ReturnValuesAndAtomicity)
{
  LONG value = 5;
  EXPECT_EQ(InterlockedIncrement(&value), 6);
  EXPECT_EQ(InterlockedDecrement(&value), 5);
  EXPECT_EQ(InterlockedExchangeAdd(&value, 10), 5);
  EXPECT_EQ(InterlockedExchange(&value, 1), 15);
  EXPECT_EQ(InterlockedCompareExchange(&value, 9, 0), 1);  // no match: unchanged
  EXPECT_EQ(InterlockedCompareExchange(&value, 9, 1), 1);
  EXPECT_EQ(value, 9);
  PVOID slot = nullptr;
  int a = 0;
  EXPECT_EQ(InterlockedCompareExchangePointer(&slot, &a, nullptr), nullptr);
  EXPECT_EQ(InterlockedExchangePointer(&slot, nullptr), &a);

  static LONG counter = 0;
  HANDLE threads[4];
  for (HANDLE& thread : threads) {
    thread = CreateThread(
        nullptr, 0,
        [](LPVOID) -> DWORD {
          for (int i = 0; i < 10000; ++i) {
            InterlockedIncrement(&counter);
          }
          return 0;
        },
        nullptr, 0, nullptr);
  }
  ASSERT_EQ(WaitForMultipleObjects(4, threads, TRUE, 30000), WAIT_OBJECT_0);
  EXPECT_EQ(counter, 40000);
  for (HANDLE thread : threads) {
    CloseHandle(thread);
  }
}

}  // namespace
