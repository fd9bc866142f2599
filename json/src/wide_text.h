// Provisional wide-text helpers until the text layer lands.
#pragma once

#include "base/types.h"

#include <cstddef>

namespace Json {

inline size_t textLength(const WCHAR* text)
{
  const WCHAR* p = text;
  while (*p != 0) {
    ++p;
  }
  return static_cast<size_t>(p - text);
}

inline int compareText(const WCHAR* a, const WCHAR* b)
{
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

}  // namespace Json

#include <cstdio>
#include <string>

namespace Json {

// "%#.16g" of a real, as wide text.
inline std::u16string formatSixteenDigits(double value)
{
  char narrow[40];
  int length = std::snprintf(narrow, sizeof narrow, "%#.16g", value);
  return std::u16string(narrow, narrow + length);
}

}  // namespace Json
