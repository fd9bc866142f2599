// For the drawing layer: marks the windows that wait for WM_PAINT. The message queue hands a
// marked window WM_PAINT after posted and input messages and before timers, and takes it as
// painted once WM_PAINT was dispatched or reached the default procedure, unless the drawing
// layer keeps it marked.
#pragma once

#include "base/types.h"

namespace user_paint {

void SetNeedsPaint(HWND hwnd, bool needsPaint);
bool NeedsPaint(HWND hwnd);

}  // namespace user_paint
