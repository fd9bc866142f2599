// Conversion of UTF-16 code units to UTF-8 bytes, step by step over caller-owned ranges, as
// the event parser needs it for "\u" escapes.
#pragma once

#include <cstdint>

enum Utf16ToUtf8Result : int {
  kUtfConversionOk = 0,
  // The last unit is a high surrogate whose partner may still come; the source pointer stays on it.
  kUtfSourceExhausted = 1,
  // The next character does not fit; the source pointer stays on that character.
  kUtfTargetExhausted = 2,
  // A high surrogate not followed by a low one, or a lone low surrogate (strict only).
  kUtfSourceIllegal = 3,
};

enum Utf16ToUtf8Mode : int {
  kUtfStrict = 0,
  // An unpaired surrogate is written as the three-byte sequence of its own value.
  kUtfLenient = 1,
};

// Converts [*source, sourceEnd) into [*target, targetEnd), advancing both pointers over what was
// converted. A surrogate pair becomes one four-byte character.
Utf16ToUtf8Result Utf16ToUtf8(const char16_t** source, const char16_t* sourceEnd, uint8_t** target,
                              uint8_t* targetEnd, Utf16ToUtf8Mode mode);
