// Scalar texts of the writers: decimal integers, reals by "%#.16g" with the trailing zeros
// cut and never ending in the point, and quoted strings with the JSON escapes.
#include "text_out.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "json/writer.h"
#include "text/format.h"

namespace Json {

namespace {

// Control characters (the terminating NUL among them), the quote and the backslash.
bool needsEscape(WCHAR c)
{
  return c < 0x20 || c == u'"' || c == u'\\';
}

const WCHAR hexDigits[] = u"0123456789ABCDEF";

// "00" to "99", two digits a step.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Puts the decimal digits of value just before `end`, `count` of them at least (leading
// zeros), and returns where they start.
template <class Char>
Char* putDigits(Char* end, uint64_t value, int count = 1)
{
  Char* start = end;
  while (value >= 100 || count > 2) {
    const char* pair = kDigitPairs + 2 * (value % 100);
    value /= 100;
    count -= 2;
    *--start = static_cast<Char>(pair[1]);
    *--start = static_cast<Char>(pair[0]);
  }
  if (value >= 10 || count == 2) {
    const char* pair = kDigitPairs + 2 * value;
    *--start = static_cast<Char>(pair[1]);
    *--start = static_cast<Char>(pair[0]);
  } else {
    *--start = static_cast<Char>('0' + value);
  }
  return start;
}

}  // namespace

template <class Out>
void appendUInt(Out& out, UInt value)
{
  WCHAR digits[10];
  const WCHAR* start = putDigits(digits + 10, value);
  out.append(start, static_cast<size_t>(digits + 10 - start));
}

template <class Out>
void appendInt(Out& out, Int value)
{
  if (value < 0) {
    out.push_back(u'-');
    appendUInt(out, static_cast<UInt>(0) - static_cast<UInt>(value));
  } else {
    appendUInt(out, static_cast<UInt>(value));
  }
}

namespace {

// "%#.16g" of a value into text (room for 32 characters): sixteen significant digits, in fixed
// form when the exponent lies from -4 to 15, else in exponent form, the point always written.
// The digits come from one correctly rounded conversion, as the formatted print makes them;
// what it prints for infinities and NaN is left to it.
// The sixteen significant digits of a normal value as an integer from 10^15 to 10^16 - 1, and
// its decimal exponent after rounding, for exponents from -4 to 15 (the fixed form): the value
// times 10^(15 - exponent) is made exactly in 128-bit integers and rounded half to even, as the
// formatted print rounds. False for zero, denormals, what is not finite and other exponents.
bool fixedFormDigits(double value, uint64_t& digits, int& exponent)
{
  static constexpr uint64_t kLow = 1000000000000000u;  // 10^15
  static constexpr uint64_t kHigh = 10 * kLow;
  static constexpr auto kFivePowers = [] {
    std::array<uint64_t, 28> powers{};
    powers[0] = 1;
    for (size_t i = 1; i < powers.size(); ++i) {
      powers[i] = powers[i - 1] * 5;
    }
    return powers;
  }();
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  if (biased == 0 || biased == 0x7FF) {
    return false;
  }
  const uint64_t mantissa = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  const int binary = biased - 1075;  // |value| = mantissa * 2^binary
  // floor(log10(2) * (binary + 52)): the decimal exponent or one less.
  int decimal = ((binary + 52) * 78913) >> 18;
  for (;;) {
    const int power = 15 - decimal;
    if (power < 0 || power > 27) {
      return false;
    }
    const uint64_t fivePower = kFivePowers[power];
    // |value| * 10^power = mantissa * 5^power * 2^shift, below 2^57 once the exponent is right.
    const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * fivePower;
    const int shift = binary + power;
    unsigned __int128 whole = 0, rest = 0, half = 0;
    if (shift >= 0) {
      if (shift > 8) {
        return false;
      }
      whole = scaled << shift;
    } else {
      if (shift <= -128) {
        return false;
      }
      whole = scaled >> -shift;
      rest = scaled & ((static_cast<unsigned __int128>(1) << -shift) - 1);
      half = static_cast<unsigned __int128>(1) << (-shift - 1);
    }
    if (whole < kLow) {
      --decimal;
      continue;
    }
    if (whole >= kHigh) {
      ++decimal;
      continue;
    }
    auto rounded = static_cast<uint64_t>(whole);
    if (rest > half || (rest == half && half != 0 && (rounded & 1) != 0)) {
      ++rounded;
    }
    if (rounded == kHigh) {
      rounded = kLow;
      ++decimal;
    }
    if (decimal < -4 || decimal > 15) {
      return false;
    }
    digits = rounded;
    exponent = decimal;
    return true;
  }
}

// The fixed form of sixteen digits with the point moved by the exponent (-4 to 15).
int writeFixedForm(bool negative, const char* digits, int exponent, char* text)
{
  char* out = text;
  if (negative) {
    *out++ = '-';
  }
  if (exponent >= 0) {
    out = std::copy(digits, digits + exponent + 1, out);
    *out++ = '.';
    out = std::copy(digits + exponent + 1, digits + 16, out);
  } else {
    *out++ = '0';
    *out++ = '.';
    out = std::fill_n(out, -exponent - 1, '0');
    out = std::copy(digits, digits + 16, out);
  }
  return static_cast<int>(out - text);
}

int formatSixteenDigits(double value, char* text)
{
  uint64_t whole;
  int wholeExponent;
  if (fixedFormDigits(value, whole, wholeExponent)) {
    char digits[16];
    putDigits(digits + 16, whole, 16);
    return writeFixedForm(std::signbit(value), digits, wholeExponent, text);
  }
  if (!std::isfinite(value)) {
    WCHAR wide[32];
    int length = swprintf(wide, u"%#.16g", value);
    std::copy(wide, wide + std::max(length, 0), text);
    return length;
  }
  char scientific[32];  // [-]d.ddddddddddddddde[+-]xx
  char* end = std::to_chars(scientific, scientific + sizeof scientific, value, std::chars_format::scientific, 15).ptr;
  const bool negative = scientific[0] == '-';
  const char* digit = scientific + (negative ? 1 : 0);
  const char* e = std::find(digit, static_cast<const char*>(end), 'e');
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);
  if (exponent < -4 || exponent >= 16) {
    std::copy(scientific, end, text);
    return static_cast<int>(end - scientific);
  }
  // The sixteen digits d0 d1 ... d15.
  char digits[16];
  digits[0] = digit[0];
  std::copy(digit + 2, digit + 17, digits + 1);
  return writeFixedForm(negative, digits, exponent, text);
}

}  // namespace

template <class Out>
void appendReal(Out& out, double value)
{
  char text[32];
  int length = formatSixteenDigits(value, text);
  if (length <= 0) {
    return;
  }
  if (text[length - 1] == '0') {
    // Keep one zero after the last non-zero digit of a fraction; an exponent keeps its digits.
    int lastNonZero = length - 1;
    while (lastNonZero > 0 && text[lastNonZero] == '0') {
      --lastNonZero;
    }
    for (int i = lastNonZero; i >= 0; --i) {
      char c = text[i];
      if (c >= '0' && c <= '9') {
        continue;
      }
      if (c == '.') {
        length = lastNonZero + 2;
      }
      break;
    }
  }
  WCHAR wide[32];
  std::copy(text, text + length, wide);
  out.append(wide, static_cast<size_t>(length));
  // Sixteen digits before the point leave it last ("1000000000000000."), which JSON refuses.
  if (text[length - 1] == '.') {
    out.push_back(u'0');
  }
}

template <class Out>
void appendQuoted(Out& out, const WCHAR* text)
{
  if (text == nullptr) {
    text = u"";
  }
  out.push_back(u'"');
  // Runs that need no escape are copied whole.
  const WCHAR* run = text;
  for (const WCHAR* p = text;; ++p) {
    const WCHAR c = *p;
    if (!needsEscape(c)) {
      continue;
    }
    out.append(run, static_cast<size_t>(p - run));
    if (c == 0) {
      break;
    }
    run = p + 1;
    switch (c) {
      case u'"': out.append(u"\\\"", 2); break;
      case u'\\': out.append(u"\\\\", 2); break;
      case 8: out.append(u"\\b", 2); break;
      case 12: out.append(u"\\f", 2); break;
      case 10: out.append(u"\\n", 2); break;
      case 13: out.append(u"\\r", 2); break;
      case 9: out.append(u"\\t", 2); break;
      default: {
        const WCHAR escape[6] = {u'\\', u'u', u'0', u'0', hexDigits[c >> 4], hexDigits[c & 0xF]};
        out.append(escape, 6);
        break;
      }
    }
  }
  out.push_back(u'"');
}

template <class Out>
void appendScalar(Out& out, const Value& value)
{
  switch (value.type()) {
    case nullValue: out.append(u"null", 4); break;
    case intValue: appendInt(out, value.asInt()); break;
    case uintValue: appendUInt(out, value.asUInt()); break;
    case realValue: appendReal(out, value.asDouble()); break;
    case stringValue: appendQuoted(out, value.asCString()); break;
    case booleanValue:
      if (value.asBool()) {
        out.append(u"true", 4);
      } else {
        out.append(u"false", 5);
      }
      break;
    default: break;
  }
}

template void appendScalar(std::u16string& out, const Value& value);
template void appendScalar(TextSink& out, const Value& value);
template void appendQuoted(std::u16string& out, const WCHAR* text);
template void appendQuoted(TextSink& out, const WCHAR* text);

std::u16string valueToString(Int value)
{
  std::u16string text;
  appendInt(text, value);
  return text;
}

std::u16string valueToString(UInt value)
{
  std::u16string text;
  appendUInt(text, value);
  return text;
}

std::u16string valueToString(double value)
{
  std::u16string text;
  appendReal(text, value);
  return text;
}

std::u16string valueToString(bool value)
{
  return value ? u"true" : u"false";
}

std::u16string valueToQuotedString(const WCHAR* text)
{
  std::u16string quoted;
  appendQuoted(quoted, text);
  return quoted;
}

std::u16string valueToQuotedString(const std::u16string& text)
{
  return valueToQuotedString(text.c_str());
}

}  // namespace Json
