// 8-bit coverage of rendered text and how it meets the pixels under it. The pixel rules are
// inline so that the drawing core can apply them without linking the text engine.
#pragma once

#include <algorithm>
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

namespace blend_detail {
inline int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }
// a * c / 255, rounded, for a and c in 0..255.
inline int Scale(int a, int c) { return (a * c + 127) / 255; }
}  // namespace blend_detail

// Text over a known background: the text colour mixed with the background colour by coverage.
// Colours and the result are 0x00RRGGBB pixel values.
inline uint32_t MixOverBackground(uint32_t text, uint32_t background, uint8_t coverage)
{
  using namespace blend_detail;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int t = Channel(text, shift), b = Channel(background, shift);
    out |= static_cast<uint32_t>(b + Scale(coverage, t - b + 255) - coverage) << shift;
  }
  return out;
}

// Text straight onto the pixels (transparent mode). Each channel of `pixel` is pulled into the band
// around the text colour that coverage allows: as far from the text colour as mixing would leave
// black or white. On black or white it equals ordinary mixing; on any pixel, applying it again
// changes nothing, so drawing the same text over itself again and again never thickens its edges.
inline uint32_t BlendOntoPixel(uint32_t text, uint32_t pixel, uint8_t coverage)
{
  using namespace blend_detail;
  const int clear = 255 - coverage;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int t = Channel(text, shift), p = Channel(pixel, shift);
    int low = t - Scale(clear, t), high = t + Scale(clear, 255 - t);
    out |= static_cast<uint32_t>(std::clamp(p, low, high)) << shift;
  }
  return out;
}

}  // namespace kv::fonts
