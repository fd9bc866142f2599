// printf-style formatting with the platform's meanings, independent of the C locale and
// type-safe: the formatting functions are variadic templates that capture every argument with
// its real type, and one engine reads the format.
//
// Conversions, in a wide format (the char formats swap the natural width of s and c):
//   %s %ls %ws  wide text        %S %hs  narrow text, converted from the ANSI code page (936)
//   %c %lc %wc  wide character   %C %hc  narrow character
//   %d %i (signed), %u %o %x %X (unsigned), with the sizes hh (8 bits), h (16), none, l and I32
//       (32: the device's long), ll, I64, L and j (64), I, z and t (this build's pointer size);
//       the value is converted to the size the prefix names, as the device would read it
//   %f %F %e %E %g %G %a %A  a real (l and L are accepted; long double is double), printed exactly
//       as the C library prints it: correctly rounded, "inf"/"nan", two exponent digits at least
//   %p  a pointer: upper-case hexadecimal, zero-padded to the pointer's width
//   %n  prints nothing and stores nothing (the device's run-time refuses it); its argument is used
//   %%  a percent sign
// Flags - + space # 0, a width and a precision, each a number or * (taken from the next
// argument; a negative width means -, a negative precision none). Widths and precisions are
// limited to kv::kMaxFormatField. As on the platform, 0 pads text with zeros as well.
//
// Arguments that do not fit their conversion never make the engine read foreign memory:
// - The real type of a text or character argument decides how it is read: a char* given to %s
//   in a wide format is still read as narrow text (and a wide text to %S as wide text).
// - A null text pointer (or nullptr) prints "(null)", cut by the precision like any text.
// - An integer conversion takes any integer, character or pointer value; a real conversion takes
//   reals and integers. Any other argument prints in its own natural form with the same flags,
//   width and precision: an integer as %d or %u, a character as %c, a real as %g, text as %s, a
//   pointer as %p.
// - A missing argument prints "(missing)". Extra arguments are ignored.
// - An unknown conversion prints the conversion's text as it stands; a lone % at the end prints %.
#pragma once

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cwchar>  // before the overloads below, so std::swprintf stays the C library's
#include <span>
#include <type_traits>

#include "base/types.h"

namespace kv {

inline constexpr int kMaxFormatField = 1 << 20;

template <class T>
concept TextUnit = std::same_as<std::remove_cv_t<T>, char> || std::same_as<std::remove_cv_t<T>, char16_t>;

// One argument of a formatting call, captured with its real type.
class FormatArg {
 public:
  enum class Kind : uint8_t { Signed, Unsigned, WideChar, NarrowChar, Real, WideText, NarrowText, Pointer };

  FormatArg(const WCHAR* text) : kind_(Kind::WideText), wide_(text) {}
  FormatArg(const char* text) : kind_(Kind::NarrowText), narrow_(text) {}
  FormatArg(std::nullptr_t) : kind_(Kind::Pointer), pointer_(nullptr) {}

  template <std::integral T>
  FormatArg(T value) : size_(sizeof(T))
  {
    if constexpr (std::same_as<T, char> || std::same_as<T, char8_t>) {
      kind_ = Kind::NarrowChar;
      signed_ = static_cast<signed char>(value);  // the device's char is signed
    } else if constexpr (std::same_as<T, char16_t> || std::same_as<T, char32_t> || std::same_as<T, wchar_t>) {
      kind_ = Kind::WideChar;
      unsigned_ = static_cast<uint32_t>(value);
    } else if constexpr (std::is_signed_v<T>) {
      kind_ = Kind::Signed;
      signed_ = value;
    } else {
      kind_ = Kind::Unsigned;
      unsigned_ = value;
    }
  }

  template <std::floating_point T>
  FormatArg(T value) : kind_(Kind::Real), real_(static_cast<double>(value))
  {
  }

  template <class T>
    requires std::is_enum_v<T>
  FormatArg(T value) : FormatArg(static_cast<std::underlying_type_t<T>>(value))
  {
  }

  // Any other pointer (handles included) prints as a pointer or a number.
  template <class T>
    requires(!TextUnit<T>)
  FormatArg(T* pointer)
      : kind_(Kind::Pointer), pointer_(reinterpret_cast<const void*>(reinterpret_cast<uintptr_t>(pointer)))
  {
  }

  Kind kind() const { return kind_; }
  int size() const { return size_; }  // bytes of an integer or character argument
  int64_t signedValue() const { return signed_; }
  uint64_t unsignedValue() const { return unsigned_; }
  double real() const { return real_; }
  const WCHAR* wide() const { return wide_; }
  const char* narrow() const { return narrow_; }
  const void* pointer() const { return pointer_; }

 private:
  Kind kind_ = Kind::Signed;
  uint8_t size_ = 0;
  union {
    int64_t signed_;
    uint64_t unsigned_;
    double real_;
    const WCHAR* wide_;
    const char* narrow_;
    const void* pointer_;
  };
};

using FormatArgs = std::span<const FormatArg>;

// Captures the arguments of a variadic call, for the functions that take FormatArgs. The texts
// they point to must outlive the use of the result (pass it on within the same call).
template <class... A>
std::array<FormatArg, sizeof...(A)> CaptureArgs(const A&... args)
{
  return {FormatArg(args)...};
}

// The engine: formats into buffer (at most count units, always terminated when count > 0) and
// returns the length of the whole text, terminator not counted, however much of it fitted.
size_t FormatInto(WCHAR* buffer, size_t count, const WCHAR* format, FormatArgs args);
size_t FormatInto(char* buffer, size_t count, const char* format, FormatArgs args);

}  // namespace kv

// The run-time's counted formatting functions. They return the length written, terminator not
// counted. Unlike the run-time, they always terminate the buffer: when the text does not fit, the
// buffer holds what fits followed by a terminator, and they return -1. A null buffer with a count
// of 0 returns the length the text needs. A null format or a null buffer with a count returns -1.
int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, kv::FormatArgs args);
int _vsnprintf(char* buffer, size_t count, const char* format, kv::FormatArgs args);

template <class... A>
int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, const A&... args)
{
  return _vsnwprintf(buffer, count, format, kv::CaptureArgs(args...));
}

template <class... A>
int swprintf(WCHAR* buffer, size_t count, const WCHAR* format, const A&... args)
{
  return _vsnwprintf(buffer, count, format, kv::CaptureArgs(args...));
}

// The older form without a count takes an array, whose size is the count.
template <size_t N, class... A>
int swprintf(WCHAR (&buffer)[N], const WCHAR* format, const A&... args)
{
  return _vsnwprintf(buffer, N, format, kv::CaptureArgs(args...));
}

template <class... A>
int _snprintf(char* buffer, size_t count, const char* format, const A&... args)
{
  return _vsnprintf(buffer, count, format, kv::CaptureArgs(args...));
}

// The window manager's formatter writes at most 1024 units plus the terminator (the platform's
// limit), bounded by the array, and returns the number of units stored.
int wvsprintf(WCHAR* buffer, size_t count, const WCHAR* format, kv::FormatArgs args);

template <size_t N, class... A>
int wsprintf(WCHAR (&buffer)[N], const WCHAR* format, const A&... args)
{
  return wvsprintf(buffer, N, format, kv::CaptureArgs(args...));
}
