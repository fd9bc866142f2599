// Window rectangles, the client area inside the non-client insets, coordinate mapping and
// the sibling lists that hold the z-order.
#include <algorithm>

#include "window_internal.h"

namespace user_detail {

RECT InsetsFor(DWORD style, DWORD exStyle)
{
  RECT insets{};
  auto addAll = [&](int width) {
    insets.left += width;
    insets.top += width;
    insets.right += width;
    insets.bottom += width;
  };
  if ((style & WS_CAPTION) == WS_CAPTION) {
    addAll(GetSystemMetrics(SM_CXDLGFRAME));
    insets.top += GetSystemMetrics(SM_CYCAPTION);
  } else if (style & WS_DLGFRAME) {
    addAll(GetSystemMetrics(SM_CXDLGFRAME));
  } else if (style & WS_BORDER) {
    addAll(GetSystemMetrics(SM_CXBORDER));
  }
  if (exStyle & WS_EX_CLIENTEDGE)
    addAll(GetSystemMetrics(SM_CXEDGE));
  if (exStyle & WS_EX_STATICEDGE)
    addAll(GetSystemMetrics(SM_CXBORDER));
  if (style & WS_VSCROLL) {
    if (exStyle & WS_EX_LEFTSCROLLBAR)
      insets.left += GetSystemMetrics(SM_CXVSCROLL);
    else
      insets.right += GetSystemMetrics(SM_CXVSCROLL);
  }
  if (style & WS_HSCROLL)
    insets.bottom += GetSystemMetrics(SM_CYHSCROLL);
  return insets;
}

POINT ClientOriginOnScreen(Lock& held, HWND hwnd)
{
  POINT origin{};
  auto window = Find(held, hwnd);
  while (window) {
    origin.x += window->rect.left + window->insets.left;
    origin.y += window->rect.top + window->insets.top;
    window = window->parent ? Find(held, window->parent) : nullptr;
  }
  return origin;
}

void Unlink(Lock& held, Window& window)
{
  auto& list = SiblingList(held, window);
  list.erase(std::remove(list.begin(), list.end(), window.handle), list.end());
}

// An owned window stays above its owner: the windows the owner owns (directly or through others)
// that lie below it move to just above it, keeping their order among themselves.
void KeepOwnedAbove(Lock& held, std::vector<HWND>& list, HWND owner)
{
  auto ownedBy = [&](HWND hwnd) {
    for (auto window = Find(held, hwnd); window && window->owner; window = Find(held, window->owner))
      if (window->owner == owner)
        return true;
    return false;
  };
  auto at = std::find(list.begin(), list.end(), owner);
  if (at == list.end())
    return;
  std::vector<HWND> below(at + 1, list.end());
  std::vector<HWND> raised;
  for (HWND hwnd : below)
    if (ownedBy(hwnd))
      raised.push_back(hwnd);
  if (raised.empty())
    return;
  list.erase(std::remove_if(at + 1, list.end(), [&](HWND hwnd) { return ownedBy(hwnd); }), list.end());
  at = std::find(list.begin(), list.end(), owner);
  list.insert(at, raised.begin(), raised.end());
}

// Puts the window into its sibling list: HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST
// or right below a sibling. Top-level windows keep the topmost ones above the others.
void LinkAt(Lock& held, Window& window, HWND insertAfter)
{
  auto& list = SiblingList(held, window);
  bool topLevel = &list == &state().topLevel;
  if (topLevel && insertAfter == HWND_TOPMOST)
    window.exStyle |= WS_EX_TOPMOST;
  if (topLevel && insertAfter == HWND_NOTOPMOST)
    window.exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
  auto isTopmost = [&](HWND hwnd) {
    auto other = Find(held, hwnd);
    return topLevel && other && (other->exStyle & WS_EX_TOPMOST);
  };
  bool topmost = topLevel && (window.exStyle & WS_EX_TOPMOST);
  // The band of the list this window may occupy.
  auto bandBegin = list.begin();
  auto bandEnd = list.end();
  if (topLevel) {
    auto firstNormal = std::find_if(list.begin(), list.end(), [&](HWND h) { return !isTopmost(h); });
    if (topmost)
      bandEnd = firstNormal;
    else
      bandBegin = firstNormal;
  }
  auto position = bandBegin;
  if (insertAfter == HWND_BOTTOM) {
    position = bandEnd;
  } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
    auto after = std::find(bandBegin, bandEnd, insertAfter);
    position = after == bandEnd ? bandBegin : after + 1;
  }
  list.insert(position, window.handle);
  if (topLevel && !topmost)
    KeepOwnedAbove(held, list, window.handle);
}

}  // namespace user_detail

using namespace user_detail;

namespace {

bool IsDesktop(HWND hwnd)
{
  return hwnd && hwnd == GetDesktopWindow();
}

RECT ScreenRect()
{
  return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

}  // namespace

BOOL GetWindowRect(HWND hwnd, LPRECT rect)
{
  if (!rect)
    return FALSE;
  if (IsDesktop(hwnd)) {
    *rect = ScreenRect();
    return TRUE;
  }
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  POINT origin = window->parent ? ClientOriginOnScreen(held, window->parent) : POINT{0, 0};
  *rect = window->rect;
  rect->left += origin.x;
  rect->right += origin.x;
  rect->top += origin.y;
  rect->bottom += origin.y;
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rect)
{
  if (!rect)
    return FALSE;
  if (IsDesktop(hwnd)) {
    *rect = ScreenRect();
    return TRUE;
  }
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  const RECT& r = window->rect;
  const RECT& in = window->insets;
  *rect = RECT{0, 0, std::max<LONG>(0, r.right - r.left - in.left - in.right),
               std::max<LONG>(0, r.bottom - r.top - in.top - in.bottom)};
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count)
{
  Lock held(state().lock);
  auto originOf = [&](HWND hwnd, bool& ok) {
    ok = true;
    if (!hwnd || IsDesktop(hwnd))
      return POINT{0, 0};
    if (!Find(held, hwnd)) {
      ok = false;
      return POINT{0, 0};
    }
    return ClientOriginOnScreen(held, hwnd);
  };
  bool fromOk, toOk;
  POINT a = originOf(from, fromOk);
  POINT b = originOf(to, toOk);
  if (!fromOk || !toOk) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  LONG dx = a.x - b.x;
  LONG dy = a.y - b.y;
  for (UINT i = 0; points && i < count; ++i) {
    points[i].x += dx;
    points[i].y += dy;
  }
  SetLastError(0);
  return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

BOOL ClientToScreen(HWND hwnd, LPPOINT point)
{
  if (!point || (!IsDesktop(hwnd) && !IsWindow(hwnd)))
    return FALSE;
  MapWindowPoints(hwnd, nullptr, point, 1);
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT point)
{
  if (!point || (!IsDesktop(hwnd) && !IsWindow(hwnd)))
    return FALSE;
  MapWindowPoints(nullptr, hwnd, point, 1);
  return TRUE;
}

BOOL IsWindowVisible(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window)
    return FALSE;
  while (window) {
    if (!(window->style & WS_VISIBLE))
      return FALSE;
    window = window->parent ? Find(held, window->parent) : nullptr;
  }
  return TRUE;
}

BOOL IsWindowEnabled(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window && !(window->style & WS_DISABLED);
}
