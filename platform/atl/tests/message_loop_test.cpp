// The message loop's filters and idle handlers, and the module's loop registry per thread.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "atl/atl.h"
#include "testing/device_root.h"

namespace {

struct Filter : CMessageFilter {
  Filter(std::string name, UINT consumes, std::vector<std::string>& log) : name(std::move(name)), consumes(consumes), log(log)
  {
  }
  BOOL PreTranslateMessage(MSG* msg) override
  {
    if (msg->message < WM_USER)
      return FALSE;
    log.push_back(name + " " + std::to_string(msg->message - WM_USER));
    return msg->message == consumes;
  }
  std::string name;
  UINT consumes;
  std::vector<std::string>& log;
};

struct Idle : CIdleHandler {
  Idle(std::vector<std::string>& log, HWND hwnd) : log(log), hwnd(hwnd) {}
  // The first idle time posts a message (which restarts idle time), the second ends the loop.
  BOOL OnIdle() override
  {
    log.push_back("idle");
    if (++count == 1)
      PostMessageW(hwnd, WM_USER + 9, 0, 0);
    else
      PostQuitMessage(5);
    return FALSE;
  }
  std::vector<std::string>& log;
  HWND hwnd;
  int count = 0;
};

LRESULT CALLBACK Recorder(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  auto* log = reinterpret_cast<std::vector<std::string>*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (log && message >= WM_USER)
    log->push_back("dispatched " + std::to_string(message - WM_USER));
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST(MessageLoop, FiltersLatestFirstThenDispatchThenIdle)
{
  device::testing::ScopedDeviceRoot root;
  std::vector<std::string> log;
  WNDCLASSW wc{};
  wc.lpfnWndProc = Recorder;
  wc.lpszClassName = u"LoopRecorder";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, u"LoopRecorder", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&log));

  CMessageLoop loop;
  Filter first("first", WM_USER + 1, log), second("second", WM_USER + 2, log), removed("removed", 0, log);
  Idle idle(log, hwnd);
  loop.AddMessageFilter(&first);
  loop.AddMessageFilter(&removed);
  loop.AddMessageFilter(&second);
  loop.RemoveMessageFilter(&removed);
  loop.AddIdleHandler(&idle);
  PostMessageW(hwnd, WM_USER + 1, 0, 0);
  PostMessageW(hwnd, WM_USER + 2, 0, 0);
  PostMessageW(hwnd, WM_USER + 3, 0, 0);
  EXPECT_EQ(loop.Run(), 5);
  EXPECT_EQ(log, (std::vector<std::string>{
                     "second 1", "first 1",                      // consumed by the first filter
                     "second 2",                                 // consumed by the second
                     "second 3", "first 3", "dispatched 3",      // nobody's: dispatched
                     "idle",                                     // the queue ran dry
                     "second 9", "first 9", "dispatched 9",      // posted by the idle handler
                     "idle",                                     // dry again: the handler quits
                 }));
  DestroyWindow(hwnd);
}

TEST(AppModule, OneLoopPerThreadUnderItsId)
{
  device::testing::ScopedDeviceRoot root;
  CAppModule module;
  module.Init(nullptr, nullptr);
  CMessageLoop mine, another, theirs;
  EXPECT_TRUE(module.AddMessageLoop(&mine));
  EXPECT_FALSE(module.AddMessageLoop(&another));
  EXPECT_EQ(module.GetMessageLoop(), &mine);
  DWORD otherThread = 0;
  std::thread worker([&] {
    otherThread = GetCurrentThreadId();
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
    EXPECT_TRUE(module.AddMessageLoop(&theirs));
  });
  worker.join();
  EXPECT_EQ(module.GetMessageLoop(otherThread), &theirs);
  EXPECT_EQ(module.GetMessageLoop(), &mine);
  EXPECT_TRUE(module.RemoveMessageLoop());
  EXPECT_EQ(module.GetMessageLoop(), nullptr);
  EXPECT_FALSE(module.RemoveMessageLoop());
  EXPECT_EQ(AtlGetAppModule(), &module);
  module.Term();
}
