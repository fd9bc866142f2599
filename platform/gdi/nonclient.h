// Painting the non-client area of a window (border, client edge, scroll bar room).
#pragma once

#include "base/types.h"

namespace gdi_detail {

// Paints it through a whole-window DC; nothing for a window without one.
void PaintNonClient(HWND hwnd);

}  // namespace gdi_detail
