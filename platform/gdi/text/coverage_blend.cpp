#include "gdi/coverage_blend.h"

#include <algorithm>

namespace kv::fonts {
namespace {

int Channel(uint32_t pixel, int shift) { return static_cast<int>((pixel >> shift) & 0xFF); }

// a * c / 255, rounded, for a and c in 0..255.
int Scale(int a, int c) { return (a * c + 127) / 255; }

}  // namespace

uint32_t MixOverBackground(uint32_t text, uint32_t background, uint8_t coverage)
{
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int t = Channel(text, shift), b = Channel(background, shift);
    out |= static_cast<uint32_t>(b + Scale(coverage, t - b + 255) - coverage) << shift;
  }
  return out;
}

uint32_t BlendOntoPixel(uint32_t text, uint32_t pixel, uint8_t coverage)
{
  const int clear = 255 - coverage;
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int t = Channel(text, shift), p = Channel(pixel, shift);
    // The band a pixel may keep: as far from the text colour as mixing would leave black or white.
    int low = t - Scale(clear, t), high = t + Scale(clear, 255 - t);
    out |= static_cast<uint32_t>(std::clamp(p, low, high)) << shift;
  }
  return out;
}

}  // namespace kv::fonts
