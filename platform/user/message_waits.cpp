// Waits that also watch the thread's queue (MsgWaitForMultipleObjectsEx) and sends with a time-out
// (SendMessageTimeout): what a user-interface thread uses to wait or join without blocking the
// threads that send to it.
#include <algorithm>
#include <vector>

#include "kernel/clock.h"
#include "kernel/handle_table.h"
#include "kernel/waiting.h"
#include "kernel/wait.h"
#include "internal/user/test_hooks.h"
#include "user/host_clock_wait.h"
#include "window_internal.h"

namespace user_detail {
namespace {

// A thread that has not looked at its queue for this long, while busy elsewhere, is hung.
constexpr uint64_t kHungMs = 5000;

bool IsHung(Lock&, const ThreadQueue& queue)
{
  return !queue.waiting && kernel::clock::Now() - queue.lastLooked >= kHungMs;
}

// The calling thread's queue as a condition of a kernel wait: sends are answered at every
// check, and the wait ends once the queue holds a message of the mask's kinds.
class QueueCondition final : public kernel::WaitCondition {
 public:
  QueueCondition(std::shared_ptr<ThreadQueue> queue, DWORD mask,
                 const std::vector<std::shared_ptr<kernel::Waitable>>& objects)
      : queue_(std::move(queue)), mask_(mask), objects_(objects)
  {
  }

  // A wait inside a window procedure called from this one nests: the outer one is restored.
  void Attach(kernel::Waiter* waiter) override
  {
    Lock held(state().lock);
    if (waiter) {
      previousWaiter_ = queue_->objectsWaiter;
      previousWaiting_ = queue_->waiting;
      previousMask_ = queue_->objectsWakeMask;
      previousObjects_ = queue_->waitedObjects;
      queue_->objectsWaiter = waiter;
      queue_->waiting = true;
      queue_->objectsWakeMask = mask_;
      queue_->waitedObjects = &objects_;
    } else {
      queue_->objectsWaiter = previousWaiter_;
      queue_->waiting = previousWaiting_;
      queue_->objectsWakeMask = previousMask_;
      queue_->waitedObjects = previousObjects_;
    }
    // An outer wait being restored is running, not blocked: it blocks again only after a check.
    queue_->objectsBlockedAt.reset();
    state().idleChanged.notify_all();
  }

  bool Ready() override
  {
    Lock held(state().lock);
    queue_->objectsBlockedAt.reset();
    queue_->lastLooked = kernel::clock::Now();
    while (!queue_->sent.empty()) {
      auto item = queue_->sent.front();
      queue_->sent.pop_front();
      queue_->waiting = false;
      HandleSentItem(held, *queue_, item);
      queue_->waiting = true;
    }
    return (QueueStatusBits(held, *queue_) & mask_) != 0;
  }

  // From here the thread is idle until its waiter is woken after `seen`.
  void Blocking(uint32_t seen) override
  {
    Lock held(state().lock);
    queue_->objectsBlockedAt = seen;
    state().idleChanged.notify_all();
  }

  // When a timer of the queue comes due, if timers end the wait.
  uint64_t NextDue()
  {
    Lock held(state().lock);
    return (mask_ & QS_TIMER) ? NextTimerDue(*queue_) : UINT64_MAX;
  }

 private:
  std::shared_ptr<ThreadQueue> queue_;
  DWORD mask_;
  const std::vector<std::shared_ptr<kernel::Waitable>>& objects_;
  kernel::Waiter* previousWaiter_ = nullptr;
  bool previousWaiting_ = false;
  DWORD previousMask_ = 0;
  const std::vector<std::shared_ptr<kernel::Waitable>>* previousObjects_ = nullptr;
};

DWORD Milliseconds(uint64_t from, uint64_t until)
{
  if (until == UINT64_MAX)
    return INFINITE;
  return until <= from ? 0 : static_cast<DWORD>(std::min<uint64_t>(until - from, INFINITE - 1));
}

}  // namespace
}  // namespace user_detail

using namespace user_detail;

DWORD MsgWaitForMultipleObjectsEx(DWORD nCount, const HANDLE* pHandles, DWORD dwMilliseconds, DWORD dwWakeMask,
                                  DWORD dwFlags)
{
  bool hostClock = (dwFlags & MWMO_HOSTCLOCK) != 0;
  if (nCount >= MAXIMUM_WAIT_OBJECTS || (nCount > 0 && !pHandles) || (dwFlags & MWMO_WAITALL) ||
      (hostClock && (dwWakeMask & QS_TIMER))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<kernel::Waitable>> objects;
  for (DWORD i = 0; i < nCount; ++i) {
    auto object = kernel::LookupHandleAs<kernel::Waitable>(pHandles[i]);
    if (!object)
      return WAIT_FAILED;
    objects.push_back(std::move(object));
  }
  std::shared_ptr<ThreadQueue> queue;
  {
    Lock held(state().lock);
    queue = CurrentQueue(held);
  }
  QueueCondition condition(queue, dwWakeMask, objects);
  // Without timers in the mask nothing cuts the wait: the whole bound runs on the host's clock.
  if (hostClock)
    return kernel::WaitForObjects(objects, false, dwMilliseconds, &condition, kernel::clock::Basis::host);
  uint64_t start = kernel::clock::Now();
  uint64_t deadline = dwMilliseconds == INFINITE ? UINT64_MAX : start + dwMilliseconds;
  // A timer coming due makes the queue ready without anyone waking the wait: the wait is cut
  // there and begun again.
  for (;;) {
    uint64_t now = kernel::clock::Now();
    DWORD slice = Milliseconds(now, std::min(deadline, condition.NextDue()));
    DWORD result = kernel::WaitForObjects(objects, false, slice, &condition);
    if (result != WAIT_TIMEOUT || kernel::clock::Now() >= deadline)
      return result;
  }
}

LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
                            PDWORD_PTR lpdwResult)
{
  if (lpdwResult)
    *lpdwResult = 0;
  uint64_t deadline = kernel::clock::Now() + uTimeout;
  bool answerSends = (fuFlags & SMTO_BLOCK) == 0;
  LRESULT result = 0;
  if (IsRemoteHandle(hwnd)) {
    if (!SendToProcessUntil(hwnd, message, wParam, lParam, deadline, answerSends, &result))
      return 0;
  } else {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    auto target = window->queue;
    if (target == CurrentQueue(held)) {
      held.unlock();
      result = Deliver(hwnd, message, wParam, lParam, user_test::sent);
    } else {
      if (!target->alive || ((fuFlags & SMTO_ABORTIFHUNG) && IsHung(held, *target))) {
        SetLastError(target->alive ? ERROR_TIMEOUT : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
      }
      auto item = std::make_shared<SentItem>();
      item->hwnd = hwnd;
      item->message = message;
      item->wParam = wParam;
      item->lParam = lParam;
      item->sender = CurrentQueue(held);
      target->sent.push_back(item);
      Wake(*target);
      if (!WaitForAnswerUntil(held, item, deadline, answerSends)) {
        // Taken back unless its window has begun to handle it: lParam may point at the caller's
        // data, which does not outlive this call.
        auto& sent = target->sent;
        sent.erase(std::remove(sent.begin(), sent.end(), item), sent.end());
        item->sender = nullptr;
        SetLastError(ERROR_TIMEOUT);
        return 0;
      }
      result = item->result;
    }
  }
  if (lpdwResult)
    *lpdwResult = static_cast<DWORD_PTR>(result);
  return TRUE;
}
