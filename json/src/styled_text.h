// The indented form shared by the styled writers. Arrays of scalars that fit within the right
// margin stay on one line; comments are written around their values.
#pragma once

#include <string>
#include <vector>

#include "json/value.h"
#include "text_out.h"

namespace Json {

class StyledText {
public:
  // With indentOnNewLine every indentation starts a new line, so nested containers open
  // below their member's name; otherwise a line ending in a blank is continued.
  StyledText(const std::u16string& indentUnit, bool indentOnNewLine);

  // Writes the text of the value followed by a line feed to `out` and flushes it.
  void write(const Value& root, TextSink& out);

private:
  void writeValue(const Value& value);
  void writeObject(const Value& value);
  void writeArray(const Value& value);
  bool isMultiLineArray(const Value& value);
  void pushValue(const WCHAR* text);
  void writeIndent();
  void writeWithIndent(const WCHAR* text, size_t length);
  void indent() { indentString_ += indentUnit_; }
  void unindent() { indentString_.resize(indentString_.size() - indentUnit_.size()); }
  void writeCommentBeforeValue(const Value& value);
  void writeCommentsAfterValue(const Value& value);
  // The child value of an array's element at that position, as rendered while deciding its layout.
  const WCHAR* childValue(size_t position) const { return childText_.data() + childStarts_[position]; }
  size_t childLength(size_t position) const { return childStarts_[position + 1] - childStarts_[position]; }

  // The single-line renderings of an array's elements, one after the other, and where each
  // starts (with the end of the last one after them).
  std::u16string childText_;
  std::vector<size_t> childStarts_;
  TextSink* out_ = nullptr;
  std::u16string indentString_;
  std::u16string indentUnit_;
  int rightMargin_ = 74;
  bool indentOnNewLine_;
  bool addChildValues_ = false;
};

}  // namespace Json
