// Regions as lists of disjoint rectangles: the clip of a device context and the update
// region of a window.
#pragma once

#include <vector>

#include "base/types.h"

namespace gdi_detail {

using Region = std::vector<RECT>;

inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
RECT Intersection(const RECT& a, const RECT& b);
RECT Shifted(RECT r, int dx, int dy);
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
