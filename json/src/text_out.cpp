// Scalar texts of the writers: decimal integers, reals by "%#.16g" with the trailing zeros
// cut and never ending in the point, and quoted strings with the JSON escapes.
#include "text_out.h"

#include "json/writer.h"
#include "text/format.h"

namespace Json {

namespace {

bool needsEscape(WCHAR c)
{
  return c < 0x20 || c == u'"' || c == u'\\';
}

const WCHAR hexDigits[] = u"0123456789ABCDEF";

}  // namespace

void appendUInt(std::u16string& out, UInt value)
{
  WCHAR digits[10];
  WCHAR* start = digits + 10;
  do {
    *--start = static_cast<WCHAR>(u'0' + value % 10);
    value /= 10;
  } while (value != 0);
  out.append(start, digits + 10);
}

void appendInt(std::u16string& out, Int value)
{
  if (value < 0) {
    out.push_back(u'-');
    appendUInt(out, static_cast<UInt>(0) - static_cast<UInt>(value));
  } else {
    appendUInt(out, static_cast<UInt>(value));
  }
}

void appendReal(std::u16string& out, double value)
{
  WCHAR text[32];
  int length = swprintf(text, u"%#.16g", value);
  if (length <= 0) {
    return;
  }
  if (text[length - 1] == u'0') {
    // Keep one zero after the last non-zero digit of a fraction; an exponent keeps its digits.
    int lastNonZero = length - 1;
    while (lastNonZero > 0 && text[lastNonZero] == u'0') {
      --lastNonZero;
    }
    for (int i = lastNonZero; i >= 0; --i) {
      WCHAR c = text[i];
      if (c >= u'0' && c <= u'9') {
        continue;
      }
      if (c == u'.') {
        length = lastNonZero + 2;
      }
      break;
    }
  }
  out.append(text, static_cast<size_t>(length));
  // Sixteen digits before the point leave it last ("1000000000000000."), which JSON refuses.
  if (text[length - 1] == u'.') {
    out.push_back(u'0');
  }
}

void appendQuoted(std::u16string& out, const WCHAR* text)
{
  if (text == nullptr) {
    text = u"";
  }
  const WCHAR* p = text;
  while (*p != 0 && !needsEscape(*p)) {
    ++p;
  }
  out.push_back(u'"');
  if (*p == 0) {
    out.append(text, p);
    out.push_back(u'"');
    return;
  }
  out.append(text, p);
  while (*p != 0) {
    const WCHAR* run = p;
    while (*p != 0 && !needsEscape(*p)) {
      ++p;
    }
    out.append(run, p);
    if (*p == 0) {
      break;
    }
    WCHAR c = *p++;
    switch (c) {
      case u'"': out += u"\\\""; break;
      case u'\\': out += u"\\\\"; break;
      case 8: out += u"\\b"; break;
      case 12: out += u"\\f"; break;
      case 10: out += u"\\n"; break;
      case 13: out += u"\\r"; break;
      case 9: out += u"\\t"; break;
      default: {
        WCHAR escape[6] = {u'\\', u'u', u'0', u'0', hexDigits[c >> 4], hexDigits[c & 0xF]};
        out.append(escape, 6);
        break;
      }
    }
  }
  out.push_back(u'"');
}

void appendScalar(std::u16string& out, const Value& value)
{
  switch (value.type()) {
    case nullValue: out += u"null"; break;
    case intValue: appendInt(out, value.asInt()); break;
    case uintValue: appendUInt(out, value.asUInt()); break;
    case realValue: appendReal(out, value.asDouble()); break;
    case stringValue: appendQuoted(out, value.asCString()); break;
    case booleanValue: out += value.asBool() ? u"true" : u"false"; break;
    default: break;
  }
}

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
