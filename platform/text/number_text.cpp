#include "number_text.h"

#include <clocale>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace kv::text {
namespace {

int DigitValue(uint32_t c)
{
  if (c >= '0' && c <= '9')
    return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'z')
    return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'Z')
    return static_cast<int>(c - 'A' + 10);
  return 99;
}

template <class T>
uint32_t Unit(T c)
{
  return static_cast<std::make_unsigned_t<T>>(c);
}

// The "C" locale, so the conversions ignore whatever locale the host process has set.
locale_t CLocale()
{
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return locale;
}

}  // namespace

template <class T>
ParsedInteger ParseInteger(const T* text, size_t maxLength, int base)
{
  ParsedInteger result;
  if (base != 0 && (base < 2 || base > 36))
    return result;
  size_t i = 0;
  auto at = [&](size_t k) -> uint32_t { return k < maxLength ? Unit(text[k]) : 0; };
  if (at(i) == '+' || at(i) == '-') {
    result.negative = at(i) == '-';
    ++i;
  }
  // A 0x prefix counts only when a hexadecimal digit follows it.
  bool hexPrefix = at(i) == '0' && (at(i + 1) == 'x' || at(i + 1) == 'X') && DigitValue(at(i + 2)) < 16;
  if (base == 0)
    base = hexPrefix ? 16 : (at(i) == '0' ? 8 : 10);
  if (base == 16 && hexPrefix)
    i += 2;
  size_t firstDigit = i;
  for (; i < maxLength; ++i) {
    int digit = DigitValue(Unit(text[i]));
    if (digit >= base)
      break;
    if (result.magnitude > (std::numeric_limits<uint64_t>::max() - digit) / base)
      result.overflow = true;
    else
      result.magnitude = result.magnitude * base + digit;
  }
  if (i == firstDigit)
    return ParsedInteger{};
  result.length = i;
  return result;
}

int64_t SaturateSigned(const ParsedInteger& number, int bits, bool* overflowed)
{
  uint64_t limit = uint64_t{1} << (bits - 1);  // magnitude of the minimum
  bool over = number.overflow || number.magnitude > (number.negative ? limit : limit - 1);
  if (overflowed)
    *overflowed = over;
  if (over)
    return number.negative ? -static_cast<int64_t>(limit - 1) - 1 : static_cast<int64_t>(limit - 1);
  return number.negative ? static_cast<int64_t>(0 - number.magnitude) : static_cast<int64_t>(number.magnitude);
}

uint64_t SaturateUnsigned(const ParsedInteger& number, int bits, bool* overflowed)
{
  uint64_t max = bits >= 64 ? std::numeric_limits<uint64_t>::max() : (uint64_t{1} << bits) - 1;
  bool over = number.overflow || number.magnitude > max;
  if (overflowed)
    *overflowed = over;
  if (over)
    return max;
  return number.negative ? (0 - number.magnitude) & max : number.magnitude;
}

template <class T>
size_t ScanRealText(const T* text, size_t maxLength, std::string& ascii)
{
  ascii.clear();
  size_t i = 0;
  auto at = [&](size_t k) -> uint32_t { return k < maxLength ? Unit(text[k]) : 0; };
  auto isDigit = [](uint32_t c) { return c >= '0' && c <= '9'; };
  if (at(i) == '+' || at(i) == '-')
    ++i;
  size_t mantissaDigits = 0;
  while (isDigit(at(i))) {
    ++i;
    ++mantissaDigits;
  }
  if (at(i) == '.') {
    ++i;
    while (isDigit(at(i))) {
      ++i;
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0)
    return 0;
  if (at(i) == 'e' || at(i) == 'E') {
    size_t j = i + 1;
    if (at(j) == '+' || at(j) == '-')
      ++j;
    if (isDigit(at(j))) {
      while (isDigit(at(j)))
        ++j;
      i = j;
    }
  }
  ascii.reserve(i);
  for (size_t k = 0; k < i; ++k)
    ascii.push_back(static_cast<char>(text[k]));
  return i;
}

float RealTextToFloat(const std::string& ascii)
{
  return strtof_l(ascii.c_str(), nullptr, CLocale());
}

double RealTextToDouble(const std::string& ascii)
{
  return strtod_l(ascii.c_str(), nullptr, CLocale());
}

long double RealTextToLongDouble(const std::string& ascii)
{
  return strtold_l(ascii.c_str(), nullptr, CLocale());
}

template ParsedInteger ParseInteger<char>(const char*, size_t, int);
template ParsedInteger ParseInteger<char16_t>(const char16_t*, size_t, int);
template size_t ScanRealText<char>(const char*, size_t, std::string&);
template size_t ScanRealText<char16_t>(const char16_t*, size_t, std::string&);

}  // namespace kv::text
