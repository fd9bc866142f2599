// The values of one scroll bar and the platform's rules for setting them.
#pragma once

#include "windows.h"

namespace controls_detail {

struct ScrollData {
  int min = 0;
  int max = 0;
  UINT page = 0;
  int pos = 0;
  int trackPos = 0;

  // Sets the parts named by info.fMask, then keeps the page within the range's size and the
  // position within [min, max - page + 1]. Returns the new position.
  int Apply(const SCROLLINFO& info);
  void Fill(SCROLLINFO& info) const;
  // The highest position the thumb can reach.
  int MaxPos() const;
  // Whether the range allows any scrolling at all.
  bool CanScroll() const;
};

}  // namespace controls_detail
