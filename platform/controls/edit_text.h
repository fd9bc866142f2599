// The text of an edit control with its selection and limit (its lines are edit_lines.h).
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace controls_detail {

class EditText {
 public:
  EditText() = default;
  EditText(const EditText&) = delete;
  EditText& operator=(const EditText&) = delete;
  ~EditText() { Wipe(); }

  const std::u16string& Text() const { return text_; }
  size_t Anchor() const { return anchor_; }
  size_t Caret() const { return caret_; }
  size_t SelStart() const { return std::min(anchor_, caret_); }
  size_t SelEnd() const { return std::max(anchor_, caret_); }
  bool HasSelection() const { return anchor_ != caret_; }

  // Replaces the whole text; the caret goes to the start.
  void SetText(std::u16string_view text);
  // Selects [anchor, caret), both kept within the text; the caret is where the typing goes.
  void Select(size_t anchor, size_t caret);
  // Replaces the selection with as much of the insertion as the limit leaves room for and puts
  // the caret after it. Returns the number of characters inserted; truncated tells whether the
  // limit cut the insertion.
  size_t ReplaceSelection(std::u16string_view insertion, size_t limit, bool& truncated);
  // Deletes the selection, or else the character (a line break counts as one) before or after
  // the caret. Returns whether anything was deleted.
  bool DeleteBackward();
  bool DeleteForward();

  // Caret movement; extend keeps the anchor (a selection grows), else the selection collapses.
  void MoveTo(size_t position, bool extend);
  size_t PositionBefore(size_t position) const;
  size_t PositionAfter(size_t position) const;

  // Overwrites the text's memory (all of it, past the end too) and empties the text. The text
  // never moves in memory without its old place being wiped.
  void Wipe();

 private:
  std::u16string text_;
  size_t anchor_ = 0;
  size_t caret_ = 0;
};

}  // namespace controls_detail
