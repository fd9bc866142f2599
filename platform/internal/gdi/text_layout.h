// DrawText's layout as a pure function: where each line of a text goes in a rectangle for a
// format, the height DrawText returns and the rectangle DT_CALCRECT gives. Nothing is drawn.
#pragma once

#include "base/types.h"
#include "internal/gdi/text_measure.h"

#include <string>
#include <string_view>
#include <vector>

namespace kv::fonts {

struct LaidLine {
  std::u16string text;  // what is drawn: prefixes removed, an ellipsis put in
  int x = 0;            // left of the line's cell
  int y = 0;            // top of the line's cell
  int width = 0;
  int underline = -1;   // index in `text` of the unit a '&' prefix marks, or -1
};

struct TextLayout {
  std::vector<LaidLine> lines;
  int height = 0;     // what DrawText returns
  RECT rect{};        // the rectangle after the call: grown or shrunk to the text with DT_CALCRECT
  bool clip = false;  // draw clipped to the rectangle
};

// Lays out `text` in `rect` for the DrawText `format`, with the font `measure`.
//  - Lines end at CR, LF and CR LF unless DT_SINGLELINE; DT_WORDBREAK also breaks a line that is
//    wider than the rectangle, after spaces (which it drops) and between ideographs (not before
//    closing punctuation, not after opening punctuation). A word wider than the rectangle keeps
//    its own line.
//  - Without DT_NOPREFIX a '&' is removed and marks the next unit for underlining; "&&" is '&'.
//  - DT_END_ELLIPSIS and DT_WORD_ELLIPSIS end a line that does not fit with "..." (with
//    DT_WORDBREAK only a single word too wide for the rectangle); never with DT_CALCRECT.
//  - DT_CENTER, DT_RIGHT align each line; DT_VCENTER, DT_BOTTOM place a DT_SINGLELINE line.
//  - The height returned is the lines' height; with DT_VCENTER or DT_BOTTOM on a single line it
//    is the bottom of the line less the rectangle's top.
//  - DT_CALCRECT keeps the left and top and sets right and bottom around the text.
TextLayout LayOutText(std::u16string_view text, const RECT& rect, UINT format, const TextMeasure& measure);

}  // namespace kv::fonts
