// The node interface of the regular-expression engine. Nodes keep no state while matching:
// whatever a node needs to undo or retry its latest match it pushes onto the backtrack stack
// of the match state, so one compiled pattern serves any number of matches.
#pragma once

#include "regex_extent.h"
#include "regex_first.h"
#include "regex_match_state.h"

template <typename CharT>
class CRegexNode {
 public:
  // Tries to match at the current position. On success leaves the position after what was
  // consumed and exactly what Backtrack will pop on the backtrack stack; on failure leaves the
  // position and both stacks as they were.
  virtual bool Match(CMatchState<CharT>& state) const = 0;
  // Undoes the latest successful Match and looks for the node's next way of matching: true
  // with that match in place, or false with everything of the old match undone.
  virtual bool Backtrack(CMatchState<CharT>& state) const = 0;
  // What every successful match of the node consumes (by default: nothing known).
  virtual CRegexExtent Measure() const { return CRegexExtent::Unknown(); }
  // The characters a match of the node can begin with (by default: any, or none).
  virtual CRegexFirst<CharT> First() const { return CRegexFirst<CharT>::Anything(); }
  // Called once on every node when the whole tree is built and resolved.
  virtual void Prepare() {}
  // Nodes are deleted only by the node pool of the pattern that created them.
  virtual ~CRegexNode() = default;
};
