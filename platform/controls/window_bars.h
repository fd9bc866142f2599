// The scroll values of a window's own bars, for painting them.
#pragma once

#include "scroll_data.h"

namespace controls_detail {

ScrollData WindowBarData(HWND hwnd, int bar);

}  // namespace controls_detail
