// The reader's decoding of number and string tokens into values.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "json/reader.h"
#include "text/widechar.h"

namespace Json {

namespace {

bool isDigit(WCHAR c)
{
  return c >= u'0' && c <= u'9';
}

std::u16string notANumber(const WCHAR* start, const WCHAR* end)
{
  std::u16string message(u"'");
  message.append(start, end);
  message += u"' is not a number.";
  return message;
}

// A real whose digits make an integer below 2^53 and whose power of ten is within 22 is that
// integer times or divided by the power, rounded once: exactly what a full conversion gives.
// Other texts (and any that is not a real throughout) are left to it. This reads the rest of a
// real after its sign and its integer digits (`counted` of them, 1 to 18, making `digits`).
bool quickRealRest(const WCHAR* p, const WCHAR* end, bool negative, uint64_t digits, int counted, double& value)
{
  static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  int exponent = 0;
  if (p != end && *p == u'.') {
    for (++p; p != end && isDigit(*p); ++p, ++counted, --exponent) {
      digits = digits * 10 + static_cast<unsigned>(*p - u'0');
    }
    if (counted > 18) {
      return false;
    }
  }
  if (p != end && (*p == u'e' || *p == u'E')) {
    ++p;
    const bool negativeExponent = p != end && *p == u'-';
    if (p != end && (*p == u'-' || *p == u'+')) {
      ++p;
    }
    int written = 0;
    const WCHAR* exponentFirst = p;
    for (; p != end && isDigit(*p) && p - exponentFirst < 4; ++p) {
      written = written * 10 + (*p - u'0');
    }
    if (p == exponentFirst) {
      return false;
    }
    exponent += negativeExponent ? -written : written;
  }
  if (p != end || digits > (uint64_t{1} << 53) || exponent < -22 || exponent > 22) {
    return false;
  }
  double magnitude = static_cast<double>(digits);
  magnitude = exponent < 0 ? magnitude / kPowers[-exponent] : magnitude * kPowers[exponent];
  value = negative ? -magnitude : magnitude;
  return true;
}

// The same over a whole token.
bool quickReal(const WCHAR* p, const WCHAR* end, double& value)
{
  const bool negative = p != end && *p == u'-';
  p += negative ? 1 : 0;
  uint64_t digits = 0;
  int counted = 0;
  const WCHAR* first = p;
  for (; p != end && isDigit(*p); ++p, ++counted) {
    digits = digits * 10 + static_cast<unsigned>(*p - u'0');
  }
  if (p == first || counted > 18) {
    return false;
  }
  return quickRealRest(p, end, negative, digits, counted, value);
}

}  // namespace

// The value being read takes a number or boolean in place (its comments stay): a temporary's narrow
// write read back whole would stall the copy.
Value& Reader::emptiedCurrent()
{
  Value& current = currentValue();
  if (current.type_ >= stringValue) {
    current = Value();
  }
  return current;
}

void Reader::setCurrent(Int value)
{
  Value& current = emptiedCurrent();
  current.value_.int_ = value;
  current.type_ = intValue;
}

void Reader::setCurrent(UInt value)
{
  Value& current = emptiedCurrent();
  current.value_.uint_ = value;
  current.type_ = uintValue;
}

void Reader::setCurrent(double value)
{
  Value& current = emptiedCurrent();
  current.value_.real_ = value;
  current.type_ = realValue;
}

void Reader::setCurrent(bool value)
{
  Value& current = emptiedCurrent();
  current.value_.bool_ = value;
  current.type_ = booleanValue;
}

bool Reader::decodeNumber(Token& token)
{
  // An integer unless a character of a real turns up, or unless the digits before the last
  // reach the threshold (so "4294967290" on reads as a real, as a digit-by-digit check gives).
  // The digits are read as the token's extent is found.
  const WCHAR* p = token.start;
  const bool isNegative = *p == u'-';
  if (isNegative) {
    ++p;
  }
  const WCHAR* const first = p;
  constexpr ptrdiff_t mostDigits = 18;  // within a quick real's, and far beyond an integer's
  uint64_t digits = 0;
  const WCHAR* const digitsEnd = end_ - p > mostDigits ? p + mostDigits : end_;
  for (; p != digitsEnd; ++p) {
    const unsigned digit = static_cast<unsigned>(*p) - u'0';
    if (digit > 9) {
      break;
    }
    digits = digits * 10 + digit;
  }
  const WCHAR* const integerEnd = p;
  current_ = token.end = numberEnd(p);
  if (integerEnd != token.end) {
    double quick = 0;
    if (integerEnd != first && (*integerEnd == u'.' || *integerEnd == u'e' || *integerEnd == u'E') &&
        quickRealRest(integerEnd, token.end, isNegative, digits, static_cast<int>(integerEnd - first), quick)) {
      setCurrent(quick);
      return true;
    }
    return decodeReal(token);
  }
  const uint64_t threshold = isNegative ? 214748364u : 429496729u;
  if (digits / 10 >= threshold) {
    return decodeReal(token);
  }
  if (isNegative) {
    setCurrent(-static_cast<Int>(digits));
  } else if (digits <= 2147483647u) {
    setCurrent(static_cast<Int>(digits));
  } else {
    setCurrent(static_cast<UInt>(digits));
  }
  return true;
}

// Reads the longest prefix of the token that forms a real, as a formatted scan would:
// "1.2.3" reads as 1.2 and "1-2" as 1.
bool Reader::decodeReal(const Token& token)
{
  // The token holds only digits, '.', 'e', 'E', '+' and '-', so its ASCII copy reads alike; a
  // real beyond the range of a double is left to the wide scan, which gives what it gives.
  double quick = 0;
  if (quickReal(token.start, token.end, quick)) {
    setCurrent(quick);
    return true;
  }
  char ascii[64];
  size_t length = static_cast<size_t>(token.end - token.start);
  if (length <= sizeof ascii) {
    std::copy(token.start, token.end, ascii);
    double value = 0;
    std::from_chars_result read = std::from_chars(ascii, ascii + length, value);
    if (read.ec == std::errc()) {
      setCurrent(value);
      return true;
    }
    if (read.ec == std::errc::invalid_argument) {
      return addError(notANumber(token.start, token.end), token);
    }
  }
  std::u16string text(token.start, token.end);  // terminated, so the scan stays in the token
  WCHAR* scanEnd = nullptr;
  double value = wcstod(text.c_str(), &scanEnd);
  if (scanEnd == text.c_str()) {
    return addError(notANumber(token.start, token.end), token);
  }
  setCurrent(value);
  return true;
}

bool Reader::decodeStringValue(const Token& token)
{
  size_t length = 0;
  WCHAR* text = decodedCopy(token, length);
  if (text == nullptr) {
    return false;
  }
  Value value = Value::adoptString(text);
  if (pool_ != nullptr) {
    value.textOwner_ = Value::ownedByPool;
  }
  currentValue() = std::move(value);
  return true;
}

bool Reader::decodeString(const Token& token, std::u16string& decoded)
{
  const WCHAR* raw = token.start + 1;
  decoded.assign(raw, static_cast<size_t>(token.end - 1 - raw));
  if (!token.escaped) {
    return true;
  }
  size_t length = 0;
  if (!decodeEscapes(token, decoded.data(), length)) {
    return false;
  }
  decoded.resize(length);
  return true;
}

bool Reader::decodeEscapes(const Token& token, WCHAR* out, size_t& length)
{
  const WCHAR* const raw = token.start + 1;
  const WCHAR* const end = token.end - 1;
  const WCHAR* current = raw;
  while (current != end && *current != u'\\') {
    ++current;
  }
  WCHAR* write = out + (current - raw);
  while (current != end) {
    WCHAR c = *current++;
    if (c != u'\\') {
      *write++ = c;
      continue;
    }
    if (current == end) {
      return addError(u"Empty escape sequence in string", token);
    }
    WCHAR escape = *current++;
    switch (escape) {
      case u'"': *write++ = u'"'; break;
      case u'/': *write++ = u'/'; break;
      case u'\\': *write++ = u'\\'; break;
      case u'b': *write++ = 8; break;
      case u'f': *write++ = 12; break;
      case u'n': *write++ = 10; break;
      case u'r': *write++ = 13; break;
      case u't': *write++ = 9; break;
      case u'u': {
        unsigned codePoint = 0;
        if (!decodeUnicodeCodePoint(token, current, end, codePoint)) {
          return false;
        }
        if (codePoint < 0x10000) {
          *write++ = static_cast<WCHAR>(codePoint);
        } else {
          codePoint -= 0x10000;
          *write++ = static_cast<WCHAR>(0xD800 + (codePoint >> 10));
          *write++ = static_cast<WCHAR>(0xDC00 + (codePoint & 0x3FF));
        }
        break;
      }
      default:
        return addError(u"Bad escape sequence in string", token, current);
    }
  }
  length = static_cast<size_t>(write - out);
  return true;
}

bool Reader::decodeUnicodeCodePoint(const Token& token, const WCHAR*& current, const WCHAR* end, unsigned& codePoint)
{
  if (!decodeUnicodeEscape(token, current, end, codePoint)) {
    return false;
  }
  if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
    if (end - current < 6) {
      return addError(u"additional six characters expected to parse unicode surrogate pair.", token);
    }
    if (current[0] != u'\\' || current[1] != u'u') {
      return addError(u"expecting another \\u token to begin the second half of a unicode surrogate pair", token);
    }
    current += 2;
    unsigned second = 0;
    if (!decodeUnicodeEscape(token, current, end, second)) {
      return false;
    }
    codePoint = 0x10000 + ((codePoint & 0x3FF) << 10) + (second & 0x3FF);
  }
  return true;
}

bool Reader::decodeUnicodeEscape(const Token& token, const WCHAR*& current, const WCHAR* end, unsigned& unit)
{
  if (end - current < 4) {
    return addError(u"Bad unicode escape sequence in string: four digits expected.", token);
  }
  unit = 0;
  for (int i = 0; i < 4; ++i) {
    WCHAR c = *current++;
    unit *= 16;
    if (c >= u'0' && c <= u'9') {
      unit += c - u'0';
    } else if (c >= u'a' && c <= u'f') {
      unit += c - u'a' + 10;
    } else if (c >= u'A' && c <= u'F') {
      unit += c - u'A' + 10;
    } else {
      return addError(u"Bad unicode escape sequence in string: hexadecimal digit expected.", token, current);
    }
  }
  return true;
}

}  // namespace Json
