// Character codes, case mapping and character-type tests of the regular-expression engine.
// Characters compare by code: the 8-bit engine as signed bytes, the wide engine as unsigned
// 16-bit values. Case and letter tests use the run-time's one-character routines; in the 8-bit
// engine bytes of 0x80 and above are parts of code-page characters, not letters, and keep
// their code.
#pragma once

#include "base/types.h"

#include "text/widechar.h"

template <typename CharT>
struct CRegexChars;

template <>
struct CRegexChars<char> {
  static int Code(char c) { return static_cast<signed char>(c); }
  static char FromCode(unsigned value) { return static_cast<char>(value & 0xFF); }
  static char ToLower(char c) { return IsAscii(c) ? static_cast<char>(towlower(static_cast<WCHAR>(c))) : c; }
  static char ToUpper(char c) { return IsAscii(c) ? static_cast<char>(towupper(static_cast<WCHAR>(c))) : c; }
  static bool IsUpper(char c) { return IsAscii(c) && iswupper(static_cast<WCHAR>(c)); }
  static bool IsLower(char c) { return IsAscii(c) && iswlower(static_cast<WCHAR>(c)); }

 private:
  static bool IsAscii(char c) { return static_cast<signed char>(c) >= 0; }
};

template <>
struct CRegexChars<WCHAR> {
  static int Code(WCHAR c) { return c; }
  static WCHAR FromCode(unsigned value) { return static_cast<WCHAR>(value & 0xFFFF); }
  static WCHAR ToLower(WCHAR c) { return towlower(c); }
  static WCHAR ToUpper(WCHAR c) { return towupper(c); }
  static bool IsUpper(WCHAR c) { return iswupper(c); }
  static bool IsLower(WCHAR c) { return iswlower(c); }
};

// Equal, or equal once both are upper-cased.
template <typename CharT>
inline bool RegexCharsEqualNoCase(CharT a, CharT b)
{
  return a == b || CRegexChars<CharT>::ToUpper(a) == CRegexChars<CharT>::ToUpper(b);
}
