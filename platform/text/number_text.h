// Reading numbers from text, shared by the wide helpers (wcstol, wcstod, ...) and by formatted
// scanning. Works on char and char16_t text, ASCII digits only, independent of the C locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kv::text {

struct ParsedInteger {
  uint64_t magnitude = 0;
  bool negative = false;
  bool overflow = false;  // the magnitude does not fit in 64 bits
  size_t length = 0;      // units read; 0 when the text holds no number
};

// Reads [sign][0x]digits in the base (0 chooses by prefix: 0x hexadecimal, 0 octal, else
// decimal) from at most maxLength units. Leading white space is not skipped.
template <class T>
ParsedInteger ParseInteger(const T* text, size_t maxLength, int base);

// The value limited to the range of a signed integer of the given bits, as strtol saturates.
int64_t SaturateSigned(const ParsedInteger& number, int bits, bool* overflowed = nullptr);
// The value as strtoul gives it for an unsigned integer of the given bits: a negative text is
// negated modulo 2^bits, and a magnitude beyond the range gives the maximum.
uint64_t SaturateUnsigned(const ParsedInteger& number, int bits, bool* overflowed = nullptr);

// Reads a decimal real ([sign] digits [. digits] [e [sign] digits], at least one digit in the
// mantissa) from at most maxLength units and copies what it read, as ASCII, into ascii.
// Returns the number of units read; 0 when the text holds no number.
template <class T>
size_t ScanRealText(const T* text, size_t maxLength, std::string& ascii);

// Correctly rounded conversions of text accepted by ScanRealText. Overflow gives +-HUGE_VAL and
// sets errno to ERANGE.
float RealTextToFloat(const std::string& ascii);
double RealTextToDouble(const std::string& ascii);
long double RealTextToLongDouble(const std::string& ascii);

}  // namespace kv::text
