// Focus, activation, the foreground window and capture.
//
// Each thread has its own active and focus window; the foreground window is the active
// window of the thread that has the keyboard. Activation notifications are sent within the
// thread that owns the window; a window of another thread gets them when its thread next
// takes messages (they are queued as actions for it), so activating never blocks on a busy
// thread.
#include "internal/user/test_hooks.h"
#include "window_internal.h"

namespace user_detail {
namespace {

std::shared_ptr<ThreadQueue> QueueOf(Lock& held, HWND hwnd)
{
  auto window = Find(held, hwnd);
  return window ? window->queue : nullptr;
}

// On a thread that lost the foreground to another thread: its active window is deactivated
// and its focus window loses the focus.
void DeactivateThisThread()
{
  HWND old;
  {
    Lock held(state().lock);
    auto self = CurrentQueue(held);
    if (state().foreground && QueueOf(held, state().foreground) == self)
      return;  // the thread got the foreground back meanwhile
    old = self->active;
    if (!old)
      return;
  }
  Deliver(old, WM_NCACTIVATE, FALSE, 0, user_test::sent);
  Deliver(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0, user_test::sent);
  HWND focus;
  {
    Lock held(state().lock);
    auto self = CurrentQueue(held);
    if (self->active == old)
      self->active = nullptr;
    focus = self->focus;
    self->focus = nullptr;
  }
  if (focus)
    Deliver(focus, WM_KILLFOCUS, 0, 0, user_test::sent);
}

// Tells the thread that had the foreground (if another one) to let it go.
void ReleaseForegroundOf(Lock& held, HWND previous, const std::shared_ptr<ThreadQueue>& newOwner)
{
  auto previousQueue = previous ? QueueOf(held, previous) : nullptr;
  if (previousQueue && previousQueue != newOwner)
    QueueAction(held, *previousQueue, DeactivateThisThread);
}

bool CanActivate(Lock& held, HWND hwnd, HWND leaving)
{
  auto window = Find(held, hwnd);
  if (!window || hwnd == leaving || window->parent || !(window->style & WS_VISIBLE) ||
      (window->style & WS_DISABLED) || (window->exStyle & WS_EX_NOACTIVATE) ||
      window->state == WindowState::destroying)
    return false;
  // Windows owned by the leaving window go with it.
  for (HWND owner = window->owner; owner; owner = Find(held, owner) ? Find(held, owner)->owner : nullptr)
    if (owner == leaving)
      return false;
  return true;
}

}  // namespace

void ActivateOnThisThread(HWND hwnd, bool byTap)
{
  HWND old;
  {
    Lock held(state().lock);
    auto self = CurrentQueue(held);
    if (hwnd && QueueOf(held, hwnd) != self)
      return;
    old = self->active;
    HWND previousForeground = state().foreground;
    if (hwnd) {
      state().foreground = hwnd;
      ReleaseForegroundOf(held, previousForeground, self);
    } else if (previousForeground && QueueOf(held, previousForeground) == self) {
      state().foreground = nullptr;
    }
    if (old == hwnd)
      return;
  }
  if (old) {
    Deliver(old, WM_NCACTIVATE, FALSE, 0, user_test::sent);
    Deliver(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(hwnd), user_test::sent);
  }
  bool raise = false;
  {
    Lock held(state().lock);
    auto self = CurrentQueue(held);
    auto window = hwnd ? Find(held, hwnd) : nullptr;
    self->active = window ? hwnd : nullptr;
    if (window) {
      auto& list = SiblingList(held, *window);
      raise = !list.empty() && list.front() != hwnd && !(window->exStyle & WS_EX_TOPMOST);
    }
  }
  if (!hwnd || !IsWindow(hwnd)) {
    HWND focus;
    {
      Lock held(state().lock);
      auto self = CurrentQueue(held);
      focus = self->focus;
      self->focus = nullptr;
    }
    if (focus)
      Deliver(focus, WM_KILLFOCUS, 0, 0, user_test::sent);
    return;
  }
  if (raise)
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Deliver(hwnd, WM_NCACTIVATE, TRUE, 0, user_test::sent);
  Deliver(hwnd, WM_ACTIVATE, MAKEWPARAM(byTap ? WA_CLICKACTIVE : WA_ACTIVE, 0), reinterpret_cast<LPARAM>(old),
          user_test::sent);
}

void SetForegroundInProcess(HWND hwnd)
{
  std::shared_ptr<ThreadQueue> target;
  {
    Lock held(state().lock);
    target = QueueOf(held, hwnd);
    if (!target)
      return;
    if (target != CurrentQueue(held)) {
      HWND previous = state().foreground;
      state().foreground = hwnd;
      auto previousQueue = previous ? QueueOf(held, previous) : nullptr;
      bool deactivateHere = previousQueue == CurrentQueue(held);
      if (previousQueue && previousQueue != target && !deactivateHere)
        QueueAction(held, *previousQueue, DeactivateThisThread);
      QueueAction(held, *target, [hwnd] { ActivateOnThisThread(hwnd, false); });
      held.unlock();
      if (deactivateHere)
        DeactivateThisThread();
      return;
    }
  }
  ActivateOnThisThread(hwnd, false);
}

void LoseForeground()
{
  bool here = false;
  {
    Lock held(state().lock);
    HWND previous = state().foreground;
    state().foreground = nullptr;
    auto previousQueue = previous ? QueueOf(held, previous) : nullptr;
    if (previousQueue && previousQueue != CurrentQueue(held))
      QueueAction(held, *previousQueue, DeactivateThisThread);
    here = previousQueue == CurrentQueue(held);
  }
  if (here)
    DeactivateThisThread();
}

void HandOffActivation(HWND hwnd)
{
  HWND next = nullptr;
  bool sameThread = false;
  {
    Lock held(state().lock);
    auto self = CurrentQueue(held);
    if (self->active != hwnd && state().foreground != hwnd)
      return;
    auto window = Find(held, hwnd);
    if (window && window->owner && CanActivate(held, window->owner, hwnd))
      next = window->owner;
    for (auto it = state().topLevel.begin(); !next && it != state().topLevel.end(); ++it)
      if (CanActivate(held, *it, hwnd))
        next = *it;
    sameThread = next && QueueOf(held, next) == self;
  }
  if (sameThread) {
    ActivateOnThisThread(next, false);
    return;
  }
  ActivateOnThisThread(nullptr, false);
  if (next)
    SetForegroundInProcess(next);
}

}  // namespace user_detail

using namespace user_detail;

HWND SetFocus(HWND hwnd)
{
  HWND old;
  {
    Lock held(state().lock);
    auto self = CurrentQueue(held);
    if (hwnd) {
      auto window = Find(held, hwnd);
      if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      if (window->queue != self) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
      }
    }
    old = self->focus;
    if (old == hwnd)
      return old;
  }
  if (hwnd) {
    HWND top;
    bool activate;
    {
      Lock held(state().lock);
      top = TopLevelOf(held, hwnd);
      activate = CurrentQueue(held)->active != top;
    }
    if (activate) {
      ActivateOnThisThread(top, false);
      Lock held(state().lock);
      if (!Find(held, hwnd))
        return nullptr;
      old = CurrentQueue(held)->focus;
      if (old == hwnd)
        return old;
    }
  }
  {
    Lock held(state().lock);
    CurrentQueue(held)->focus = hwnd;
  }
  // The old window hears of the change after the focus has moved.
  if (old && IsWindow(old))
    Deliver(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0, user_test::sent);
  if (hwnd && GetFocus() == hwnd)
    Deliver(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0, user_test::sent);
  return old;
}

HWND GetFocus()
{
  Lock held(state().lock);
  return CurrentQueue(held)->focus;
}

HWND SetActiveWindow(HWND hwnd)
{
  HWND old;
  {
    Lock held(state().lock);
    auto self = CurrentQueue(held);
    if (hwnd) {
      auto window = Find(held, hwnd);
      if (!window || window->queue != self) {
        SetLastError(window ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
      hwnd = TopLevelOf(held, hwnd);
    }
    old = self->active;
  }
  ActivateOnThisThread(hwnd, false);
  return old;
}

HWND GetActiveWindow()
{
  Lock held(state().lock);
  return CurrentQueue(held)->active;
}

BOOL SetForegroundWindow(HWND hwnd)
{
  if (IsRemoteHandle(hwnd))
    return RemoteSetForeground(hwnd);
  {
    Lock held(state().lock);
    if (!Find(held, hwnd)) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    hwnd = TopLevelOf(held, hwnd);
  }
  SetForegroundInProcess(hwnd);
  return TRUE;
}

HWND GetForegroundWindow()
{
  Lock held(state().lock);
  return state().foreground;
}

HWND SetCapture(HWND hwnd)
{
  HWND old;
  {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    if (!window || window->queue != CurrentQueue(held)) {
      SetLastError(window ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    old = state().capture;
    state().capture = hwnd;
    state().barCapture = nullptr;
  }
  if (old && old != hwnd)
    SendNotifyMessageW(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
  return old;
}

BOOL ReleaseCapture()
{
  HWND old;
  {
    Lock held(state().lock);
    old = state().capture;
    state().capture = nullptr;
    state().barCapture = nullptr;
  }
  if (old)
    SendNotifyMessageW(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture()
{
  Lock held(state().lock);
  HWND capture = state().capture;
  auto window = capture ? Find(held, capture) : nullptr;
  return window && window->queue == CurrentQueue(held) ? capture : nullptr;
}
