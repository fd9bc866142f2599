// The panel's thread: started once, on the first time the panel is shown, and ended at exit.
#include "input_panel.h"

#include <chrono>
#include <cstdlib>
#include <future>
#include <mutex>
#include <thread>

#include "input_panel_window.h"
#include "user/user.h"

namespace shell {
namespace {

// How long starting and ending wait for the panel's thread. Reached only when the thread is
// stuck; exit must not hang on it.
constexpr auto kThreadBound = std::chrono::seconds(10);

struct PanelThread {
  std::mutex lock;
  std::thread thread;
  HWND window = nullptr;
  std::future<void> ended;
};

PanelThread& panel()
{
  static PanelThread* shared = new PanelThread;
  return *shared;
}

void Run(std::promise<HWND> started, std::promise<void> ended)
{
  // The queue exists before the start returns, so waiting for idle threads counts this one.
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
  HWND window = CreateInputPanelWindow();
  if (window)
    ShowInputPanelAsTheStateSays(window);
  started.set_value(window);
  if (window) {
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  ended.set_value();
}

void StopAtExit()
{
  StopInputPanelWindow();
}

}  // namespace

void UpdateInputPanelWindow()
{
  PanelThread& p = panel();
  std::unique_lock held(p.lock);
  if (p.window) {
    PostMessageW(p.window, kUpdateInputPanel, 0, 0);
    return;
  }
  if (p.thread.joinable())
    return;  // its window could not be made: the panel's state holds, with nothing drawn
  std::promise<HWND> started;
  std::future<HWND> window = started.get_future();
  std::promise<void> ended;
  p.ended = ended.get_future();
  p.thread = std::thread(Run, std::move(started), std::move(ended));
  if (window.wait_for(kThreadBound) != std::future_status::ready) {
    p.thread.detach();
    return;
  }
  p.window = window.get();
  // Registered once the thread runs, so it runs before the exit handlers of what the thread uses.
  static std::once_flag handler;
  std::call_once(handler, [] { std::atexit(StopAtExit); });
}

void StopInputPanelWindow()
{
  PanelThread& p = panel();
  std::unique_lock held(p.lock);
  if (!p.thread.joinable())
    return;
  if (p.window)
    PostMessageW(p.window, WM_CLOSE, 0, 0);
  p.window = nullptr;
  if (p.ended.wait_for(kThreadBound) == std::future_status::ready)
    p.thread.join();
  else
    p.thread.detach();
}

}  // namespace shell
