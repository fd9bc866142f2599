#include "wildcard.h"

#include "kernel/device_root.h"

namespace device {

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name)
{
  if (pattern == u"*.*") {
    pattern = u"*";
  }
  // Greedy matching that backtracks to the last star.
  size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || SameName(pattern.substr(p, 1), name.substr(n, 1)))) {
      ++p;
      ++n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') {
    ++p;
  }
  return p == pattern.size();
}

}  // namespace device
