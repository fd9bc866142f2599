// Formatted scanning (swscanf, sscanf) with the platform's meanings, independent of the C
// locale and type-safe: each destination is captured with its real type.
//
// The C rules hold: white space in the format matches any white space (none included); other
// characters must match; conversions other than %c, %[ and %n skip leading white space. The
// result is the number of items stored, or EOF (-1) when the input ends before the first
// conversion completes: "abc" read with "%lf" gives 0, "" gives -1, "1.2.3" gives 1 (1.2).
//
// Conversions: %d %i %u %o %x %X (sizes hh, h, none, l and I32 are the device's 8, 16 and 32
// bits; ll, L, I64, j and I, z, t are 64), %f %e %g %a (decimal numbers only), %s, %c, %[set],
// %n and %%; * suppresses the store, a width limits the units read.
// - Integers saturate at the range the size names, as strtol and strtoul do ("%d" of
//   "99999999999" gives 2147483647; "%u" of "-1" gives 4294967295). The value is then stored in
//   the destination: unchanged bits when it has the named size, else converted by value,
//   saturating at the destination's range.
// - Reals are correctly rounded into the destination's real type (float, double or long
//   double), whatever the size prefix says; overflow gives +-HUGE_VAL, as strtod does.
// - %s, %c and %[ store into a character array (a WCHAR or char array, whose size bounds what is
//   stored; text of the other width is converted through the ANSI code page). A plain pointer
//   destination needs a width for %s and %[ (the read stops otherwise); %c reads width units
//   (default 1).
// - A destination of the wrong kind (text for %d, a number for %s), a null or a missing
//   destination ends the scan there, as a matching failure.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // before the overload below, so std::sscanf stays the C library's
#include <span>

#include "base/types.h"
#include "text/format.h"

namespace kv {

// One destination of a scanning call, captured with its real type.
class ScanArg {
 public:
  enum class Kind : uint8_t { None, Signed, Unsigned, Float, Double, LongDouble, WideText, NarrowText };

  ScanArg(std::nullptr_t) {}

  template <std::integral T>
    requires(!TextUnit<T> && !std::same_as<T, bool> && !std::is_const_v<T>)
  ScanArg(T* p)
      : kind_(p ? (std::is_signed_v<T> ? Kind::Signed : Kind::Unsigned) : Kind::None), size_(sizeof(T)), target_(p)
  {
  }
  ScanArg(float* p) : kind_(p ? Kind::Float : Kind::None), target_(p) {}
  ScanArg(double* p) : kind_(p ? Kind::Double : Kind::None), target_(p) {}
  ScanArg(long double* p) : kind_(p ? Kind::LongDouble : Kind::None), target_(p) {}

  // A character array: its size bounds what is stored.
  template <size_t N>
  ScanArg(WCHAR (&text)[N]) : kind_(Kind::WideText), target_(text), capacity_(N)
  {
  }
  template <size_t N>
  ScanArg(char (&text)[N]) : kind_(Kind::NarrowText), target_(text), capacity_(N)
  {
  }
  // A plain character pointer: the size is unknown.
  template <class P>
    requires std::same_as<P, WCHAR*>
  ScanArg(P text) : kind_(text ? Kind::WideText : Kind::None), target_(text)
  {
  }
  template <class P>
    requires std::same_as<P, char*>
  ScanArg(P text) : kind_(text ? Kind::NarrowText : Kind::None), target_(text)
  {
  }

  Kind kind() const { return kind_; }
  int size() const { return size_; }
  void* target() const { return target_; }
  size_t capacity() const { return capacity_; }  // 0: unknown

 private:
  Kind kind_ = Kind::None;
  uint8_t size_ = 0;
  void* target_ = nullptr;
  size_t capacity_ = 0;
};

using ScanArgs = std::span<const ScanArg>;

template <class... A>
std::array<ScanArg, sizeof...(A)> CaptureScanArgs(A&&... args)
{
  return {ScanArg(args)...};
}

int ScanText(const WCHAR* input, const WCHAR* format, ScanArgs args);
int ScanText(const char* input, const char* format, ScanArgs args);

}  // namespace kv

template <class... A>
int swscanf(const WCHAR* input, const WCHAR* format, A&&... args)
{
  return kv::ScanText(input, format, kv::CaptureScanArgs(args...));
}

// Call it unqualified: std::sscanf is the C library's.
template <class... A>
int sscanf(const char* input, const char* format, A&&... args)
{
  return kv::ScanText(input, format, kv::CaptureScanArgs(args...));
}
