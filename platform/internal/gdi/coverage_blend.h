// 8-bit coverage of rendered text and how it meets the pixels under it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kv::fonts {

// Coverage of a rendered run: 0 (no ink) to 255 (full ink), one byte a pixel, rows top down.
// (left, top) place the mask relative to the run's origin: the pen's start at the top of the
// text cell.
struct CoverageMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Text over a known background (opaque mode): the text colour mixed with the background colour by
// coverage. Colours and the result are 0x00RRGGBB pixel values.
uint32_t MixOverBackground(uint32_t text, uint32_t background, uint8_t coverage);

// Text straight onto the pixels (transparent mode). Each channel of `pixel` is pulled into the band
// around the text colour that coverage allows: towards the text colour by the share the coverage
// gives of the distance to black or white. On black or white it equals ordinary mixing; on any
// pixel, applying it again changes nothing, so drawing the same text over itself again and again
// never thickens its edges.
uint32_t BlendOntoPixel(uint32_t text, uint32_t pixel, uint8_t coverage);

}  // namespace kv::fonts
