// Drawing for the text engine: coverage masks and opaque fills through a device context.
#include "internal/gdi/coverage_blend.h"
#include "internal/gdi/device_context.h"
#include "painter.h"

#include <cstring>

using namespace gdi_detail;

bool gdi_dc::BlendCoverage(HDC dc, int x, int y, const uint8_t* mask, int width, int height, int stride,
                           COLORREF color)
{
  if (!mask || width < 0 || height < 0 || stride < width)
    return false;
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return false;
  const uint32_t text = ToPixel(color & 0xFFFFFF);
  RECT area = Shifted(SpanRect(x, y, width, height), target.shift.x, target.shift.y);
  // Far off the surface: nothing to draw, and the mask offsets below stay small.
  if (area.right - int64_t{area.left} != width || area.bottom - int64_t{area.top} != height)
    return true;
  ForEachClipped(target, area, [&](const RECT& part) {
    for (int sy = part.top; sy < part.bottom; ++sy) {
      const uint8_t* coverage = mask + static_cast<size_t>(sy - area.top) * static_cast<size_t>(stride);
      uint32_t* row = target.surface->Row(sy);
      for (int sx = part.left; sx < part.right; ++sx) {
        // Most of a mask is blank: pass over eight clear pixels at a time.
        uint64_t eight;
        if (part.right - sx >= 8 && (std::memcpy(&eight, coverage + (sx - area.left), 8), eight == 0)) {
          sx += 7;
          continue;
        }
        uint32_t a = coverage[sx - area.left];
        if (a == 0)
          continue;
        uint32_t p = row[sx];
        // Blending the same coverage again leaves the pixel as it is: text drawn over itself
        // never thickens.
        row[sx] = (p & 0xFF000000) | (a == 255 ? text : kv::fonts::BlendOntoPixel(text, p & 0xFFFFFF, static_cast<uint8_t>(a)));
      }
    }
  });
  return true;
}

bool gdi_dc::FillRectangle(HDC dc, const RECT& rect, COLORREF color)
{
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return false;
  uint32_t pixel = ToPixel(color);
  ForEachClipped(target, Shifted(rect, target.shift.x, target.shift.y),
                 [&](const RECT& part) { FillSolid(*target.surface, part, pixel); });
  return true;
}
