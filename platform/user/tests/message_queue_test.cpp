// Queues: priorities, quitting, filters, posts to threads, sends across threads with the
// platform's re-entrancy, nested modal loops, translation of keys.
#include <functional>
#include <future>
#include <thread>

#include "internal/user/paint_link.h"
#include "internal/user/test_hooks.h"
#include "testing/clock.h"
#include "testing/ui_thread.h"
#include "user_test_fixture.h"

using namespace kvtest;

namespace {

using MessageQueue = UserTest;
using CrossThreadSend = UserTest;
using ModalLoop = UserTest;

// A window without any state of its own, for threads that end with their windows.
HWND CreatePlainWindow()
{
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"Plain";
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  return CreateWindowExW(0, u"Plain", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(MessageQueue, TakesSentThenPostedThenInputThenQuitThenPaintThenTimer)
{
  UseVirtualTime();
  HWND hwnd = CreateRecordingWindow(log, {.name = "w", .style = WS_POPUP | WS_VISIBLE});
  log.Clear();
  SetTimer(hwnd, 1, 10, nullptr);
  device::testing::AdvanceClock(10);
  user_paint::SetNeedsPaint(hwnd, true);
  PostQuitMessage(3);
  user_test::InjectKey('A', true);
  PostMessageW(hwnd, WM_USER, 1, 0);
  UiThread other;
  other.Post([hwnd] { SendMessageW(hwnd, WM_USER + 1, 0, 0); });
  // Wait until the other thread's send is queued here.
  ASSERT_TRUE(WaitFor([] { return (GetQueueStatus(QS_SENDMESSAGE) & QS_SENDMESSAGE) != 0; }));
  std::vector<UINT> taken;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    taken.push_back(msg.message);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ(3u, msg.wParam) << "WM_QUIT carries the exit code";
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    taken.push_back(msg.message);
    DispatchMessageW(&msg);
  }
  EXPECT_EQ((std::vector<UINT>{WM_USER, WM_KEYDOWN, WM_PAINT, WM_TIMER}), taken);
  EXPECT_EQ("", log.Mismatch({
                               {"w", WM_USER + 1, sent},
                               {"w", WM_USER, posted},
                               {"w", WM_KEYDOWN, posted},
                               {"w", WM_PAINT, posted},
                               {"w", WM_TIMER, posted | wparam, 1},
                           },
                           "one of each kind, queued in the reverse order"));
}

TEST_F(MessageQueue, PeekFiltersByWindowAndRangeAndCanLeaveTheMessage)
{
  HWND a = CreateRecordingWindow(log, {.name = "a"});
  HWND child = CreateRecordingWindow(log, {.name = "child", .style = WS_CHILD, .parent = a});
  HWND b = CreateRecordingWindow(log, {.name = "b"});
  PostMessageW(b, WM_USER, 0, 0);
  PostMessageW(child, WM_USER + 5, 0, 0);
  PostThreadMessageW(GetWindowThreadProcessId(a, nullptr), WM_USER + 9, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, a, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(child, msg.hwnd) << "a window filter takes its children's messages too";
  ASSERT_TRUE(PeekMessageW(&msg, a, 0, 0, PM_REMOVE));
  EXPECT_FALSE(PeekMessageW(&msg, a, 0, 0, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(static_cast<UINT>(WM_USER + 9), msg.message) << "-1 takes thread messages only";
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_USER + 1, WM_USER + 8, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(b, msg.hwnd);
  EXPECT_EQ(-1, GetMessageW(&msg, reinterpret_cast<HWND>(0x1234), 0, 0)) << "a filter window that is no window";
}

TEST_F(MessageQueue, PostsToADestroyedWindowAreDropped)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  PostMessageW(hwnd, WM_USER, 0, 0);
  DestroyWindow(hwnd);
  MSG msg;
  EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, WmCopyDataCannotBePosted)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  EXPECT_FALSE(PostMessageW(hwnd, WM_COPYDATA, 0, 0));
}

TEST_F(MessageQueue, APostToANewThreadIsKeptUntilItTakesMessages)
{
  std::promise<DWORD> started;
  std::promise<void> posted;
  std::promise<MSG> received;
  std::thread worker([&] {
    started.set_value(user_test::CurrentThreadId());
    posted.get_future().wait();  // the post comes before this thread ever touched a queue
    MSG msg;
    GetMessageW(&msg, nullptr, 0, 0);
    received.set_value(msg);
  });
  DWORD id = started.get_future().get();
  EXPECT_TRUE(PostThreadMessageW(id, WM_USER + 1, 11, 22));
  posted.set_value();
  MSG msg = received.get_future().get();
  worker.join();
  EXPECT_EQ(static_cast<UINT>(WM_USER + 1), msg.message);
  EXPECT_EQ(11u, msg.wParam);
  EXPECT_EQ(22, msg.lParam);
  EXPECT_FALSE(PostThreadMessageW(id, WM_USER, 0, 0)) << "the thread has ended";
}

TEST_F(MessageQueue, NothingIsPostedToAThreadWhoseQueueHasEndedWhileItFinishes)
{
  std::promise<DWORD> queueEnded;
  std::promise<void> checked;
  std::shared_future<void> checkedNow = checked.get_future().share();
  std::thread worker([&] {
    // Made before the thread's queue, so it ends after it, while the thread still runs.
    struct AtThreadEnd {
      std::function<void()> run;
      ~AtThreadEnd() { run(); }
    };
    thread_local AtThreadEnd atEnd;
    atEnd.run = [&queueEnded, checkedNow] {
      queueEnded.set_value(user_test::CurrentThreadId());
      checkedNow.wait();
    };
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue
  });
  DWORD id = queueEnded.get_future().get();
  SetLastError(0);
  EXPECT_FALSE(PostThreadMessageW(id, WM_USER, 0, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_THREAD_ID), GetLastError());
  checked.set_value();
  worker.join();
  EXPECT_FALSE(PostThreadMessageW(id, WM_USER, 0, 0)) << "the thread has ended";
}

TEST_F(MessageQueue, TranslateMessageTurnsKeyDownIntoCharBeforeTheKeyUp)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w", .style = WS_POPUP | WS_VISIBLE});
  log.Clear();
  ASSERT_TRUE(PressKey('K'));
  ASSERT_TRUE(KeyDown(VK_SHIFT));
  ASSERT_TRUE(PressKey('K'));
  ASSERT_TRUE(KeyUp(VK_SHIFT));
  ASSERT_TRUE(PressKey(VK_F1));
  EXPECT_EQ("", log.Mismatch({
                               {"w", WM_KEYDOWN, posted | wparam | lparam, 'K', 1},
                               {"w", WM_CHAR, posted | wparam | lparam, 'k', 1},
                               {"w", WM_KEYUP, posted | wparam | lparam, 'K', static_cast<LPARAM>(0xC0000001u)},
                               {"w", WM_KEYDOWN, posted | wparam, VK_SHIFT},
                               {"w", WM_KEYDOWN, posted | wparam, 'K'},
                               {"w", WM_CHAR, posted | wparam, 'K'},
                               {"w", WM_KEYUP, posted | wparam, 'K'},
                               {"w", WM_KEYUP, posted | wparam, VK_SHIFT},
                               {"w", WM_KEYDOWN, posted | wparam, VK_F1},
                               {"w", WM_KEYUP, posted | wparam, VK_F1},
                           },
                           "keys through TranslateMessage"));
  EXPECT_EQ(hwnd, GetFocus());
}

TEST_F(CrossThreadSend, RunsOnTheTargetThreadAndReturnsItsAnswer)
{
  UiThread ui;
  HWND hwnd = nullptr;
  std::thread::id uiId, handledOn;
  ui.Invoke([&] {
    uiId = std::this_thread::get_id();
    hwnd = CreateRecordingWindow(log, {.name = "w", .handler = [&](HWND, UINT m, WPARAM w, LPARAM) {
                                         if (m != WM_USER)
                                           return std::optional<LRESULT>();
                                         handledOn = std::this_thread::get_id();
                                         return std::optional<LRESULT>(static_cast<LRESULT>(w * 2));
                                       }});
  });
  EXPECT_EQ(42, SendMessageW(hwnd, WM_USER, 21, 0));
  EXPECT_EQ(uiId, handledOn);
  ui.Invoke([&] { DestroyWindow(hwnd); });
}

// Thread A sends to B's window; B's handler sends back to A's window before answering.
// A naive send (A simply blocked) would deadlock; the platform's sender answers sends made
// to it while it waits.
TEST_F(CrossThreadSend, TheWaitingSenderAnswersSendsMadeToIt)
{
  UiThread ui;
  HWND here = CreateRecordingWindow(log, {.name = "here", .handler = [](HWND, UINT m, WPARAM w, LPARAM) {
                                            return m == WM_USER + 2 ? std::optional<LRESULT>(w + 100)
                                                                     : std::optional<LRESULT>();
                                          }});
  HWND there = nullptr;
  LRESULT answerFromHere = 0;
  BOOL inSend = FALSE;
  ui.Invoke([&] {
    there = CreateRecordingWindow(log, {.name = "there", .handler = [&](HWND, UINT m, WPARAM, LPARAM) {
                                          if (m != WM_USER + 1)
                                            return std::optional<LRESULT>();
                                          inSend = InSendMessage();
                                          answerFromHere = SendMessageW(here, WM_USER + 2, 5, 0);
                                          return std::optional<LRESULT>(answerFromHere + 1);
                                        }});
  });
  log.Clear();
  EXPECT_EQ(106, SendMessageW(there, WM_USER + 1, 0, 0));
  EXPECT_EQ(105, answerFromHere);
  EXPECT_TRUE(inSend);
  EXPECT_EQ("", log.Mismatch({
                               {"there", WM_USER + 1, sent},
                               {"here", WM_USER + 2, sent | wparam, 5},
                           },
                           "a send answered by a send back"));
  ui.Invoke([&] { DestroyWindow(there); });
}

TEST_F(CrossThreadSend, ToAWindowThatDiesBeforeAnsweringReturnsZero)
{
  HWND hwnd = nullptr;
  std::promise<void> created, release;
  std::thread owner([&] {
    hwnd = CreatePlainWindow();
    created.set_value();
    release.get_future().wait();  // never takes messages; ends with the send still queued
  });
  created.get_future().wait();
  std::thread releaser([&] {
    WaitFor([&] { return user_test::PendingSends(hwnd) > 0; });
    release.set_value();
  });
  EXPECT_EQ(0, SendMessageW(hwnd, WM_USER, 1, 0));
  owner.join();
  releaser.join();
  EXPECT_FALSE(IsWindow(hwnd)) << "a thread's windows end with it";
  EXPECT_EQ(0, SendMessageW(hwnd, WM_USER, 1, 0));
}

TEST_F(CrossThreadSend, ReplyMessageLetsTheSenderGoOnAtOnce)
{
  UiThread ui;
  HWND hwnd = nullptr;
  std::promise<void> finish;
  std::shared_future<void> finished = finish.get_future().share();
  ui.Invoke([&] {
    hwnd = CreateRecordingWindow(log, {.name = "w", .handler = [&](HWND, UINT m, WPARAM, LPARAM) {
                                         if (m != WM_USER)
                                           return std::optional<LRESULT>();
                                         ReplyMessage(7);
                                         finished.wait();  // still busy when the sender has its answer
                                         return std::optional<LRESULT>(8);
                                       }});
  });
  EXPECT_EQ(7, SendMessageW(hwnd, WM_USER, 0, 0));
  finish.set_value();
  ui.Invoke([&] { DestroyWindow(hwnd); });
}

TEST_F(ModalLoop, NestedLoopsEachEndWithTheirOwnQuit)
{
  HWND hwnd = CreateRecordingWindow(log, {.name = "w"});
  std::vector<std::string> events;
  auto runLoop = [&](const std::string& name) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
      if (msg.message == WM_USER + 1 && msg.hwnd == hwnd) {
        events.push_back(name + " opens inner");
        // The inner loop, like a modal dialog's: a message posted to the outer window still
        // arrives, and the inner loop ends with the WM_QUIT its dialog posts.
        PostMessageW(hwnd, WM_USER + 2, 0, 0);
        MSG inner;
        while (GetMessageW(&inner, nullptr, 0, 0)) {
          if (inner.message == WM_USER + 2) {
            events.push_back("inner got the post");
            PostThreadMessageW(user_test::CurrentThreadId(), WM_QUIT, 55, 0);
          }
          DispatchMessageW(&inner);
        }
        events.push_back("inner ended with " + std::to_string(inner.wParam));
        PostQuitMessage(66);
        continue;
      }
      DispatchMessageW(&msg);
    }
    events.push_back(name + " ended with " + std::to_string(msg.wParam));
  };
  PostMessageW(hwnd, WM_USER + 1, 0, 0);
  runLoop("outer");
  EXPECT_EQ((std::vector<std::string>{"outer opens inner", "inner got the post", "inner ended with 55",
                                      "outer ended with 66"}),
            events);
}

}  // namespace
