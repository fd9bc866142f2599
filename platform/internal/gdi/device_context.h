// For the text engine: what a device context holds for text, and drawing through its clip.
// Coordinates are the DC's logical coordinates (its viewport origin applies). Every call
// fails (returns false) for a handle that names no device context.
#pragma once

#include <cstdint>

#include "base/types.h"
#include "gdi/fonts.h"

namespace gdi_dc {

struct TextState {
  LOGFONTW font;          // the selected font's record (the stock system font by default)
  COLORREF textColor;
  COLORREF backgroundColor;
  int backgroundMode;     // TRANSPARENT or OPAQUE
  UINT textAlign;         // TA_* flags
  POINT currentPosition;  // MoveToEx / LineTo; text with TA_UPDATECP moves it
  int dpi;                // dots per inch of the DC's surface (LOGPIXELSY)
};
bool ReadTextState(HDC dc, TextState* state);
bool SetCurrentPosition(HDC dc, POINT position);

// Blends an 8-bit coverage mask (0 leaves a pixel, 255 sets it to the colour) with its
// top-left corner at (x, y), through the clip. Rows are `stride` bytes apart.
bool BlendCoverage(HDC dc, int x, int y, const uint8_t* mask, int width, int height, int stride, COLORREF color);
// Fills a rectangle with a colour through the clip (ETO_OPAQUE, opaque backgrounds).
bool FillRectangle(HDC dc, const RECT& rect, COLORREF color);
// Narrows the clip to a rectangle until the matching PopClip (ETO_CLIPPED, DrawText without
// DT_NOCLIP). Pushes nest.
bool PushClip(HDC dc, const RECT& rect);
bool PopClip(HDC dc);

}  // namespace gdi_dc
