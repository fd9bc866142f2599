#include "scroll_data.h"

#include <algorithm>

namespace controls_detail {

int ScrollData::MaxPos() const
{
  long long highest = static_cast<long long>(max) - (page > 0 ? static_cast<long long>(page) - 1 : 0);
  return static_cast<int>(std::max<long long>(min, highest));
}

bool ScrollData::CanScroll() const
{
  return MaxPos() > min;
}

int ScrollData::Apply(const SCROLLINFO& info)
{
  if (info.fMask & SIF_RANGE) {
    min = info.nMin;
    max = std::max(info.nMin, info.nMax);
  }
  if (info.fMask & SIF_PAGE)
    page = info.nPage;
  if (info.fMask & SIF_POS)
    pos = info.nPos;
  long long span = static_cast<long long>(max) - min + 1;
  if (static_cast<long long>(page) > span)
    page = static_cast<UINT>(span);
  pos = std::clamp(pos, min, MaxPos());
  return pos;
}

void ScrollData::Fill(SCROLLINFO& info) const
{
  if (info.fMask & SIF_RANGE) {
    info.nMin = min;
    info.nMax = max;
  }
  if (info.fMask & SIF_PAGE)
    info.nPage = page;
  if (info.fMask & SIF_POS)
    info.nPos = pos;
  if (info.fMask & SIF_TRACKPOS)
    info.nTrackPos = trackPos;
}

}  // namespace controls_detail
