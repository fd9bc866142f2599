// Waits on the user-interface thread that keep answering sends (MsgWaitForMultipleObjectsEx),
// and sends with a time-out (SendMessageTimeout).
#include <atomic>
#include <thread>

#include "testing/clock.h"
#include "testing/ui_thread.h"
#include "user/host_clock_wait.h"
#include "user_test_fixture.h"

using namespace kvtest;

namespace {

constexpr DWORD kBound = 30000;

class MessageWaits : public UserTest {
 protected:
  // A window of the calling thread that answers WM_USER with wParam + 1 and counts the sends.
  HWND Answering(const std::string& name)
  {
    return CreateRecordingWindow(log, {.name = name, .handler = [this](HWND, UINT m, WPARAM w, LPARAM) {
                                         if (m != WM_USER)
                                           return std::optional<LRESULT>();
                                         ++answered;
                                         return std::optional<LRESULT>(static_cast<LRESULT>(w + 1));
                                       }});
  }

  // Advances the device clock from another thread once `waiters` waits are blocked on it.
  void AdvanceWhenWaiting(size_t waiters, DWORD ms)
  {
    clockThread = std::thread([=] {
      ASSERT_TRUE(device::testing::WaitForClockWaiters(waiters));
      device::testing::AdvanceClock(ms);
    });
  }
  void TearDown() override
  {
    if (clockThread.joinable())
      clockThread.join();
    UserTest::TearDown();
  }

  std::atomic<int> answered{0};
  std::thread clockThread;
};

// The deadlock case: the UI thread joins a worker that sends to the UI thread's window before
// it ends. A plain kernel wait would never return; this wait answers the send.
TEST_F(MessageWaits, AWaitOnTheUiThreadAnswersACrossThreadSend)
{
  struct Work {
    HWND target;
    LRESULT answer = 0;
  } work{Answering("here")};
  HANDLE worker = CreateThread(
      nullptr, 0,
      [](LPVOID parameter) -> DWORD {
        auto* work = static_cast<Work*>(parameter);
        work->answer = SendMessageW(work->target, WM_USER, 41, 0);
        return 0;
      },
      &work, 0, nullptr);
  ASSERT_NE(worker, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &worker, FALSE, kBound, 0), WAIT_OBJECT_0);
  EXPECT_EQ(work.answer, 42);
  EXPECT_EQ(answered, 1);
  CloseHandle(worker);
}

TEST_F(MessageWaits, MessagesOfTheMaskEndTheWait)
{
  HWND hwnd = Answering("w");
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  struct Case {
    const char* name;
    DWORD mask;
    bool postFirst;
    bool setEvent;
    DWORD expected;
  } cases[] = {
      {"a posted message", QS_POSTMESSAGE, true, false, WAIT_OBJECT_0 + 1},
      {"all input includes posts", QS_ALLINPUT, true, false, WAIT_OBJECT_0 + 1},
      {"keys only: a post does not count", QS_KEY, true, false, WAIT_TIMEOUT},
      {"an empty queue", QS_ALLINPUT, false, false, WAIT_TIMEOUT},
      {"the object comes before the queue", QS_ALLINPUT, true, true, WAIT_OBJECT_0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.postFirst)
      PostMessageW(hwnd, WM_APP, 0, 0);
    if (c.setEvent)
      SetEvent(event);
    EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, 0, c.mask, 0), c.expected);
    ResetEvent(event);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  CloseHandle(event);
}

TEST_F(MessageWaits, APostFromAnotherThreadEndsAWaitInProgress)
{
  UseVirtualTime();  // so the poster can tell that the wait has begun
  HWND hwnd = Answering("w");
  std::thread poster([&] {
    ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
    PostMessageW(hwnd, WM_APP, 0, 0);
  });
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, kBound, QS_POSTMESSAGE, MWMO_INPUTAVAILABLE), WAIT_OBJECT_0);
  poster.join();
}

TEST_F(MessageWaits, ATimerComingDueEndsTheWaitAndTheTimeOutRunsOnTheDeviceClock)
{
  UseVirtualTime();
  HWND hwnd = Answering("w");
  SetTimer(hwnd, 1, 100, nullptr);
  AdvanceWhenWaiting(1, 100);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_TIMER, 0), WAIT_OBJECT_0);
  clockThread.join();
  KillTimer(hwnd, 1);

  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  AdvanceWhenWaiting(1, 500);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, 500, QS_ALLINPUT, 0), WAIT_TIMEOUT);
  CloseHandle(event);
}

TEST_F(MessageWaits, AHostClockBoundRunsInRealTimeWhateverTheDeviceClockDoes)
{
  UseVirtualTime();
  HWND hwnd = Answering("w");
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE helperDone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::thread helper([&] {
    SendMessageW(hwnd, WM_USER, 0, 0);  // answered inside the wait: it has begun
    device::testing::AdvanceClock(2 * kBound);
    SendMessageW(hwnd, WM_USER, 0, 0);  // answered after the wait looked at the clock again
    SetEvent(event);
    SetEvent(helperDone);
  });
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, kBound, 0, MWMO_HOSTCLOCK), WAIT_OBJECT_0)
      << "the device clock passing the bound does not end the wait";
  // The helper's sends are answered until it is done, however the wait ended.
  MsgWaitForMultipleObjectsEx(1, &helperDone, INFINITE, 0, 0);
  helper.join();
  EXPECT_EQ(answered, 2);

  ResetEvent(event);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, 1, 0, MWMO_HOSTCLOCK), WAIT_TIMEOUT)
      << "the bound passes while the device clock stands still";
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, 1, QS_TIMER, MWMO_HOSTCLOCK), WAIT_FAILED) << "no timers with it";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  CloseHandle(event);
  CloseHandle(helperDone);
}

TEST_F(MessageWaits, RefusedWaits)
{
  HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  EXPECT_EQ(MsgWaitForMultipleObjects(1, &event, TRUE, 0, QS_ALLINPUT), WAIT_FAILED);  // all-of is not offered
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  HANDLE many[MAXIMUM_WAIT_OBJECTS];
  std::fill(std::begin(many), std::end(many), event);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(MAXIMUM_WAIT_OBJECTS, many, 0, QS_ALLINPUT, 0), WAIT_FAILED);
  CloseHandle(event);
  EXPECT_EQ(MsgWaitForMultipleObjectsEx(1, &event, 0, QS_ALLINPUT, 0), WAIT_FAILED);  // closed
}

TEST_F(MessageWaits, SendWithTimeOutGetsTheAnswer)
{
  UiThread ui;
  HWND there = nullptr;
  ui.Invoke([&] { there = Answering("there"); });
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(there, WM_USER, 6, 0, SMTO_NORMAL, kBound, &result), 0);
  EXPECT_EQ(result, 7u);
  HWND here = Answering("here");
  EXPECT_NE(SendMessageTimeoutW(here, WM_USER, 1, 0, SMTO_BLOCK, 0, &result), 0);  // own thread: called directly
  EXPECT_EQ(result, 2u);
  EXPECT_EQ(SendMessageTimeoutW(reinterpret_cast<HWND>(0x1234), WM_USER, 0, 0, 0, 10, &result), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
  ui.Invoke([&] { DestroyWindow(there); });
}

// The window's thread is blocked in a kernel wait: the send times out and is taken back, so the
// window never sees it, even once its thread takes messages again.
TEST_F(MessageWaits, ASendThatTimesOutIsNeverDeliveredLate)
{
  UseVirtualTime();
  UiThread ui;
  HWND there = nullptr;
  ui.Invoke([&] { there = Answering("there"); });
  HANDLE busy = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ui.Post([&] {
    SetEvent(busy);
    WaitForSingleObject(release, INFINITE);
  });
  ASSERT_EQ(WaitForSingleObject(busy, kBound), WAIT_OBJECT_0);
  AdvanceWhenWaiting(1, 2000);
  DWORD_PTR result = 99;
  EXPECT_EQ(SendMessageTimeoutW(there, WM_USER, 0, 0, SMTO_NORMAL, 2000, &result), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));
  EXPECT_EQ(result, 0u);
  clockThread.join();

  // Now busy for over five seconds without looking at its queue: hung, refused at once.
  device::testing::AdvanceClock(5000);
  EXPECT_EQ(SendMessageTimeoutW(there, WM_USER, 0, 0, SMTO_ABORTIFHUNG, INFINITE, &result), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TIMEOUT));

  SetEvent(release);
  ui.Invoke([] {});
  EXPECT_EQ(answered, 0);
  EXPECT_NE(SendMessageTimeoutW(there, WM_USER, 0, 0, SMTO_ABORTIFHUNG, kBound, &result), 0);  // responsive again
  EXPECT_EQ(answered, 1);
  CloseHandle(release);
  CloseHandle(busy);
  ui.Invoke([&] { DestroyWindow(there); });
}

// The window's procedure sends back to the sender's window while the sender waits. SMTO_NORMAL
// answers that send in the wait; SMTO_BLOCK does not, so the send back runs into its own time-out.
TEST_F(MessageWaits, BlockingSendersAnswerNothingWhileTheyWait)
{
  UseVirtualTime();
  struct Case {
    UINT flags;
    int backSendsAnswered;
  } cases[] = {{SMTO_NORMAL, 1}, {SMTO_BLOCK, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    answered = 0;
    HWND here = Answering("here");
    UiThread ui;
    HWND there = nullptr;
    ui.Invoke([&] {
      there = CreateRecordingWindow(log, {.name = "there", .handler = [&](HWND, UINT m, WPARAM, LPARAM) {
                                            if (m != WM_USER + 1)
                                              return std::optional<LRESULT>();
                                            DWORD_PTR back = 0;
                                            SendMessageTimeoutW(here, WM_USER, 0, 0, SMTO_NORMAL, 1000, &back);
                                            return std::optional<LRESULT>(5);
                                          }});
    });
    if (c.flags == SMTO_BLOCK)
      AdvanceWhenWaiting(2, 1000);  // the sender's wait and the send back's
    DWORD_PTR result = 0;
    EXPECT_NE(SendMessageTimeoutW(there, WM_USER + 1, 0, 0, c.flags, 10000, &result), 0);
    EXPECT_EQ(result, 5u);
    EXPECT_EQ(answered, c.backSendsAnswered);
    if (clockThread.joinable())
      clockThread.join();
    ui.Invoke([&] { DestroyWindow(there); });
    RunUntilIdle();
    EXPECT_EQ(answered, c.backSendsAnswered);  // a send back that timed out never arrives
    DestroyWindow(here);
  }
}

}  // namespace
