// Test helpers: readable failure output for the string class and short ways to format.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "text/cstring.h"

inline void PrintTo(const CStringW& s, std::ostream* os)
{
  *os << testing::PrintToString(std::u16string(s.GetString(), static_cast<size_t>(s.GetLength())));
}

inline void PrintTo(const CStringA& s, std::ostream* os)
{
  *os << testing::PrintToString(std::string(s.GetString(), static_cast<size_t>(s.GetLength())));
}

// Formats with CStringW::Format and returns the whole text (embedded zeros included).
template <class... A>
std::u16string FormatW(const WCHAR* format, const A&... args)
{
  CStringW s;
  s.Format(format, args...);
  return std::u16string(s.GetString(), static_cast<size_t>(s.GetLength()));
}

template <class... A>
std::string FormatA(const char* format, const A&... args)
{
  CStringA s;
  s.Format(format, args...);
  return std::string(s.GetString(), static_cast<size_t>(s.GetLength()));
}
