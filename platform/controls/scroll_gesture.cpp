#include "scroll_gesture.h"

namespace controls_detail {

namespace {

constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 100;

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

int Along(const ScrollBarGeometry& g, POINT point)
{
  return g.vertical ? point.y : point.x;
}

}  // namespace

bool ScrollGesture::Press(ScrollBarSite& site, POINT point)
{
  ScrollBarGeometry g = site.Geometry();
  ScrollPart part = g.PartAt(point);
  if (part == ScrollPart::none)
    return false;
  site.Capture();
  pointer_ = point;
  pressed_ = part;
  dragging_ = part == ScrollPart::thumb;
  if (dragging_) {
    dragStart_ = Along(g, point);
    dragStartPos_ = trackPos_ = g.data.pos;
    site.Track(trackPos_);
    return true;
  }
  if (site.Send(CodeOf(part), 0))
    site.StartRepeat(kFirstRepeatMs);
  return true;
}

void ScrollGesture::Move(ScrollBarSite& site, POINT point)
{
  pointer_ = point;
  if (!dragging_)
    return;
  ScrollBarGeometry g = site.Geometry();
  int position = g.PositionForDrag(dragStartPos_, Along(g, point) - dragStart_);
  if (position == trackPos_)
    return;
  trackPos_ = position;
  site.Track(position);
  site.Send(SB_THUMBTRACK, position);
}

void ScrollGesture::Release(ScrollBarSite& site, bool releaseCapture)
{
  if (pressed_ == ScrollPart::none)
    return;
  bool dragged = dragging_;
  int position = trackPos_;
  pressed_ = ScrollPart::none;
  dragging_ = false;
  site.StopRepeat();
  if (releaseCapture)
    site.Release();
  if (dragged && !site.Send(SB_THUMBPOSITION, position))
    return;
  site.Send(SB_ENDSCROLL, 0);
}

void ScrollGesture::Repeat(ScrollBarSite& site)
{
  if (pressed_ == ScrollPart::none || dragging_) {
    site.StopRepeat();
    return;
  }
  site.StartRepeat(kRepeatMs);
  if (site.Geometry().PartAt(pointer_) == pressed_)
    site.Send(CodeOf(pressed_), 0);
}

}  // namespace controls_detail
