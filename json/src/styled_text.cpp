#include "styled_text.h"

#include "text_out.h"

namespace Json {

namespace {

// Every CR LF pair and every lone CR becomes one LF.
std::u16string normalizeLineEnds(const std::u16string& text)
{
  std::u16string normalized;
  normalized.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    WCHAR c = text[i];
    if (c == u'\r') {
      if (i + 1 < text.size() && text[i + 1] == u'\n') {
        ++i;
      }
      c = u'\n';
    }
    normalized.push_back(c);
  }
  return normalized;
}

}  // namespace

StyledText::StyledText(const std::u16string& indentUnit, bool indentOnNewLine)
    : indentUnit_(indentUnit), indentOnNewLine_(indentOnNewLine)
{
}

std::u16string StyledText::write(const Value& root)
{
  document_.clear();
  indentString_.clear();
  addChildValues_ = false;
  writeCommentBeforeValue(root);
  writeValue(root);
  writeCommentsAfterValue(root);
  document_.push_back(u'\n');
  return document_;
}

void StyledText::writeValue(const Value& value)
{
  switch (value.type()) {
    case arrayValue:
      writeArray(value);
      break;
    case objectValue:
      writeObject(value);
      break;
    default: {
      std::u16string text;
      appendScalar(text, value);
      pushValue(text);
      break;
    }
  }
}

void StyledText::writeObject(const Value& value)
{
  if (value.empty()) {
    pushValue(u"{}");
    return;
  }
  writeWithIndent(u"{");
  indent();
  for (auto member = value.begin(); member != value.end();) {
    const Value& child = *member;
    writeCommentBeforeValue(child);
    writeIndent();
    appendQuoted(document_, member.memberName());
    document_ += u" : ";
    writeValue(child);
    if (++member == value.end()) {
      writeCommentsAfterValue(child);
      break;
    }
    document_.push_back(u',');
    writeCommentsAfterValue(child);
  }
  unindent();
  writeWithIndent(u"}");
}

void StyledText::writeArray(const Value& value)
{
  UInt size = value.size();
  if (size == 0) {
    pushValue(u"[]");
    return;
  }
  if (!isMultiLineArray(value)) {
    document_ += u"[ ";
    for (UInt index = 0; index < size; ++index) {
      if (index != 0) {
        document_ += u", ";
      }
      document_ += childValues_[index];
    }
    document_ += u" ]";
    return;
  }
  writeWithIndent(u"[");
  indent();
  bool hasChildValues = !childValues_.empty();
  for (UInt index = 0;;) {
    const Value& child = value[index];
    writeCommentBeforeValue(child);
    if (hasChildValues) {
      writeWithIndent(childValues_[index]);
    } else {
      writeIndent();
      writeValue(child);
    }
    if (++index == size) {
      writeCommentsAfterValue(child);
      break;
    }
    document_.push_back(u',');
    writeCommentsAfterValue(child);
  }
  unindent();
  writeWithIndent(u"]");
}

bool StyledText::isMultiLineArray(const Value& value)
{
  UInt size = value.size();
  bool multiLine = static_cast<double>(size) * 3 >= rightMargin_;
  childValues_.clear();
  for (UInt index = 0; index < size && !multiLine; ++index) {
    const Value& child = value[index];
    multiLine = (child.type() == arrayValue || child.type() == objectValue) && !child.empty();
  }
  if (!multiLine) {
    childValues_.reserve(size);
    addChildValues_ = true;
    size_t lineLength = 2 * static_cast<size_t>(size) + 2;
    for (UInt index = 0; index < size; ++index) {
      writeValue(value[index]);
      lineLength += childValues_[index].size();
    }
    addChildValues_ = false;
    multiLine = lineLength >= static_cast<size_t>(rightMargin_);
  }
  return multiLine;
}

void StyledText::pushValue(const std::u16string& text)
{
  if (addChildValues_) {
    childValues_.push_back(text);
  } else {
    document_ += text;
  }
}

void StyledText::writeIndent()
{
  if (!indentOnNewLine_ && !document_.empty()) {
    WCHAR last = document_.back();
    if (last == u' ') {
      return;
    }
    if (last != u'\n') {
      document_.push_back(u'\n');
    }
  } else if (indentOnNewLine_) {
    document_.push_back(u'\n');
  }
  document_ += indentString_;
}

void StyledText::writeWithIndent(const std::u16string& text)
{
  writeIndent();
  document_ += text;
}

void StyledText::writeCommentBeforeValue(const Value& value)
{
  if (value.hasComment(commentBefore)) {
    document_ += normalizeLineEnds(value.getComment(commentBefore));
    document_.push_back(u'\n');
  }
}

void StyledText::writeCommentsAfterValue(const Value& value)
{
  if (value.hasComment(commentAfterOnSameLine)) {
    document_.push_back(u' ');
    document_ += normalizeLineEnds(value.getComment(commentAfterOnSameLine));
  }
  if (value.hasComment(commentAfter)) {
    document_.push_back(u'\n');
    document_ += normalizeLineEnds(value.getComment(commentAfter));
    document_.push_back(u'\n');
  }
}

}  // namespace Json
