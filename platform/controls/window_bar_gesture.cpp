// Taps on the scroll bars a window shows itself. The window's default procedure hands them here
// (WM_NCLBUTTONDOWN, then WM_NCMOUSEMOVE and WM_NCLBUTTONUP while the bar holds the pointer), and
// the window itself receives the codes: WM_VSCROLL or WM_HSCROLL with lParam 0.
#include "internal/boot/device_start.h"
#include "internal/user/window_bars_link.h"
#include "scroll_gesture.h"
#include "window_bars.h"

#include <mutex>

namespace controls_detail {
namespace {

// Out of the way of the small ids a window gives its own timers.
constexpr UINT_PTR kRepeatTimer = 0x5C7B;

// There is one pointer: a thread runs at most one gesture on a window's bar at a time.
struct ActiveGesture {
  HWND window = nullptr;
  bool vertical = true;
  bool keepsCapture = false;  // the window held the capture before (a dropped list): it gets it back
  ScrollGesture gesture;
};
thread_local ActiveGesture active;

void RepeatDue(HWND hwnd, UINT, UINT_PTR, DWORD);

class WindowBarSite : public ScrollBarSite {
 public:
  explicit WindowBarSite(const ActiveGesture& g) : hwnd_(g.window), vertical_(g.vertical), keepsCapture_(g.keepsCapture) {}
  ScrollBarGeometry Geometry() const override
  {
    return ScrollBarGeometry::Of(user_bars::BarRect(hwnd_, vertical_), vertical_,
                                 WindowBarData(hwnd_, vertical_ ? SB_VERT : SB_HORZ));
  }
  bool Send(WORD code, int position) override
  {
    SendMessageW(hwnd_, vertical_ ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, position), 0);
    return IsWindow(hwnd_);
  }
  void Track(int position) override { SetWindowBarTrackPos(hwnd_, vertical_ ? SB_VERT : SB_HORZ, position); }
  void Capture() override { user_bars::CaptureForBar(hwnd_, vertical_ ? HTVSCROLL : HTHSCROLL); }
  void Release() override
  {
    if (keepsCapture_)
      SetCapture(hwnd_);
    else if (GetCapture() == hwnd_)
      ReleaseCapture();
  }
  void StartRepeat(UINT ms) override { SetTimer(hwnd_, kRepeatTimer, ms, RepeatDue); }
  void StopRepeat() override { KillTimer(hwnd_, kRepeatTimer); }

 private:
  HWND hwnd_;
  bool vertical_;
  bool keepsCapture_;
};

// Ends the gesture once its window has lost the bar's capture (taken by another window, or the
// window hidden or disabled): the window hears SB_ENDSCROLL.
bool LostThePointer()
{
  if (!active.gesture.Active() || user_bars::BarCaptureOf(active.window) != HTNOWHERE)
    return false;
  WindowBarSite site(active);
  active.gesture.Release(site, false);
  return true;
}

void RepeatDue(HWND hwnd, UINT, UINT_PTR, DWORD)
{
  if (hwnd != active.window) {
    KillTimer(hwnd, kRepeatTimer);
    return;
  }
  if (LostThePointer())
    return;
  WindowBarSite site(active);
  active.gesture.Repeat(site);
}

void Pointer(HWND hwnd, UINT message, int hit, POINT screen)
{
  if (message == WM_NCLBUTTONDOWN) {
    if (active.gesture.Active() && IsWindow(active.window)) {
      WindowBarSite previous(active);
      active.gesture.Release(previous, false);
    }
    active = ActiveGesture{hwnd, hit == HTVSCROLL, GetCapture() == hwnd, ScrollGesture{}};
    WindowBarSite site(active);
    active.gesture.Press(site, screen);
    return;
  }
  if (hwnd != active.window || LostThePointer())
    return;
  WindowBarSite site(active);
  if (message == WM_NCMOUSEMOVE)
    active.gesture.Move(site, screen);
  else if (message == WM_NCLBUTTONUP)
    active.gesture.Release(site);
}

}  // namespace
}  // namespace controls_detail

void device_start::InstallWindowScrollBars()
{
  static std::once_flag once;
  std::call_once(once, [] {
    user_bars::Hooks hooks;
    hooks.pointer = controls_detail::Pointer;
    user_bars::SetHooks(hooks);
  });
}
