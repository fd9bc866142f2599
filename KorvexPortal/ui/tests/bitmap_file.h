// Image files for the test resource libraries: a 24-bit BMP of one colour, optionally with a
// centred square of another.
#pragma once

#include <cstdint>
#include <string>

#include "windows.h"

namespace kvtest {

inline std::string BmpFile(int width, int height, COLORREF colour, int inner = 0, COLORREF innerColour = 0)
{
  int stride = (width * 3 + 3) & ~3;
  auto put32 = [](std::string& s, uint32_t v) {
    for (int i = 0; i < 4; ++i)
      s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  std::string file = "BM";
  put32(file, static_cast<uint32_t>(54 + stride * height));
  put32(file, 0);
  put32(file, 54);
  put32(file, 40);
  put32(file, static_cast<uint32_t>(width));
  put32(file, static_cast<uint32_t>(height));
  put32(file, 1 | (24 << 16));
  for (int i = 0; i < 6; ++i)
    put32(file, 0);
  int fromX = (width - inner) / 2, fromY = (height - inner) / 2;
  for (int y = height - 1; y >= 0; --y) {
    std::string line;
    for (int x = 0; x < width; ++x) {
      bool in = inner && x >= fromX && x < fromX + inner && y >= fromY && y < fromY + inner;
      COLORREF c = in ? innerColour : colour;
      line.push_back(static_cast<char>(GetBValue(c)));
      line.push_back(static_cast<char>(GetGValue(c)));
      line.push_back(static_cast<char>(GetRValue(c)));
    }
    line.resize(static_cast<size_t>(stride), '\0');
    file += line;
  }
  return file;
}

}  // namespace kvtest
