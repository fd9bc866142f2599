// The scroll bars a window shows itself, in its frame: where they lie, the default hit test that
// finds them, and the capture a gesture on one holds.
#include <algorithm>
#include <atomic>

#include "internal/user/window_bars_link.h"
#include "window_internal.h"

namespace user_detail {
namespace {

bool Contains(const RECT& rect, POINT point)
{
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

RECT BarRectOf(Lock& held, Window& window, bool vertical)
{
  RECT client = ClientRectOnScreen(held, window);
  if (vertical && (window.style & WS_VSCROLL)) {
    int width = GetSystemMetrics(SM_CXVSCROLL);
    if (window.exStyle & WS_EX_LEFTSCROLLBAR)
      return RECT{client.left - width, client.top, client.left, client.bottom};
    return RECT{client.right, client.top, client.right + width, client.bottom};
  }
  if (!vertical && (window.style & WS_HSCROLL))
    return RECT{client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  return RECT{};
}

std::atomic<const user_bars::Hooks*> g_hooks{nullptr};

}  // namespace

RECT ClientRectOnScreen(Lock& held, Window& window)
{
  POINT origin = ClientOriginOnScreen(held, window.handle);
  const RECT& r = window.rect;
  const RECT& in = window.insets;
  return RECT{origin.x, origin.y, origin.x + std::max<LONG>(0, r.right - r.left - in.left - in.right),
              origin.y + std::max<LONG>(0, r.bottom - r.top - in.top - in.bottom)};
}

LRESULT DefaultHitTest(HWND hwnd, POINT screen)
{
  RECT rect;
  if (!GetWindowRect(hwnd, &rect) || !Contains(rect, screen))
    return HTNOWHERE;
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window)
    return HTNOWHERE;
  if (Contains(BarRectOf(held, *window, true), screen))
    return HTVSCROLL;
  if (Contains(BarRectOf(held, *window, false), screen))
    return HTHSCROLL;
  return HTCLIENT;
}

int BarCaptureHit(Lock&, HWND hwnd)
{
  return hwnd && state().capture == hwnd && state().barCapture == hwnd ? state().barCaptureHit : HTNOWHERE;
}

}  // namespace user_detail

using namespace user_detail;

RECT user_bars::BarRect(HWND hwnd, bool vertical)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window ? BarRectOf(held, *window, vertical) : RECT{};
}

void user_bars::CaptureForBar(HWND hwnd, int hit)
{
  if (GetCapture() != hwnd)
    SetCapture(hwnd);
  Lock held(state().lock);
  if (state().capture == hwnd) {
    state().barCapture = hwnd;
    state().barCaptureHit = hit;
  }
}

int user_bars::BarCaptureOf(HWND hwnd)
{
  Lock held(state().lock);
  return BarCaptureHit(held, hwnd);
}

void user_bars::SetHooks(const Hooks& hooks)
{
  static Hooks installed;
  installed = hooks;
  g_hooks = &installed;
}

const user_bars::Hooks* user_bars::GetHooks()
{
  return g_hooks.load();
}
