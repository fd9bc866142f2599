// The ScrollBar control: arrows at both ends, the track and the thumb. Taps send the scroll codes
// to the parent (scroll_gesture.h), and keys send theirs.
#include <algorithm>

#include "control_painting.h"
#include "control_procedures.h"
#include "control_support.h"
#include "scroll_gesture.h"

namespace controls_detail {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

struct ScrollBarRecord {
  ScrollData data;
  ScrollGesture gesture;
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

// The control's client area is the bar; its codes go to the parent with the control in lParam.
class ControlSite : public ScrollBarSite {
 public:
  ControlSite(HWND hwnd, ScrollBarRecord& record) : hwnd_(hwnd), record_(record) {}
  ScrollBarGeometry Geometry() const override
  {
    RECT client;
    GetClientRect(hwnd_, &client);
    return ScrollBarGeometry::Of(client, IsVertical(hwnd_), record_.data);
  }
  bool Send(WORD code, int position) override
  {
    controls_detail::Send(hwnd_, code, position);
    return IsWindow(hwnd_);
  }
  void Track(int position) override
  {
    record_.data.trackPos = position;
    Redraw(hwnd_);
  }
  void Capture() override { SetCapture(hwnd_); }
  void Release() override
  {
    if (GetCapture() == hwnd_)
      ReleaseCapture();
    Redraw(hwnd_);
  }
  void StartRepeat(UINT ms) override { SetTimer(hwnd_, kRepeatTimer, ms, nullptr); }
  void StopRepeat() override { KillTimer(hwnd_, kRepeatTimer); }

 private:
  HWND hwnd_;
  ScrollBarRecord& record_;
};

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
  ControlSite site(hwnd, record);
  switch (message) {
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    record.gesture.Press(site, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_MOUSEMOVE:
    record.gesture.Move(site, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_LBUTTONUP:
    record.gesture.Release(site);
    return 0;
  case WM_CAPTURECHANGED:
    if (reinterpret_cast<HWND>(lParam) != hwnd)
      record.gesture.Release(site, false);
    return 0;
  case WM_TIMER:
    if (wParam == kRepeatTimer)
      record.gesture.Repeat(site);
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
                                         record.gesture.Dragging() ? record.data.trackPos : record.data.pos);
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
