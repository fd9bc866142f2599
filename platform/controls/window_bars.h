// The scroll values of a window's own bars, for painting them and for the gesture on them.
#pragma once

#include "scroll_data.h"

namespace controls_detail {

ScrollData WindowBarData(HWND hwnd, int bar);
// The position the bar's thumb is dragged to (GetScrollInfo's SIF_TRACKPOS).
void SetWindowBarTrackPos(HWND hwnd, int bar, int position);

}  // namespace controls_detail
