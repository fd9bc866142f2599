#include "painter.h"

#include <algorithm>

namespace gdi_detail {

void FillSolid(Surface& surface, const RECT& part, uint32_t pixel)
{
  for (int y = part.top; y < part.bottom; ++y)
    std::fill(surface.Row(y) + part.left, surface.Row(y) + part.right, pixel);
}

void FillPattern(Surface& surface, const RECT& part, const Surface& pattern, POINT origin)
{
  auto wrap = [](int64_t value, int size) { return static_cast<int>(((value % size) + size) % size); };
  for (int y = part.top; y < part.bottom; ++y) {
    const uint32_t* source = pattern.Row(wrap(int64_t{y} - origin.y, pattern.height));
    uint32_t* out = surface.Row(y) + part.left;
    uint32_t* const end = surface.Row(y) + part.right;
    // Whole runs of the pattern's row, the first one entered part way.
    int sx = wrap(int64_t{part.left} - origin.x, pattern.width);
    while (out != end) {
      int64_t run = std::min<int64_t>(pattern.width - sx, end - out);
      out = std::copy_n(source + sx, run, out);
      sx = 0;
    }
  }
}

void InvertArea(Surface& surface, const RECT& part)
{
  for (int y = part.top; y < part.bottom; ++y)
    for (uint32_t* p = surface.Row(y) + part.left; p != surface.Row(y) + part.right; ++p)
      *p ^= 0x00FFFFFF;
}

void FillWithBrush(Target& target, const RECT& logical, const Brush& brush)
{
  if (brush.style == BS_NULL)
    return;
  RECT area = Shifted(logical, target.shift.x, target.shift.y);
  if (brush.style == BS_PATTERN && brush.pattern) {
    // Pattern brushes tile from the brush origin, which is in the DC's device coordinates.
    POINT origin{Saturated(int64_t{target.dcOrigin.x} + target.dc->state.brushOrigin.x),
                 Saturated(int64_t{target.dcOrigin.y} + target.dc->state.brushOrigin.y)};
    ForEachClipped(target, area, [&](const RECT& part) { FillPattern(*target.surface, part, *brush.pattern, origin); });
    return;
  }
  uint32_t pixel = ToPixel(brush.color);
  ForEachClipped(target, area, [&](const RECT& part) { FillSolid(*target.surface, part, pixel); });
}

uint32_t* PixelAt(const Target& target, int x, int y)
{
  // A saturated coordinate lies off the surface, so off the clip.
  int sx = Saturated(int64_t{x} + target.shift.x), sy = Saturated(int64_t{y} + target.shift.y);
  return RegionContains(target.clip, sx, sy) ? target.surface->Row(sy) + sx : nullptr;
}

}  // namespace gdi_detail
