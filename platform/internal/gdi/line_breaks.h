// Where a line of text may be broken: after spaces and between ideographs. For the text engine's
// layout and the HTML layout.
#pragma once

#include <cstddef>
#include <string_view>

namespace kv::fonts {

// True when a new line may start at unit `i` of `text` (0 < i < size). Never inside a surrogate
// pair, never at a space (a line breaks after its spaces), never before closing punctuation or
// after opening punctuation.
bool CanBreakBefore(std::u16string_view text, size_t i);

// The break of last resort inside a word too wide for any line: at any character, but still
// never inside a surrogate pair, before closing punctuation or after opening punctuation.
bool CanBreakInsideWord(std::u16string_view text, size_t i);

}  // namespace kv::fonts
