#include "edit_text.h"

#include <string.h>

#include <algorithm>

namespace controls_detail {

void EditText::SetText(std::u16string_view text)
{
  Wipe();
  text_.assign(text);
  anchor_ = caret_ = 0;
}

void EditText::Select(size_t anchor, size_t caret)
{
  anchor_ = std::min(anchor, text_.size());
  caret_ = std::min(caret, text_.size());
}

size_t EditText::ReplaceSelection(std::u16string_view insertion, size_t limit, bool& truncated)
{
  size_t start = SelStart();
  size_t kept = text_.size() - (SelEnd() - start);
  size_t room = kept < limit ? limit - kept : 0;
  truncated = insertion.size() > room;
  std::u16string_view inserted = insertion.substr(0, std::min(insertion.size(), room));
  // Never split a line break.
  if (truncated && !inserted.empty() && inserted.back() == u'\r' && insertion.size() > inserted.size() &&
      insertion[inserted.size()] == u'\n')
    inserted.remove_suffix(1);
  size_t needed = kept + inserted.size();
  if (needed > text_.capacity()) {
    // Growing moves the text: the old memory is wiped before it is given back.
    std::u16string grown;
    grown.reserve(std::max(needed, 2 * text_.capacity()));
    grown.assign(text_);
    Wipe();
    text_.swap(grown);
  }
  text_.replace(start, SelEnd() - start, inserted);
  anchor_ = caret_ = start + inserted.size();
  return inserted.size();
}

size_t EditText::PositionBefore(size_t position) const
{
  if (position == 0)
    return 0;
  if (position >= 2 && text_[position - 1] == u'\n' && text_[position - 2] == u'\r')
    return position - 2;
  return position - 1;
}

size_t EditText::PositionAfter(size_t position) const
{
  if (position >= text_.size())
    return text_.size();
  if (text_[position] == u'\r' && position + 1 < text_.size() && text_[position + 1] == u'\n')
    return position + 2;
  return position + 1;
}

bool EditText::DeleteBackward()
{
  if (!HasSelection()) {
    if (caret_ == 0)
      return false;
    anchor_ = PositionBefore(caret_);
  }
  bool truncated = false;
  ReplaceSelection(u"", text_.size(), truncated);
  return true;
}

bool EditText::DeleteForward()
{
  if (!HasSelection()) {
    if (caret_ >= text_.size())
      return false;
    anchor_ = PositionAfter(caret_);
  }
  bool truncated = false;
  ReplaceSelection(u"", text_.size(), truncated);
  return true;
}

void EditText::MoveTo(size_t position, bool extend)
{
  caret_ = std::min(position, text_.size());
  if (!extend)
    anchor_ = caret_;
}

void EditText::Wipe()
{
  // All of the memory, with what deletions left behind the end; stores the compiler keeps.
  text_.resize(text_.capacity());
  explicit_bzero(text_.data(), text_.size() * sizeof(char16_t));
  text_.clear();
}

}  // namespace controls_detail
