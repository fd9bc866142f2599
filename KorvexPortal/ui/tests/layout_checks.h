// Checks of a screen's layout for its tests: whether a label shows its whole text, whether two
// controls overlap on the screen, and whether a dialog's content is paged with a scroll bar.
#pragma once

#include <string>

#include "atl/atl.h"

namespace kvtest {

// Whether the window's text, measured in its font, fits its client area: on one line, or wrapped
// at its width within its height.
inline bool ShowsWholeText(HWND window)
{
  WCHAR text[512] = {};
  int length = GetWindowTextW(window, text, 512);
  RECT client{};
  GetClientRect(window, &client);
  if (length == 0)
    return true;
  HDC dc = GetDC(window);
  auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0));
  HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  RECT line{};
  DrawTextW(dc, text, length, &line, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  RECT wrapped{0, 0, client.right, 0};
  DrawTextW(dc, text, length, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  if (old)
    SelectObject(dc, old);
  ReleaseDC(window, dc);
  if (line.right - line.left <= client.right)
    return true;
  return wrapped.bottom - wrapped.top <= client.bottom;
}

// Whether the two windows share screen pixels.
inline bool Overlap(HWND first, HWND second)
{
  RECT a{}, b{}, common{};
  GetWindowRect(first, &a);
  GetWindowRect(second, &b);
  return IntersectRect(&common, &a, &b) != FALSE;
}

// Whether a scroll bar shows among the window's children.
inline bool ShowsScrollBar(HWND window)
{
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    WCHAR name[32] = {};
    GetClassNameW(child, name, 32);
    if (std::u16string(name) == WC_SCROLLBARW && IsWindowVisible(child))
      return true;
  }
  return false;
}

}  // namespace kvtest
