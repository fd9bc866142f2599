// Writers of small image files for the decoder tests, so the tests carry no binary files.
#pragma once

#include <cstdint>
#include <vector>

namespace kvtest {

using Bytes = std::vector<uint8_t>;

// Pixels are 0xAARRGGBB, rows top down.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// A picture whose every pixel differs from its neighbours: opaque, colours from x and y.
Picture Pattern(int width, int height);

Bytes WritePng(const Picture& picture, bool alpha);
Bytes WriteJpeg(const Picture& picture, bool progressive);

// An indexed GIF of `indices` (one byte a pixel) with `palette` (0x00RRGGBB); `transparent` is the
// transparent index or -1.
Bytes WriteGif(int width, int height, const std::vector<uint8_t>& indices, const std::vector<uint32_t>& palette,
               int transparent, bool interlaced);

// A BMP with a 40-byte header (or a 12-byte core header) at `bits` 1, 4, 8 (palette given), 24 or
// 32; `topDown` writes a negative height.
Bytes WriteBmp(const Picture& picture, int bits, bool topDown, const std::vector<uint32_t>& palette = {},
               bool coreHeader = false);

}  // namespace kvtest
