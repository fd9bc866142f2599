// Creating and destroying windows.
#include <algorithm>

#include "class_table.h"
#include "internal/user/test_hooks.h"
#include "window_internal.h"

namespace user_detail {
namespace {

// Every window starts with the input method's context; ImmAssociateContext may take it away.
HIMC DefaultInputContext()
{
  static int token;
  return reinterpret_cast<HIMC>(&token);
}

std::vector<HWND> ChildrenOf(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window ? window->children : std::vector<HWND>{};
}

bool IsChildOfNow(HWND child, HWND parent, bool sameThreadOnly)
{
  Lock held(state().lock);
  auto window = Find(held, child);
  return window && window->parent == parent && (!sameThreadOnly || window->queue == CurrentQueue(held));
}

void SendDestroy(HWND hwnd)
{
  {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    if (!window || window->destroySent)
      return;
    window->destroySent = true;
  }
  Deliver(hwnd, WM_DESTROY, 0, 0, user_test::sent);
  // A child that was moved elsewhere by a WM_DESTROY handler is no longer ours to destroy.
  for (HWND child : ChildrenOf(hwnd))
    if (IsChildOfNow(child, hwnd, true))
      SendDestroy(child);
}

void FreeWindow(HWND hwnd)
{
  for (HWND child : ChildrenOf(hwnd)) {
    if (IsChildOfNow(child, hwnd, true)) {
      FreeWindow(child);
    } else if (IsChildOfNow(child, hwnd, false)) {
      Lock held(state().lock);
      DiscardWindowTree(held, child);  // a child of another thread goes without messages
    }
  }
  SendDestroy(hwnd);
  Deliver(hwnd, WM_NCDESTROY, 0, 0, user_test::sent);
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window)
    return;
  // Children made during WM_NCDESTROY have no parent to live in.
  for (HWND child : std::vector<HWND>(window->children))
    DiscardWindowTree(held, child);
  ForgetWindow(held, *window);
  Unlink(held, *window);
  ReleaseHandle(held, hwnd);
  window->cls->windowCount--;
}

void MoveFocusOutOf(HWND hwnd)
{
  HWND parent = nullptr;
  {
    Lock held(state().lock);
    auto queue = CurrentQueue(held);
    if (!queue->focus || (queue->focus != hwnd && !IsDescendant(held, hwnd, queue->focus)))
      return;
    auto window = Find(held, hwnd);
    parent = window ? window->parent : nullptr;
  }
  SetFocus(parent);
}

}  // namespace

void ForgetWindow(Lock&, Window& window)
{
  HWND hwnd = window.handle;
  auto& queue = *window.queue;
  auto names = [hwnd](const MSG& msg) { return msg.hwnd == hwnd; };
  queue.posted.erase(std::remove_if(queue.posted.begin(), queue.posted.end(), names), queue.posted.end());
  queue.input.erase(std::remove_if(queue.input.begin(), queue.input.end(), names), queue.input.end());
  queue.timers.erase(std::remove_if(queue.timers.begin(), queue.timers.end(),
                                    [hwnd](const Timer& timer) { return timer.hwnd == hwnd; }),
                     queue.timers.end());
  if (window.needsPaint) {
    window.needsPaint = false;
    queue.paintCount--;
  }
  for (auto& other : state().queues) {
    if (other->focus == hwnd)
      other->focus = nullptr;
    if (other->active == hwnd)
      other->active = nullptr;
  }
  if (state().foreground == hwnd)
    state().foreground = nullptr;
  if (state().capture == hwnd)
    state().capture = nullptr;
  for (auto& [generation, other] : state().windows)
    if (other && other->owner == hwnd)
      other->owner = nullptr;
}

void DiscardWindowTree(Lock& held, HWND hwnd)
{
  auto window = Find(held, hwnd);
  if (!window)
    return;
  for (HWND child : std::vector<HWND>(window->children))
    DiscardWindowTree(held, child);
  ForgetWindow(held, *window);
  Unlink(held, *window);
  ReleaseHandle(held, hwnd);
  window->cls->windowCount--;
}

}  // namespace user_detail

using namespace user_detail;

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param)
{
  auto window = std::make_shared<Window>();
  HWND hwnd;
  {
    Lock held(state().lock);
    auto cls = FindClass(held, className);
    if (!cls) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    if (IsDesktopHandle(parent))
      parent = nullptr;
    auto parentWindow = parent ? Find(held, parent) : nullptr;
    if (parent && !parentWindow) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    if ((style & WS_CHILD) && !parentWindow) {
      SetLastError(ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
    window->cls = cls;
    window->queue = CurrentQueue(held);
    if (style & WS_CHILD) {
      window->parent = parent;
      window->id = reinterpret_cast<LONG_PTR>(menuOrId);
    } else {
      window->owner = parent ? TopLevelOf(held, parent) : nullptr;
    }
    window->style = style & ~static_cast<DWORD>(WS_VISIBLE);  // shown after WM_CREATE
    window->exStyle = exStyle;
    window->instance = instance;
    window->proc = cls->info.lpfnWndProc;
    if (x == CW_USEDEFAULT) {
      x = 0;
      y = 0;
    }
    if (width == CW_USEDEFAULT) {
      width = window->parent ? 0 : GetSystemMetrics(SM_CXSCREEN);
      height = window->parent ? 0 : GetSystemMetrics(SM_CYSCREEN);
    }
    window->rect = RECT{x, y, x + std::max(0, width), y + std::max(0, height)};
    window->insets = InsetsFor(style, exStyle);
    window->extra.assign(static_cast<size_t>(cls->info.cbWndExtra), 0);
    window->inputContext = DefaultInputContext();
    hwnd = AllocateHandle(held, window);
    if (!hwnd) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    window->handle = hwnd;
    cls->windowCount++;
    // Children join below their siblings (so z-order follows creation order, as tab order
    // does); top-level windows join on top.
    LinkAt(held, *window, window->parent ? HWND_BOTTOM : HWND_TOP);
  }
  CREATESTRUCTW cs{param, instance, menuOrId, parent, height, width, y, x, static_cast<LONG>(style),
                   windowName, className, exStyle};
  if (!Deliver(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs), user_test::sent)) {
    {
      Lock held(state().lock);
      if (!Find(held, hwnd))
        return nullptr;
      window->destroySent = true;  // a window refused at WM_NCCREATE gets only WM_NCDESTROY
    }
    FreeWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd) || Deliver(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs), user_test::sent) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  {
    Lock held(state().lock);
    if (!Find(held, hwnd))
      return nullptr;
    window->state = WindowState::alive;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  MapWindowPoints(hwnd, GetParent(hwnd) && (style & WS_CHILD) ? GetParent(hwnd) : nullptr, &origin, 1);
  Deliver(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom), user_test::sent);
  Deliver(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y), user_test::sent);
  if ((style & WS_VISIBLE) && IsWindow(hwnd))
    ShowWindow(hwnd, SW_SHOW);
  if (!(style & WS_CHILD))
    EnsureProcessListener();
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd)
{
  {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (window->queue != CurrentQueue(held)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    if (window->state == WindowState::destroying || window->destroySent)
      return TRUE;  // already on its way
    window->state = WindowState::destroying;
  }
  if (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE)
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  else
    HandOffActivation(hwnd);
  MoveFocusOutOf(hwnd);
  // Owned windows go first; those of other threads only lose their owner.
  std::vector<HWND> owned;
  {
    Lock held(state().lock);
    for (HWND top : state().topLevel) {
      auto other = Find(held, top);
      if (other && other->owner == hwnd) {
        if (other->queue == CurrentQueue(held))
          owned.push_back(top);
        else
          other->owner = nullptr;
      }
    }
    if (state().capture && (state().capture == hwnd || IsDescendant(held, hwnd, state().capture)))
      state().capture = nullptr;
  }
  for (HWND other : owned)
    DestroyWindow(other);
  SendDestroy(hwnd);
  FreeWindow(hwnd);
  return TRUE;
}

BOOL IsWindow(HWND hwnd)
{
  if (!hwnd)
    return FALSE;
  if (IsDesktopHandle(hwnd))
    return TRUE;
  if (IsRemoteHandle(hwnd))
    return RemoteWindowThread(hwnd) != 0;
  Lock held(state().lock);
  return Find(held, hwnd) != nullptr;
}
