// A press of the stylus on a page: released on the thing it went down on, it is a tap on that
// thing; moved far enough first, it drags the page instead.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "windows.h"

namespace kv::html {

class StylusPress {
 public:
  explicit StylusPress(int dpi) : dragStart_(std::max(3, 5 * dpi / 96)) {}

  // The stylus went down at a point over `target` (-1: nothing) with the page at `scroll`.
  void Down(POINT at, int scroll, int target)
  {
    pressed_ = true;
    dragging_ = false;
    at_ = at;
    scroll_ = scroll;
    target_ = target;
  }
  // The scroll position a move drags the page to; nothing while it is no drag.
  std::optional<int> Move(POINT at)
  {
    if (!pressed_)
      return std::nullopt;
    const int dy = at.y - at_.y;
    if (!dragging_ && std::abs(dy) < dragStart_)
      return std::nullopt;
    dragging_ = true;
    return scroll_ - dy;
  }
  // The stylus lifted over `target`: the target tapped, or -1 when this was no tap on it.
  int Up(int target)
  {
    if (!pressed_)
      return -1;
    pressed_ = false;
    return dragging_ || target < 0 || target != target_ ? -1 : target;
  }
  void Cancel() { pressed_ = false; }

 private:
  int dragStart_;
  bool pressed_ = false;
  bool dragging_ = false;
  POINT at_{};
  int scroll_ = 0;
  int target_ = -1;
};

}  // namespace kv::html
