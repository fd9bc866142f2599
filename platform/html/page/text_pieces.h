// HTML text cut into the pieces the layout places one by one: a line may break between any two
// pieces and nowhere inside one. The cuts follow the drawing layer's line-break rules, so
// Chinese text breaks between ideographs but never before closing or after opening punctuation.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::html {

struct TextPiece {
  std::u16string text;
  bool space = false;  // one white-space character, which the layout collapses
};

// Splits text into words and single white-space characters (space, tab, line feed, carriage
// return, form feed; not U+00A0 or U+3000, which are characters of their words). A word for
// which `tooWide` is true may also break between any two characters where the rules allow.
std::vector<TextPiece> SplitIntoPieces(std::u16string_view text,
                                       const std::function<bool(std::u16string_view)>& tooWide);

}  // namespace kv::html
