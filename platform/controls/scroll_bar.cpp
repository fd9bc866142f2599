// The ScrollBar control: arrows at both ends, the track and the thumb. Taps send the scroll codes
// to the parent, held ones repeat, and the thumb is dragged with SB_THUMBTRACK and released with
// SB_THUMBPOSITION; every gesture ends with SB_ENDSCROLL.
#include <algorithm>

#include "control_painting.h"
#include "control_procedures.h"
#include "control_support.h"
#include "scroll_bar_geometry.h"

namespace controls_detail {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 100;

struct ScrollBarRecord {
  ScrollData data;
  ScrollPart pressed = ScrollPart::none;
  bool dragging = false;
  int dragStart = 0;     // pointer coordinate along the bar where the drag began
  int dragStartPos = 0;  // position at that moment
  POINT pointer{};
};

bool IsVertical(HWND hwnd)
{
  return StyleOf(hwnd) & SBS_VERT;
}

void Send(HWND hwnd, WORD code, int position = 0)
{
  HWND parent = GetParent(hwnd);
  if (parent)
    SendMessageW(parent, IsVertical(hwnd) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position),
                 reinterpret_cast<LPARAM>(hwnd));
}

ScrollBarGeometry GeometryOf(HWND hwnd, const ScrollData& data)
{
  RECT client;
  GetClientRect(hwnd, &client);
  return ScrollBarGeometry::Of(client, IsVertical(hwnd), data);
}

WORD CodeOf(ScrollPart part)
{
  switch (part) {
  case ScrollPart::firstArrow: return SB_LINEUP;
  case ScrollPart::secondArrow: return SB_LINEDOWN;
  case ScrollPart::trackBefore: return SB_PAGEUP;
  case ScrollPart::trackAfter: return SB_PAGEDOWN;
  default: return SB_ENDSCROLL;
  }
}

void PointerDown(HWND hwnd, ScrollBarRecord& record, POINT point)
{
  ScrollPart part = GeometryOf(hwnd, record.data).PartAt(point);
  if (part == ScrollPart::none)
    return;
  SetCapture(hwnd);
  record.pointer = point;
  record.pressed = part;
  if (part == ScrollPart::thumb) {
    record.dragging = true;
    record.dragStart = IsVertical(hwnd) ? point.y : point.x;
    record.dragStartPos = record.data.pos;
    record.data.trackPos = record.data.pos;
    return;
  }
  Send(hwnd, CodeOf(part));
  if (IsWindow(hwnd))
    SetTimer(hwnd, kRepeatTimer, kFirstRepeatMs, nullptr);
}

void PointerMove(HWND hwnd, ScrollBarRecord& record, POINT point)
{
  record.pointer = point;
  if (!record.dragging)
    return;
  int along = (IsVertical(hwnd) ? point.y : point.x) - record.dragStart;
  int position = GeometryOf(hwnd, record.data).PositionForDrag(record.dragStartPos, along);
  if (position != record.data.trackPos) {
    record.data.trackPos = position;
    Redraw(hwnd);
    Send(hwnd, SB_THUMBTRACK, position);
  }
}

void PointerUp(HWND hwnd, ScrollBarRecord& record)
{
  if (record.pressed == ScrollPart::none)
    return;
  bool dragged = record.dragging;
  record.pressed = ScrollPart::none;
  record.dragging = false;
  KillTimer(hwnd, kRepeatTimer);
  if (GetCapture() == hwnd)
    ReleaseCapture();
  if (dragged)
    Send(hwnd, SB_THUMBPOSITION, record.data.trackPos);
  if (IsWindow(hwnd))
    Send(hwnd, SB_ENDSCROLL);
  if (IsWindow(hwnd))
    Redraw(hwnd);
}

// A held arrow or track repeats while the pointer stays on it; the track stops once the thumb
// has reached the pointer.
void Repeat(HWND hwnd, ScrollBarRecord& record)
{
  if (record.pressed == ScrollPart::none || record.dragging) {
    KillTimer(hwnd, kRepeatTimer);
    return;
  }
  SetTimer(hwnd, kRepeatTimer, kRepeatMs, nullptr);
  if (GeometryOf(hwnd, record.data).PartAt(record.pointer) == record.pressed)
    Send(hwnd, CodeOf(record.pressed));
}

WORD CodeOfKey(WPARAM key)
{
  switch (key) {
  case VK_UP:
  case VK_LEFT: return SB_LINEUP;
  case VK_DOWN:
  case VK_RIGHT: return SB_LINEDOWN;
  case VK_PRIOR: return SB_PAGEUP;
  case VK_NEXT: return SB_PAGEDOWN;
  case VK_HOME: return SB_TOP;
  case VK_END: return SB_BOTTOM;
  default: return SB_ENDSCROLL;
  }
}

int SetInfo(HWND hwnd, ScrollBarRecord& record, const SCROLLINFO& info, bool redraw)
{
  int position = record.data.Apply(info);
  if (redraw)
    Redraw(hwnd);
  return position;
}

LRESULT Handle(HWND hwnd, ScrollBarRecord& record, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    PointerDown(hwnd, record, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_MOUSEMOVE:
    PointerMove(hwnd, record, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_LBUTTONUP:
    PointerUp(hwnd, record);
    return 0;
  case WM_CAPTURECHANGED:
    if (reinterpret_cast<HWND>(lParam) != hwnd)
      PointerUp(hwnd, record);
    return 0;
  case WM_TIMER:
    if (wParam == kRepeatTimer)
      Repeat(hwnd, record);
    return 0;
  case WM_KEYDOWN: {
    WORD code = CodeOfKey(wParam);
    if (code != SB_ENDSCROLL) {
      Send(hwnd, code);
      if (IsWindow(hwnd))
        Send(hwnd, SB_ENDSCROLL);
    }
    return 0;
  }
  case WM_ENABLE:
    Redraw(hwnd);
    return 0;
  case SBM_SETSCROLLINFO: {
    auto* info = reinterpret_cast<const SCROLLINFO*>(lParam);
    return info ? SetInfo(hwnd, record, *info, wParam != 0) : record.data.pos;
  }
  case SBM_GETSCROLLINFO: {
    auto* info = reinterpret_cast<SCROLLINFO*>(lParam);
    if (!info)
      return FALSE;
    record.data.Fill(*info);
    return TRUE;
  }
  case SBM_SETPOS: {
    int old = record.data.pos;
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, static_cast<int>(wParam), 0};
    SetInfo(hwnd, record, info, lParam != 0);
    return old;
  }
  case SBM_GETPOS:
    return record.data.pos;
  case SBM_SETRANGE:
  case SBM_SETRANGEREDRAW: {
    int old = record.data.pos;
    SCROLLINFO info{sizeof info, SIF_RANGE, static_cast<int>(wParam), static_cast<int>(lParam), 0, 0, 0};
    SetInfo(hwnd, record, info, message == SBM_SETRANGEREDRAW);
    return old;
  }
  case SBM_GETRANGE:
    if (auto* out = reinterpret_cast<int*>(wParam))
      *out = record.data.min;
    if (auto* out = reinterpret_cast<int*>(lParam))
      *out = record.data.max;
    return 0;
  case WM_PAINT:
  case WM_PRINTCLIENT:
    return PaintMessage(hwnd, message, wParam,
                        [&](HDC dc) {
                          PaintScrollBar(hwnd, dc, record.data, IsVertical(hwnd),
                                         record.dragging ? record.data.trackPos : record.data.pos);
                        });
  default:
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT ScrollBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return WithRecord<ScrollBarRecord>(hwnd, message, wParam, lParam, Handle);
}

}  // namespace controls_detail
