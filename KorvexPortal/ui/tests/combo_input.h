// The skinned combo boxes of the screens as a user meets them: whether a box shows the skin, its
// dropped list, and choosing an item with the stylus (a tap on the box drops the list, a tap on
// the item chooses it).
#pragma once

#include <string>

#include "testing/ui_harness.h"
#include "windows.h"

namespace kvtest {

// Whether the closed box is drawn by the skin: its left edge in the skin's frame colours (grey,
// or dark blue while focused), where the platform's own box has a black frame.
inline bool ShowsComboSkin(HWND combo)
{
  RECT window{};
  GetWindowRect(combo, &window);
  HDC dc = GetWindowDC(combo);
  COLORREF edge = GetPixel(dc, 0, (window.bottom - window.top) / 2);
  ReleaseDC(combo, dc);
  return edge == 0xCCCCCC || edge == 0x903A36;
}

// The box's dropped list: the visible list box just below the box, or just above it when the
// screen ends first; null when none shows.
inline HWND DroppedList(HWND combo)
{
  RECT box{};
  GetWindowRect(combo, &box);
  for (POINT at : {POINT{box.left + 5, box.bottom + 3}, POINT{box.left + 5, box.top - 3}}) {
    HWND found = WindowFromPoint(at);
    WCHAR name[16] = {};
    if (found && GetClassNameW(found, name, 16) && std::u16string(name) == WC_LISTBOXW && IsWindowVisible(found))
      return found;
  }
  return nullptr;
}

// Drops the box's list with a tap on the box; the list, or null when it did not show.
inline HWND TapComboOpen(HWND combo)
{
  if (!TapWindow(combo))
    return nullptr;
  return DroppedList(combo);
}

// Taps the item of the dropped list.
inline bool TapListItem(HWND list, int item)
{
  RECT rect{};
  if (!list || SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect)) < 0)
    return false;
  return TapWindow(list, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
}

// Chooses the item as a user does: the box tapped open, then the item tapped.
inline bool TapComboItem(HWND combo, int item)
{
  return TapListItem(TapComboOpen(combo), item);
}

}  // namespace kvtest
