// Where the parts of a scroll bar lie: an arrow square at each end, the track between them and
// the thumb on the track, its length in proportion to the page.
#pragma once

#include "windows.h"
#include "scroll_data.h"

namespace controls_detail {

enum class ScrollPart { none, firstArrow, secondArrow, trackBefore, trackAfter, thumb };

struct ScrollBarGeometry {
  RECT bar{};
  bool vertical = true;
  int arrow = 0;        // length of each arrow along the bar
  int trackStart = 0;   // along the bar
  int trackLength = 0;
  int thumbStart = 0;   // along the bar
  int thumbLength = 0;  // 0: no thumb (nothing to scroll or no room)
  ScrollData data;

  // thumbPos is the position the thumb shows (the tracked one during a drag).
  static ScrollBarGeometry Of(const RECT& bar, bool vertical, const ScrollData& data);
  static ScrollBarGeometry Of(const RECT& bar, bool vertical, const ScrollData& data, int thumbPos);
  ScrollPart PartAt(POINT point) const;
  RECT PartRect(ScrollPart part) const;
  // The position a thumb dragged by `along` pixels from startPos stands for.
  int PositionForDrag(int startPos, int along) const;
};

}  // namespace controls_detail
