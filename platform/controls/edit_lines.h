// The lines an edit shows its text in. A multi-line edit breaks its text at line breaks ("\r\n"
// or "\n") and, when it wraps, also where a line would be wider than the edit, by the rules of
// DrawText's word break (after spaces, between ideographs, never before closing punctuation). Its
// painting, its scroll bar, the caret's keys and taps, and the line messages all read these lines.
#pragma once

#include <algorithm>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace controls_detail {

class EditLines {
 public:
  struct Line {
    size_t start = 0;
    size_t length = 0;     // a line break is not part of its line; the spaces at a wrap are
    bool wrapped = false;  // ends where the edit wrapped the text, not at a line break
    size_t End() const { return start + length; }
  };
  // The advance of each unit of a text in the edit's font.
  using Measure = std::function<void(std::u16string_view text, std::span<int> advances)>;

  // One line holding the whole text (a single-line edit).
  void Keep(std::u16string_view text);
  // Lines ending at the line breaks, and with a measure, also wherever a line would be wider than
  // `width`.
  void Break(std::u16string_view text, const Measure& measure, int width);

  size_t Count() const { return lines_.size(); }
  // The line; the last one for an index past the end.
  const Line& operator[](size_t index) const { return lines_[std::min(index, lines_.size() - 1)]; }
  // The line a position is on: a position where the text wrapped starts the next line.
  size_t LineOf(size_t position) const;

 private:
  std::vector<Line> lines_{Line{}};
};

}  // namespace controls_detail
