// Timers of windows and threads, due on the device clock; WM_TIMER is made when a queue has
// nothing else to give (message_queue.cpp).
#include <algorithm>

#include "kernel/clock.h"
#include "internal/user/test_hooks.h"
#include "window_internal.h"

using namespace user_detail;

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc)
{
  elapseMs = std::clamp<UINT>(elapseMs, USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
  Lock held(state().lock);
  std::shared_ptr<ThreadQueue> queue = CurrentQueue(held);
  if (hwnd) {
    auto window = Find(held, hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (window->queue != queue) {
      SetLastError(ERROR_ACCESS_DENIED);
      return 0;
    }
  } else {
    id = ++state().nextThreadTimerId;
  }
  uint64_t due = kernel::clock::Now() + elapseMs;
  for (auto& timer : queue->timers) {
    if (timer.hwnd == hwnd && timer.id == id) {
      timer = Timer{hwnd, id, elapseMs, proc, due};
      return hwnd ? (id ? id : 1) : id;
    }
  }
  queue->timers.push_back(Timer{hwnd, id, elapseMs, proc, due});
  Wake(*queue);  // its wait may need an earlier wake-up
  return hwnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id)
{
  Lock held(state().lock);
  for (auto& queue : state().queues) {
    auto& timers = queue->timers;
    auto it = std::find_if(timers.begin(), timers.end(),
                           [&](const Timer& timer) { return timer.hwnd == hwnd && timer.id == id; });
    if (it != timers.end()) {
      timers.erase(it);
      return TRUE;
    }
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

uint64_t user_test::NextTimerDue()
{
  Lock held(state().lock);
  uint64_t next = UINT64_MAX;
  for (auto& queue : state().queues)
    for (auto& timer : queue->timers)
      next = std::min(next, timer.due);
  return next;
}
