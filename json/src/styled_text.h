// The indented form shared by the styled writers. Arrays of scalars that fit within the right
// margin stay on one line; comments are written around their values.
#pragma once

#include <string>
#include <vector>

#include "json/value.h"

namespace Json {

class StyledText {
public:
  // With indentOnNewLine every indentation starts a new line, so nested containers open
  // below their member's name; otherwise a line ending in a blank is continued.
  StyledText(const std::u16string& indentUnit, bool indentOnNewLine);

  // The text of the value followed by a line feed.
  std::u16string write(const Value& root);

private:
  void writeValue(const Value& value);
  void writeObject(const Value& value);
  void writeArray(const Value& value);
  bool isMultiLineArray(const Value& value);
  void pushValue(const std::u16string& text);
  void writeIndent();
  void writeWithIndent(const std::u16string& text);
  void indent() { indentString_ += indentUnit_; }
  void unindent() { indentString_.resize(indentString_.size() - indentUnit_.size()); }
  void writeCommentBeforeValue(const Value& value);
  void writeCommentsAfterValue(const Value& value);

  std::vector<std::u16string> childValues_;
  std::u16string document_;
  std::u16string indentString_;
  std::u16string indentUnit_;
  int rightMargin_ = 74;
  bool indentOnNewLine_;
  bool addChildValues_ = false;
};

}  // namespace Json
