// Placement, z-order, visibility and enabling, with the platform's notifications.
#include "internal/user/test_hooks.h"
#include "window_internal.h"

using namespace user_detail;

namespace {

bool IsTopLevelWindow(Lock& held, HWND hwnd)
{
  auto window = Find(held, hwnd);
  return window && !window->parent;
}

// On the window's own thread.
BOOL PlaceWindow(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
  WINDOWPOS pos{hwnd, insertAfter, x, y, width, height, flags & ~static_cast<UINT>(SWP_NOCLIENTSIZE | SWP_NOCLIENTMOVE)};
  {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    bool visible = (window->style & WS_VISIBLE) != 0;
    if (visible)
      pos.flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    else
      pos.flags &= ~static_cast<UINT>(SWP_HIDEWINDOW);
    if (window->parent)
      pos.flags |= SWP_NOACTIVATE;  // only top-level windows are activated
    if (pos.flags & SWP_NOMOVE) {
      pos.x = window->rect.left;
      pos.y = window->rect.top;
    }
    if (pos.flags & SWP_NOSIZE) {
      pos.cx = window->rect.right - window->rect.left;
      pos.cy = window->rect.bottom - window->rect.top;
    }
  }
  if (!(pos.flags & SWP_NOSENDCHANGING))
    Deliver(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos), user_test::sent);
  bool hidden = false;
  bool shown = false;
  bool visibleChange = false;
  RECT before{};
  {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    if (!window)
      return FALSE;
    before = ShownBounds(held, *window);
    RECT oldRect = window->rect;
    RECT oldInsets = window->insets;
    if (!(pos.flags & SWP_NOMOVE) || !(pos.flags & SWP_NOSIZE)) {
      int cx = pos.cx < 0 ? 0 : pos.cx;
      int cy = pos.cy < 0 ? 0 : pos.cy;
      window->rect = RECT{pos.x, pos.y, pos.x + cx, pos.y + cy};
    }
    if (pos.flags & SWP_FRAMECHANGED)
      window->insets = InsetsFor(window->style, window->exStyle);
    if (!(pos.flags & SWP_NOZORDER) && pos.hwndInsertAfter != hwnd) {
      auto& siblings = SiblingList(held, *window);
      std::vector<HWND> order = siblings;
      Unlink(held, *window);
      LinkAt(held, *window, pos.hwndInsertAfter);
      visibleChange = order != siblings;
    }
    if (pos.flags & SWP_SHOWWINDOW) {
      window->style |= WS_VISIBLE;
      shown = true;
    }
    if (pos.flags & SWP_HIDEWINDOW) {
      window->style &= ~static_cast<DWORD>(WS_VISIBLE);
      hidden = true;
    }
    const RECT& r = window->rect;
    const RECT& in = window->insets;
    if (r.left + in.left == oldRect.left + oldInsets.left && r.top + in.top == oldRect.top + oldInsets.top)
      pos.flags |= SWP_NOCLIENTMOVE;
    if (r.right - r.left - in.left - in.right == oldRect.right - oldRect.left - oldInsets.left - oldInsets.right &&
        r.bottom - r.top - in.top - in.bottom == oldRect.bottom - oldRect.top - oldInsets.top - oldInsets.bottom)
      pos.flags |= SWP_NOCLIENTSIZE;
    bool moved = r.left != oldRect.left || r.top != oldRect.top || r.right != oldRect.right ||
                 r.bottom != oldRect.bottom || (pos.flags & SWP_FRAMECHANGED);
    visibleChange = visibleChange || moved || shown || hidden;
  }
  if (visibleChange)
    NotifyChanged(hwnd, before);
  Deliver(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos), user_test::sent);
  if (hidden) {
    // The focus leaves a hidden child for its parent; a hidden active window hands the
    // activation (and so the focus) on.
    HWND focus = GetFocus();
    if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) && focus && (focus == hwnd || IsChild(hwnd, focus)))
      SetFocus(GetParent(hwnd));
    HandOffActivation(hwnd);
  }
  bool activate = false;
  {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    activate = window && !(pos.flags & SWP_NOACTIVATE) && IsTopLevelWindow(held, hwnd) &&
               (window->style & WS_VISIBLE) && !(window->exStyle & WS_EX_NOACTIVATE) &&
               (shown || window->queue->active != hwnd);
  }
  if (activate)
    ActivateOnThisThread(hwnd, false);
  return TRUE;
}

}  // namespace

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags)
{
  LRESULT result = FALSE;
  if (!RunOnOwnerThread(
          hwnd, [&] { return static_cast<LRESULT>(PlaceWindow(hwnd, insertAfter, x, y, width, height, flags)); },
          &result))
    return FALSE;
  return static_cast<BOOL>(result);
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint)
{
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL ShowWindow(HWND hwnd, int command)
{
  LRESULT result = FALSE;
  auto show = [hwnd, command]() -> LRESULT {
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    BOOL wasVisible = (style & WS_VISIBLE) != 0;
    bool visible = command != SW_HIDE;
    if (visible == static_cast<bool>(wasVisible))
      return wasVisible;
    Deliver(hwnd, WM_SHOWWINDOW, visible, 0, user_test::sent);
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | (visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
    bool child = (style & WS_CHILD) != 0;
    if (!visible || child || command == SW_SHOWNA || command == SW_SHOWNOACTIVATE ||
        command == SW_SHOWMINNOACTIVE)
      flags |= SWP_NOACTIVATE;
    if (!visible || child)
      flags |= SWP_NOZORDER;
    PlaceWindow(hwnd, HWND_TOP, 0, 0, 0, 0, flags);
    return wasVisible;
  };
  if (!RunOnOwnerThread(hwnd, show, &result))
    return FALSE;
  return static_cast<BOOL>(result);
}

BOOL EnableWindow(HWND hwnd, BOOL enable)
{
  LRESULT result = FALSE;
  auto change = [hwnd, enable]() -> LRESULT {
    BOOL wasDisabled;
    {
      Lock held(state().lock);
      auto window = Find(held, hwnd);
      if (!window)
        return FALSE;
      wasDisabled = (window->style & WS_DISABLED) != 0;
      if (static_cast<bool>(wasDisabled) == !enable)
        return wasDisabled;
      if (enable)
        window->style &= ~static_cast<DWORD>(WS_DISABLED);
      else
        window->style |= WS_DISABLED;
      if (!enable && state().capture && (state().capture == hwnd || IsDescendant(held, hwnd, state().capture)))
        state().capture = nullptr;
    }
    if (!enable) {
      // A disabled window keeps no focus.
      HWND focus = GetFocus();
      if (focus && (focus == hwnd || IsChild(hwnd, focus)))
        SetFocus(nullptr);
    }
    Deliver(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0, user_test::sent);
    return wasDisabled;
  };
  if (!RunOnOwnerThread(hwnd, change, &result))
    return FALSE;
  return static_cast<BOOL>(result);
}
