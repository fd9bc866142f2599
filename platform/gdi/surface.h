// A 32-bit surface: pixels 0xAARRGGBB (blue first in memory), rows top-down or bottom-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/types.h"

namespace gdi_detail {

struct Surface {
  int width = 0;
  int height = 0;
  uint32_t* bits = nullptr;  // the pixel memory as callers see it (first row in memory)
  bool bottomUp = false;     // row 0 is the last row in memory
  std::vector<uint32_t> storage;

  // Owns cleared memory of the size given.
  void Allocate(int w, int h, bool rowsBottomUp = false)
  {
    width = w;
    height = h;
    bottomUp = rowsBottomUp;
    storage.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    bits = storage.data();
  }
  uint32_t* Row(int y) const
  {
    size_t row = static_cast<size_t>(bottomUp ? height - 1 - y : y);
    return bits + row * static_cast<size_t>(width);
  }
  RECT Bounds() const { return RECT{0, 0, width, height}; }
};

inline uint32_t ToPixel(COLORREF color)
{
  return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

inline COLORREF ToColor(uint32_t pixel)
{
  return ((pixel & 0xFF) << 16) | (pixel & 0xFF00) | ((pixel >> 16) & 0xFF);
}

}  // namespace gdi_detail
