#include "gbk_table.h"

#include <iconv.h>

#include <cstring>
#include <memory>
#include <stdexcept>

namespace kv::text {
namespace {

// Converts one character with iconv; returns the output length or 0 when it is not convertible.
size_t ConvertOne(iconv_t cd, const char* in, size_t inLength, char* out, size_t outSize)
{
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* inPtr = const_cast<char*>(in);
  char* outPtr = out;
  size_t outLeft = outSize;
  if (iconv(cd, &inPtr, &inLength, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLength != 0)
    return 0;
  return outSize - outLeft;
}

char16_t DecodeToUnit(iconv_t cd, const char* bytes, size_t length)
{
  unsigned char out[8];
  if (ConvertOne(cd, bytes, length, reinterpret_cast<char*>(out), sizeof out) != 2)
    return 0;  // undefined, or outside the 16-bit range
  return static_cast<char16_t>(out[0] | out[1] << 8);
}

void Build(GbkTable& t)
{
  iconv_t toWide = iconv_open("UTF-16LE", "CP936");
  if (toWide == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error("code page 936 is not available from iconv");

  std::memset(&t, 0, sizeof t);
  for (int b = 0; b < 0x80; ++b)
    t.single[b] = static_cast<char16_t>(b);
  char bytes[2];
  for (int b = 0x80; b < 0x100; ++b) {
    bytes[0] = static_cast<char>(b);
    t.single[b] = DecodeToUnit(toWide, bytes, 1);
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F)
        continue;
      bytes[0] = static_cast<char>(lead);
      bytes[1] = static_cast<char>(trail);
      t.pair[lead - 0x81][trail - 0x40] = DecodeToUnit(toWide, bytes, 2);
    }
  }

  // The encoder is the decoder's inverse: glibc's 936 tables map one to one.
  for (int b = 0; b < 0x100; ++b) {
    if (t.single[b] != 0 || b == 0)
      t.encode[t.single[b]] = static_cast<uint16_t>(b);
  }
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      char16_t unit = trail == 0x7F ? 0 : t.pair[lead - 0x81][trail - 0x40];
      if (unit != 0 && t.encode[unit] == 0)
        t.encode[unit] = static_cast<uint16_t>(lead << 8 | trail);
    }
  }
  iconv_close(toWide);
}

}  // namespace

const GbkTable& GbkTable::Get()
{
  static const std::unique_ptr<GbkTable> table = [] {
    auto t = std::make_unique<GbkTable>();
    Build(*t);
    return t;
  }();
  return *table;
}

}  // namespace kv::text
