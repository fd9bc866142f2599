// A press on a scroll bar, as the ScrollBar control and the scroll bars of any window take it: an
// arrow or the track sends its code at once and again while it is held (after a pause, and only
// while the pointer stays on that part, so the track stops once the thumb has reached the
// pointer); the thumb is dragged with SB_THUMBTRACK and let go with SB_THUMBPOSITION; every
// gesture ends with SB_ENDSCROLL. The bar never moves its own position: its owner does, on the
// codes.
#pragma once

#include "scroll_bar_geometry.h"

namespace controls_detail {

// Where a bar lies, where its codes go, and what holds the pointer and the repeat timer.
class ScrollBarSite {
 public:
  virtual ~ScrollBarSite() = default;
  // The bar as it stands now, in the coordinates of the points given to the gesture.
  virtual ScrollBarGeometry Geometry() const = 0;
  // Sends WM_VSCROLL or WM_HSCROLL; false when the bar's window has gone meanwhile (then the
  // gesture, which may have gone with it, is not touched again).
  virtual bool Send(WORD code, int position) = 0;
  // The thumb is dragged to the position: the bar shows it there.
  virtual void Track(int position) = 0;
  virtual void Capture() = 0;
  virtual void Release() = 0;
  // The repeat timer: started (or restarted) with its period, and stopped.
  virtual void StartRepeat(UINT ms) = 0;
  virtual void StopRepeat() = 0;
};

class ScrollGesture {
 public:
  bool Active() const { return pressed_ != ScrollPart::none; }
  bool Dragging() const { return dragging_; }
  int TrackPos() const { return trackPos_; }

  // A press at the point: false when it is on no part of the bar.
  bool Press(ScrollBarSite& site, POINT point);
  void Move(ScrollBarSite& site, POINT point);
  // The pointer let go, or the gesture lost the pointer (then without releasing the capture).
  void Release(ScrollBarSite& site, bool releaseCapture = true);
  // The repeat timer came due.
  void Repeat(ScrollBarSite& site);

 private:
  ScrollPart pressed_ = ScrollPart::none;
  bool dragging_ = false;
  int dragStart_ = 0;     // pointer coordinate along the bar where the drag began
  int dragStartPos_ = 0;  // position at that moment
  int trackPos_ = 0;
  POINT pointer_{};
};

}  // namespace controls_detail
