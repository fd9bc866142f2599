// The device's ANSI code page 936 as lookup tables, built once per process from the C library's
// iconv converter.
#pragma once

#include <cstdint>

namespace kv::text {

struct GbkTable {
  // The UTF-16 unit of a single byte (0 when the byte is not a character by itself; 0x00 itself
  // maps to 0 as well) and of a lead/trail pair (0 when undefined).
  char16_t single[256];
  char16_t pair[126][191];  // [lead - 0x81][trail - 0x40]
  // The bytes of each UTF-16 unit: 0 when unmappable, a value below 0x100 for one byte, else
  // lead << 8 | trail.
  uint16_t encode[65536];

  static const GbkTable& Get();

  static bool IsLead(uint8_t b) { return b >= 0x81 && b <= 0xFE; }
  static bool IsTrail(uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
};

}  // namespace kv::text
