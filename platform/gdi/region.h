// Regions as lists of disjoint rectangles: the clip of a device context and the update
// region of a window.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "base/types.h"

namespace gdi_detail {

using Region = std::vector<RECT>;

inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
// A coordinate worked out in 64 bits, held to the range of int: geometry far off the surface
// stays far off instead of wrapping round onto it.
inline int Saturated(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX)); }
RECT Intersection(const RECT& a, const RECT& b);
// Moved by (dx, dy); coordinates saturate.
RECT Shifted(RECT r, int dx, int dy);
// The rectangle from (x, y) across width and height, either of which may be negative.
RECT SpanRect(int x, int y, int width, int height);
bool Contains(const RECT& r, int x, int y);

void Subtract(Region& region, const RECT& cut);
void IntersectWith(Region& region, const RECT& keep);
Region Intersection(const Region& a, const Region& b);
// Adds the part of the rectangle the region does not hold yet.
void Add(Region& region, const RECT& rect);
void Shift(Region& region, int dx, int dy);
RECT Bounds(const Region& region);
bool RegionContains(const Region& region, int x, int y);

}  // namespace gdi_detail
