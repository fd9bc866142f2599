// Drawing on the device: rectangles, device contexts, objects, drawing calls, text, the paint
// cycle, device capabilities and system colours.
#pragma once

#include "gdi/rects.h"
#include "gdi/objects.h"
#include "gdi/bitmaps.h"
#include "gdi/fonts.h"
#include "gdi/device_context.h"
#include "gdi/drawing.h"
#include "gdi/text.h"
#include "gdi/paint.h"
#include "gdi/device_caps.h"
#include "gdi/system_colors.h"
