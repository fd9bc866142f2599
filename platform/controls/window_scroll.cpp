// Scroll information of windows: SB_CTL goes to a ScrollBar control's messages, SB_VERT and
// SB_HORZ are kept here for any window, and showing a window's bar changes its frame style.
#include <map>
#include <mutex>

#include "control_support.h"
#include "scroll_data.h"
#include "window_bars.h"

using namespace controls_detail;

namespace {

struct WindowBars {
  ScrollData vertical;
  ScrollData horizontal;
};

struct BarTable {
  std::mutex lock;
  std::map<HWND, WindowBars> bars;
};

BarTable& table()
{
  static BarTable* instance = new BarTable();  // lives through exit, for threads still running
  return *instance;
}

ScrollData MakeDefault()
{
  // A window's own bar starts with the range 0 to 100.
  ScrollData data;
  data.max = 100;
  return data;
}

// The record of the window's bar; made on first use, when records of windows that are gone
// are dropped.
ScrollData& BarOf(std::unique_lock<std::mutex>&, HWND hwnd, int bar)
{
  auto& bars = table().bars;
  auto found = bars.find(hwnd);
  if (found == bars.end()) {
    std::erase_if(bars, [](const auto& entry) { return !IsWindow(entry.first); });
    found = bars.emplace(hwnd, WindowBars{MakeDefault(), MakeDefault()}).first;
  }
  return bar == SB_VERT ? found->second.vertical : found->second.horizontal;
}

DWORD StyleBitsOf(int bar)
{
  switch (bar) {
  case SB_VERT: return WS_VSCROLL;
  case SB_HORZ: return WS_HSCROLL;
  case SB_BOTH: return WS_VSCROLL | WS_HSCROLL;
  default: return 0;
  }
}

bool IsWindowBar(int bar)
{
  return bar == SB_VERT || bar == SB_HORZ;
}

// Adds or removes the bars' styles; the window hears of its new client size.
void SetBarStyles(HWND hwnd, DWORD bits, bool show)
{
  DWORD style = StyleOf(hwnd);
  DWORD wanted = show ? (style | bits) : (style & ~bits);
  if (wanted == style)
    return;
  RECT before;
  GetClientRect(hwnd, &before);
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(wanted));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  RECT after;
  GetClientRect(hwnd, &after);
  if (after.right != before.right || after.bottom != before.bottom)
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(after.right, after.bottom));
}

}  // namespace

int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw)
{
  if (!info || !IsWindow(hwnd)) {
    SetLastError(info ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (bar == SB_CTL)
    return static_cast<int>(SendMessageW(hwnd, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(info)));
  if (!IsWindowBar(bar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int position;
  bool canScroll;
  {
    std::unique_lock<std::mutex> held(table().lock);
    ScrollData& data = BarOf(held, hwnd, bar);
    position = data.Apply(*info);
    canScroll = data.CanScroll();
  }
  // A bar that has nothing to scroll goes away unless the caller keeps it.
  if ((info->fMask & (SIF_RANGE | SIF_PAGE)) && !(info->fMask & SIF_DISABLENOSCROLL))
    SetBarStyles(hwnd, StyleBitsOf(bar), canScroll);
  else if ((info->fMask & SIF_DISABLENOSCROLL) && !(StyleOf(hwnd) & StyleBitsOf(bar)))
    SetBarStyles(hwnd, StyleBitsOf(bar), true);
  if (redraw)
    Redraw(hwnd);
  return position;
}

BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info)
{
  if (!info || !IsWindow(hwnd)) {
    SetLastError(info ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (bar == SB_CTL)
    return static_cast<BOOL>(SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(info)));
  if (!IsWindowBar(bar)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::unique_lock<std::mutex> held(table().lock);
  BarOf(held, hwnd, bar).Fill(*info);
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
  SCROLLINFO old{sizeof old, SIF_POS, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd, bar, &old))
    return 0;
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &info, redraw);
  return old.nPos;
}

int GetScrollPos(HWND hwnd, int bar)
{
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hwnd, bar, &info) ? info.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  SCROLLINFO info{sizeof info, SIF_RANGE, minPos, maxPos, 0, 0, 0};
  SetScrollInfo(hwnd, bar, &info, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos)
{
  SCROLLINFO info{sizeof info, SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd, bar, &info))
    return FALSE;
  if (minPos)
    *minPos = info.nMin;
  if (maxPos)
    *maxPos = info.nMax;
  return TRUE;
}

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show)
{
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (bar == SB_CTL) {
    ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
    return TRUE;
  }
  DWORD bits = StyleBitsOf(bar);
  if (!bits) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  SetBarStyles(hwnd, bits, show);
  return TRUE;
}

controls_detail::ScrollData controls_detail::WindowBarData(HWND hwnd, int bar)
{
  std::unique_lock<std::mutex> held(table().lock);
  return BarOf(held, hwnd, bar);
}

void controls_detail::SetWindowBarTrackPos(HWND hwnd, int bar, int position)
{
  std::unique_lock<std::mutex> held(table().lock);
  BarOf(held, hwnd, bar).trackPos = position;
}
