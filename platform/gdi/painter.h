// The painter: every drawing call resolves its device context to a Target (surface, clip,
// origin) and draws through these helpers, which walk the clip's rectangles and hand each
// primitive an area already inside the clip and the surface. Primitives never clip.
#pragma once

#include "objects_internal.h"

namespace gdi_detail {

// Calls draw(rect) for each part of `area` (surface coordinates) inside the clip.
template <class Draw>
void ForEachClipped(const Target& target, const RECT& area, Draw draw)
{
  for (const RECT& clip : target.clip) {
    RECT part = Intersection(clip, area);
    if (!IsEmpty(part))
      draw(part);
  }
}

// Primitives on an area inside the surface.
void FillSolid(Surface& surface, const RECT& part, uint32_t pixel);
// Tiles the pattern so that its top-left pixel falls on `origin` (surface coordinates).
void FillPattern(Surface& surface, const RECT& part, const Surface& pattern, POINT origin);
void InvertArea(Surface& surface, const RECT& part);

// Fills a logical rectangle with a brush (nothing for a null brush).
void FillWithBrush(Target& target, const RECT& logical, const Brush& brush);
// The surface pixel under a logical point; null outside the clip.
uint32_t* PixelAt(const Target& target, int x, int y);

}  // namespace gdi_detail
