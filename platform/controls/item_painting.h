// Drawing helpers of the list controls: a paint cycle around a painter, the font's line height,
// text and fills in one colour.
#pragma once

#include <functional>
#include <string_view>

#include "windows.h"

namespace controls_detail {

// Runs the painter between BeginPaint and EndPaint with the font selected (the system font when
// null).
void PaintClient(HWND hwnd, HFONT font, const std::function<void(HDC)>& painter);
// The height of a line of text in the font (the system font when null).
int FontLineHeight(HWND hwnd, HFONT font);
int TextWidth(HWND hwnd, HFONT font, std::u16string_view text);
void FillColor(HDC dc, const RECT& rect, COLORREF color);
void FrameColor(HDC dc, const RECT& rect, COLORREF color);
// Single-line text in the rectangle, transparent, with the format's alignment.
void DrawLine(HDC dc, std::u16string_view text, RECT rect, COLORREF color, UINT format);
// A brush answered to a colour request, or null when the answer is not a brush.
HBRUSH AsBrush(LRESULT answer);

}  // namespace controls_detail
