// Drawing helpers of the list controls: the font selected for a painting, fills, frames and one
// line of text in one colour. Paint cycles and text measures are the controls' own
// (control_painting.h).
#pragma once

#include <string_view>

#include "windows.h"

namespace controls_detail {

// Selects the font (the system font when null) while it lives.
class SelectedFont {
 public:
  SelectedFont(HDC dc, HFONT font);
  ~SelectedFont();
  SelectedFont(const SelectedFont&) = delete;
  SelectedFont& operator=(const SelectedFont&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

void FillColor(HDC dc, const RECT& rect, COLORREF color);
void FrameColor(HDC dc, const RECT& rect, COLORREF color);
// Single-line text in the rectangle, transparent, with the format's alignment.
void DrawLine(HDC dc, std::u16string_view text, RECT rect, COLORREF color, UINT format);
// A brush answered to a colour request, or null when the answer is not a brush.
HBRUSH AsBrush(LRESULT answer);

}  // namespace controls_detail
