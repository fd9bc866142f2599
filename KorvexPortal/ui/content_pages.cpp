// Page building for a dialog's content.
#include "content_pages.h"

#include <algorithm>
#include <numeric>

namespace {

struct Band {
  int top;
  int bottom;
  bool Holds(const Band& other) const { return top <= other.top && other.bottom <= bottom; }
};

// The controls' vertical extents, sorted by bottom, with every band that lies inside another
// dropped. Without nested bands the tops are sorted too.
std::vector<Band> MakeBands(const std::vector<RECT>& controls, int visibleHeight)
{
  std::vector<Band> bands;
  for (const RECT& control : controls) {
    Band band{control.top, std::min<int>(control.bottom, control.top + visibleHeight)};
    if (std::any_of(bands.begin(), bands.end(), [&](const Band& existing) { return existing.Holds(band); }))
      continue;
    std::erase_if(bands, [&](const Band& existing) { return band.Holds(existing); });
    auto at = std::upper_bound(bands.begin(), bands.end(), band,
                               [](const Band& a, const Band& b) { return a.bottom < b.bottom; });
    bands.insert(at, band);
  }
  return bands;
}

}  // namespace

std::vector<int> BuildContentPages(const std::vector<RECT>& controls, const RECT& visible)
{
  const int height = visible.bottom - visible.top;
  std::vector<int> pages{0};
  std::vector<Band> bands = MakeBands(controls, height);
  if (bands.empty() || height <= 0)
    return pages;

  int pageStart = visible.top;
  for (const Band& band : bands) {
    bool outside = band.bottom > pageStart + height || band.top < pageStart;
    // A page starts at a band's top; content above the first page (over the title strip) starts
    // none, since a page never has a height of 0 or less.
    if (outside && band.top > pageStart) {
      pages.push_back(band.top - pageStart);
      pageStart = band.top;
    }
  }

  // The last page scrolls only as far as the lowest content needs.
  if (pages.size() > 1) {
    int lowest = 0;
    for (const Band& band : bands)
      lowest = std::max(lowest, band.bottom);
    int lastViewBottom = pageStart + height;
    if (lowest < lastViewBottom)
      pages.back() -= lastViewBottom - lowest;
  }
  return pages;
}

int FindContentPage(const std::vector<int>& pages, const RECT& visible, const RECT& target)
{
  const int height = visible.bottom - visible.top;
  int targetBottom = std::min<int>(target.bottom, target.top + height);
  int offset = 0;
  for (size_t k = 0; k < pages.size(); ++k) {
    if (k > 0)
      offset += pages[k];
    if (target.top >= visible.top + offset && targetBottom <= visible.bottom + offset)
      return static_cast<int>(k);
  }
  return 0;
}

int ContentPagePosition(const std::vector<int>& pages, int page)
{
  int count = std::clamp(page + 1, 0, static_cast<int>(pages.size()));
  return std::accumulate(pages.begin(), pages.begin() + count, 0);
}

int ContentPageAt(const std::vector<int>& pages, int position)
{
  int sum = 0;
  for (size_t k = 0; k < pages.size(); ++k) {
    sum += pages[k];
    if (sum >= position)
      return static_cast<int>(k);
  }
  return pages.empty() ? 0 : static_cast<int>(pages.size()) - 1;
}
