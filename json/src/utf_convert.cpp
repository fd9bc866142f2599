#include "json/utf_convert.h"

namespace {

constexpr char32_t kHighFirst = 0xD800;
constexpr char32_t kHighLast = 0xDBFF;
constexpr char32_t kLowFirst = 0xDC00;
constexpr char32_t kLowLast = 0xDFFF;

bool isHigh(char32_t unit)
{
  return unit >= kHighFirst && unit <= kHighLast;
}

bool isLow(char32_t unit)
{
  return unit >= kLowFirst && unit <= kLowLast;
}

int encodedLength(char32_t ch)
{
  if (ch < 0x80) {
    return 1;
  }
  if (ch < 0x800) {
    return 2;
  }
  if (ch < 0x10000) {
    return 3;
  }
  return 4;
}

}  // namespace

Utf16ToUtf8Result Utf16ToUtf8(const char16_t** source, const char16_t* sourceEnd, uint8_t** target,
                              uint8_t* targetEnd, Utf16ToUtf8Mode mode)
{
  static constexpr uint8_t kLeadMark[5] = {0x00, 0x00, 0xC0, 0xE0, 0xF0};
  const char16_t* in = *source;
  uint8_t* out = *target;
  Utf16ToUtf8Result result = kUtfConversionOk;
  while (in < sourceEnd) {
    const char16_t* start = in;
    char32_t ch = *in++;
    if (isHigh(ch)) {
      if (in == sourceEnd) {
        in = start;
        result = kUtfSourceExhausted;
        break;
      }
      if (isLow(*in)) {
        ch = ((ch - kHighFirst) << 10) + (*in++ - kLowFirst) + 0x10000;
      } else if (mode == kUtfStrict) {
        in = start;
        result = kUtfSourceIllegal;
        break;
      }
    } else if (isLow(ch) && mode == kUtfStrict) {
      in = start;
      result = kUtfSourceIllegal;
      break;
    }
    int length = encodedLength(ch);
    if (targetEnd - out < length) {
      in = start;
      result = kUtfTargetExhausted;
      break;
    }
    for (int i = length - 1; i > 0; --i) {
      out[i] = static_cast<uint8_t>(0x80 | (ch & 0x3F));
      ch >>= 6;
    }
    out[0] = static_cast<uint8_t>(ch | kLeadMark[length]);
    out += length;
  }
  *source = in;
  *target = out;
  return result;
}
