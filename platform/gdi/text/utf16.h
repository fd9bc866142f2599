// Code points out of UTF-16 text, surrogate pairs joined; a lone surrogate stands for itself.
#pragma once

#include <cstddef>
#include <string_view>

namespace kv::fonts {

inline bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
inline bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code point at `i` and how many units it takes (1 or 2).
inline char32_t CodePointAt(std::u16string_view text, size_t i, size_t& units)
{
  char16_t c = text[i];
  if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
    units = 2;
    return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
  }
  units = 1;
  return c;
}

}  // namespace kv::fonts
