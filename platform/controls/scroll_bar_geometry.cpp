#include "scroll_bar_geometry.h"

#include <algorithm>

namespace controls_detail {

ScrollBarGeometry ScrollBarGeometry::Of(const RECT& bar, bool vertical, const ScrollData& data)
{
  return Of(bar, vertical, data, data.pos);
}

ScrollBarGeometry ScrollBarGeometry::Of(const RECT& bar, bool vertical, const ScrollData& data, int thumbPos)
{
  ScrollBarGeometry g;
  g.bar = bar;
  g.vertical = vertical;
  g.data = data;
  int length = vertical ? bar.bottom - bar.top : bar.right - bar.left;
  int thickness = vertical ? bar.right - bar.left : bar.bottom - bar.top;
  g.arrow = std::max(0, std::min(thickness, length / 2));
  g.trackStart = g.arrow;
  g.trackLength = std::max(0, length - 2 * g.arrow);
  if (!data.CanScroll() || g.trackLength == 0)
    return g;
  long long span = static_cast<long long>(data.max) - data.min + 1;
  int smallest = std::min(g.trackLength, std::max(6, thickness / 2));
  int proportional = data.page ? static_cast<int>(g.trackLength * static_cast<long long>(data.page) / span) : thickness;
  g.thumbLength = std::clamp(proportional, smallest, g.trackLength);
  int room = g.trackLength - g.thumbLength;
  long long steps = static_cast<long long>(data.MaxPos()) - data.min;
  int clamped = std::clamp(thumbPos, data.min, data.MaxPos());
  g.thumbStart = g.trackStart + static_cast<int>(room * (static_cast<long long>(clamped) - data.min) / steps);
  return g;
}

ScrollPart ScrollBarGeometry::PartAt(POINT point) const
{
  if (point.x < bar.left || point.x >= bar.right || point.y < bar.top || point.y >= bar.bottom)
    return ScrollPart::none;
  int along = vertical ? point.y - bar.top : point.x - bar.left;
  if (along < trackStart)
    return ScrollPart::firstArrow;
  if (along >= trackStart + trackLength)
    return ScrollPart::secondArrow;
  if (thumbLength == 0)
    return ScrollPart::none;
  if (along < thumbStart)
    return ScrollPart::trackBefore;
  if (along >= thumbStart + thumbLength)
    return ScrollPart::trackAfter;
  return ScrollPart::thumb;
}

RECT ScrollBarGeometry::PartRect(ScrollPart part) const
{
  int from = 0;
  int to = 0;
  switch (part) {
  case ScrollPart::firstArrow: to = arrow; break;
  case ScrollPart::secondArrow: from = trackStart + trackLength; to = from + arrow; break;
  case ScrollPart::trackBefore: from = trackStart; to = thumbLength ? thumbStart : trackStart + trackLength; break;
  case ScrollPart::trackAfter: from = thumbLength ? thumbStart + thumbLength : trackStart + trackLength; to = trackStart + trackLength; break;
  case ScrollPart::thumb: from = thumbStart; to = thumbStart + thumbLength; break;
  case ScrollPart::none: break;
  }
  if (vertical)
    return RECT{bar.left, bar.top + from, bar.right, bar.top + to};
  return RECT{bar.left + from, bar.top, bar.left + to, bar.bottom};
}

int ScrollBarGeometry::PositionForDrag(int startPos, int along) const
{
  int room = trackLength - thumbLength;
  if (room <= 0)
    return startPos;
  long long steps = static_cast<long long>(data.MaxPos()) - data.min;
  long long position = startPos + static_cast<long long>(along) * steps / room;
  return static_cast<int>(std::clamp<long long>(position, data.min, data.MaxPos()));
}

}  // namespace controls_detail
