#include "region.h"

#include <algorithm>

namespace gdi_detail {

RECT Intersection(const RECT& a, const RECT& b)
{
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  return IsEmpty(r) ? RECT{} : r;
}

RECT Shifted(RECT r, int dx, int dy)
{
  auto move = [](LONG v, int d) { return Saturated(static_cast<int64_t>(v) + d); };
  return RECT{move(r.left, dx), move(r.top, dy), move(r.right, dx), move(r.bottom, dy)};
}

RECT SpanRect(int x, int y, int width, int height)
{
  int64_t right = static_cast<int64_t>(x) + width, bottom = static_cast<int64_t>(y) + height;
  return RECT{Saturated(std::min<int64_t>(x, right)), Saturated(std::min<int64_t>(y, bottom)),
              Saturated(std::max<int64_t>(x, right)), Saturated(std::max<int64_t>(y, bottom))};
}

bool Contains(const RECT& r, int x, int y)
{
  return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

void Subtract(Region& region, const RECT& cut)
{
  if (IsEmpty(cut))
    return;
  Region result;
  result.reserve(region.size() + 4);
  for (const RECT& r : region) {
    RECT overlap = Intersection(r, cut);
    if (IsEmpty(overlap)) {
      result.push_back(r);
      continue;
    }
    // Up to four pieces: the band above, the band below, and left and right of the overlap.
    if (r.top < overlap.top)
      result.push_back(RECT{r.left, r.top, r.right, overlap.top});
    if (overlap.bottom < r.bottom)
      result.push_back(RECT{r.left, overlap.bottom, r.right, r.bottom});
    if (r.left < overlap.left)
      result.push_back(RECT{r.left, overlap.top, overlap.left, overlap.bottom});
    if (overlap.right < r.right)
      result.push_back(RECT{overlap.right, overlap.top, r.right, overlap.bottom});
  }
  region.swap(result);
}

void IntersectWith(Region& region, const RECT& keep)
{
  Region result;
  for (const RECT& r : region) {
    RECT overlap = Intersection(r, keep);
    if (!IsEmpty(overlap))
      result.push_back(overlap);
  }
  region.swap(result);
}

Region Intersection(const Region& a, const Region& b)
{
  Region result;
  for (const RECT& ra : a)
    for (const RECT& rb : b) {
      RECT overlap = Intersection(ra, rb);
      if (!IsEmpty(overlap))
        result.push_back(overlap);
    }
  return result;
}

void Add(Region& region, const RECT& rect)
{
  if (IsEmpty(rect))
    return;
  Region pieces{rect};
  for (const RECT& r : region)
    Subtract(pieces, r);
  region.insert(region.end(), pieces.begin(), pieces.end());
}

void Shift(Region& region, int dx, int dy)
{
  for (RECT& r : region)
    r = Shifted(r, dx, dy);
}

RECT Bounds(const Region& region)
{
  RECT bounds{};
  for (const RECT& r : region) {
    if (IsEmpty(bounds)) {
      bounds = r;
      continue;
    }
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
  }
  return bounds;
}

bool RegionContains(const Region& region, int x, int y)
{
  for (const RECT& r : region)
    if (Contains(r, x, y))
      return true;
  return false;
}

}  // namespace gdi_detail
