// Where a line of text may be broken: after spaces and between ideographs. For the text engine's
// layout and the HTML layout.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace kv::fonts {

// True when a new line may start at unit `i` of `text` (0 < i < size). Never inside a surrogate
// pair, never at a space (a line breaks after its spaces), never before closing punctuation or
// after opening punctuation.
bool CanBreakBefore(std::u16string_view text, size_t i);

// The break of last resort inside a word too wide for any line: at any character, but still
// never inside a surrogate pair, before closing punctuation or after opening punctuation.
bool CanBreakInsideWord(std::u16string_view text, size_t i);

// One line of a paragraph broken to a width.
struct WrappedLine {
  size_t start = 0;
  size_t end = 0;         // the line's text ends here: the spaces at a break are left out
  bool overlong = false;  // a single word wider than the width
};

// Breaks a paragraph (a text without line ends; `advances` one per unit) into lines no wider
// than `width` where it can, at the places CanBreakBefore allows. The spaces at a break end the
// line before it and never make it too wide; the next line starts after them. A word wider than
// the width keeps a line of its own. An empty paragraph is one empty line.
std::vector<WrappedLine> WrapParagraph(std::u16string_view text, std::span<const int> advances, int width);

}  // namespace kv::fonts
