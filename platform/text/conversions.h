// What formatting and scanning share about conversions: the size prefixes and
// the integer sizes they name on the device, and the classes of conversion letters.
#pragma once

#include <cstdint>

namespace kv::text {

enum class SizePrefix { None, hh, h, l, ll, L, I32, I64, I, w, j, z, t };

// Reads a size prefix at p and moves p past it.
template <class T>
SizePrefix ReadSizePrefix(const T*& p)
{
  auto next = [&](char c) {
    if (*p != static_cast<T>(c))
      return false;
    ++p;
    return true;
  };
  if (next('h'))
    return next('h') ? SizePrefix::hh : SizePrefix::h;
  if (next('l'))
    return next('l') ? SizePrefix::ll : SizePrefix::l;
  if (next('L'))
    return SizePrefix::L;
  if (next('w'))
    return SizePrefix::w;
  if (next('j'))
    return SizePrefix::j;
  if (next('z'))
    return SizePrefix::z;
  if (next('t'))
    return SizePrefix::t;
  if (next('I')) {
    if (p[0] == '6' && p[1] == '4') {
      p += 2;
      return SizePrefix::I64;
    }
    if (p[0] == '3' && p[1] == '2') {
      p += 2;
      return SizePrefix::I32;
    }
    return SizePrefix::I;
  }
  return SizePrefix::None;
}

// Bits of an integer conversion on the device: long is 32 bits; I, z and t name this build's
// pointer size.
inline int IntegerBits(SizePrefix size)
{
  switch (size) {
    case SizePrefix::hh:
      return 8;
    case SizePrefix::h:
      return 16;
    case SizePrefix::ll:
    case SizePrefix::L:
    case SizePrefix::I64:
    case SizePrefix::j:
      return 64;
    case SizePrefix::I:
    case SizePrefix::z:
    case SizePrefix::t:
      return static_cast<int>(sizeof(void*) * 8);
    default:
      return 32;
  }
}

inline bool IsOneOf(uint32_t c, const char* letters)
{
  for (; *letters; ++letters) {
    if (c == static_cast<uint8_t>(*letters))
      return true;
  }
  return false;
}

inline bool IsIntegerConversion(uint32_t c)
{
  return IsOneOf(c, "diuoxX");
}

inline bool IsRealConversion(uint32_t c)
{
  return IsOneOf(c, "fFeEgGaA");
}

}  // namespace kv::text
