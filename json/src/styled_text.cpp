#include "styled_text.h"

#include "containers.h"

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

// An array's element at an index, null where the array has none.
const Value& elementAt(const ArrayValues& elements, UInt index)
{
  const Value* element = elements.find(index);
  return element != nullptr ? *element : Value::null;
}

bool isNonEmptyContainer(const Value& value)
{
  return (value.type() == arrayValue || value.type() == objectValue) && !value.empty();
}

}  // namespace

StyledText::StyledText(const std::u16string& indentUnit, bool indentOnNewLine)
    : indentUnit_(indentUnit), indentOnNewLine_(indentOnNewLine)
{
}

void StyledText::write(const Value& root, TextSink& out)
{
  out_ = &out;
  indentString_.clear();
  addChildValues_ = false;
  writeCommentBeforeValue(root);
  writeValue(root);
  writeCommentsAfterValue(root);
  out.push_back(u'\n');
  out.flush();
  out_ = nullptr;
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
    default:
      if (addChildValues_) {
        appendScalar(childText_, value);
        childStarts_.push_back(childText_.size());
      } else {
        appendScalar(*out_, value);
      }
      break;
  }
}

void StyledText::writeObject(const Value& value)
{
  const ObjectValues& members = ContainerAccess::members(value);
  const size_t count = members.count();
  if (count == 0) {
    pushValue(u"{}");
    return;
  }
  writeWithIndent(u"{", 1);
  indent();
  for (size_t position = 0;;) {
    const Member& member = members.memberAt(position);
    const Value& child = member.value;
    writeCommentBeforeValue(child);
    writeIndent();
    appendQuoted(*out_, member.key.name());
    out_->append(u" : ", 3);
    writeValue(child);
    if (++position == count) {
      writeCommentsAfterValue(child);
      break;
    }
    out_->push_back(u',');
    writeCommentsAfterValue(child);
  }
  unindent();
  writeWithIndent(u"}", 1);
}

void StyledText::writeArray(const Value& value)
{
  const ArrayValues& elements = ContainerAccess::elements(value);
  const UInt size = value.size();
  if (size == 0) {
    pushValue(u"[]");
    return;
  }
  if (!isMultiLineArray(value)) {
    out_->append(u"[ ", 2);
    for (UInt index = 0; index < size; ++index) {
      if (index != 0) {
        out_->append(u", ", 2);
      }
      out_->append(childValue(index), childLength(index));
    }
    out_->append(u" ]", 2);
    return;
  }
  writeWithIndent(u"[", 1);
  indent();
  const bool hasChildValues = !childStarts_.empty();
  for (UInt index = 0;;) {
    const Value& child = elementAt(elements, index);
    writeCommentBeforeValue(child);
    if (hasChildValues) {
      writeWithIndent(childValue(index), childLength(index));
    } else {
      writeIndent();
      writeValue(child);
    }
    if (++index == size) {
      writeCommentsAfterValue(child);
      break;
    }
    out_->push_back(u',');
    writeCommentsAfterValue(child);
  }
  unindent();
  writeWithIndent(u"]", 1);
}

bool StyledText::isMultiLineArray(const Value& value)
{
  const ArrayValues& elements = ContainerAccess::elements(value);
  const UInt size = value.size();
  bool multiLine = static_cast<double>(size) * 3 >= rightMargin_;
  childText_.clear();
  childStarts_.clear();
  for (UInt index = 0; index < size && !multiLine; ++index) {
    multiLine = isNonEmptyContainer(elementAt(elements, index));
  }
  if (!multiLine) {
    childStarts_.push_back(0);
    addChildValues_ = true;
    for (UInt index = 0; index < size; ++index) {
      writeValue(elementAt(elements, index));
    }
    addChildValues_ = false;
    const size_t lineLength = 2 * static_cast<size_t>(size) + 2 + childText_.size();
    multiLine = lineLength >= static_cast<size_t>(rightMargin_);
  }
  return multiLine;
}

void StyledText::pushValue(const WCHAR* text)
{
  if (addChildValues_) {
    childText_ += text;
    childStarts_.push_back(childText_.size());
  } else {
    *out_ += text;
  }
}

void StyledText::writeIndent()
{
  if (indentOnNewLine_) {
    out_->push_back(u'\n');
  } else if (!out_->empty()) {
    const WCHAR last = out_->back();
    if (last == u' ') {
      return;
    }
    if (last != u'\n') {
      out_->push_back(u'\n');
    }
  }
  *out_ += indentString_;
}

void StyledText::writeWithIndent(const WCHAR* text, size_t length)
{
  writeIndent();
  out_->append(text, length);
}

void StyledText::writeCommentBeforeValue(const Value& value)
{
  if (value.hasComment(commentBefore)) {
    *out_ += normalizeLineEnds(value.getComment(commentBefore));
    out_->push_back(u'\n');
  }
}

void StyledText::writeCommentsAfterValue(const Value& value)
{
  if (value.hasComment(commentAfterOnSameLine)) {
    out_->push_back(u' ');
    *out_ += normalizeLineEnds(value.getComment(commentAfterOnSameLine));
  }
  if (value.hasComment(commentAfter)) {
    out_->push_back(u'\n');
    *out_ += normalizeLineEnds(value.getComment(commentAfter));
    out_->push_back(u'\n');
  }
}

}  // namespace Json
