// What the reader keeps beside the values: comments, and error records with their positions.
#include "json/reader.h"
#include "text/format.h"

namespace Json {

bool Reader::readComment()
{
  const WCHAR* commentBegin = current_ - 1;
  WCHAR c = getNextChar();
  bool ok = false;
  bool isBlock = c == u'*';
  if (isBlock) {
    ok = readCStyleComment();
  } else if (c == u'/') {
    readCppStyleComment();
    ok = true;
  }
  if (ok && collectComments_) {
    addComment(commentBegin, current_, isBlock);
  }
  return ok;
}

bool Reader::readCStyleComment()
{
  while (current_ != end_) {
    WCHAR c = getNextChar();
    if (c == u'*' && current_ != end_ && *current_ == u'/') {
      break;
    }
  }
  return getNextChar() == u'/';
}

void Reader::readCppStyleComment()
{
  while (current_ != end_) {
    WCHAR c = getNextChar();
    if (c == u'\r' || c == u'\n') {
      break;
    }
  }
}

bool Reader::containsNewLine(const WCHAR* begin, const WCHAR* end)
{
  for (; begin < end; ++begin) {
    if (*begin == u'\n' || *begin == u'\r') {
      return true;
    }
  }
  return false;
}

void Reader::addComment(const WCHAR* begin, const WCHAR* end, bool isBlock)
{
  bool sameLine = lastValueEnd_ != nullptr && !containsNewLine(lastValueEnd_, begin) &&
                  !(isBlock && containsNewLine(begin, end));
  if (sameLine) {
    lastValue_->setComment(std::u16string(begin, end), commentAfterOnSameLine);
    return;
  }
  if (!commentsBefore_.empty()) {
    commentsBefore_.push_back(u'\n');
  }
  commentsBefore_.append(begin, end);
}

bool Reader::addError(const std::u16string& message, const Token& token, const WCHAR* extra)
{
  errors_.push_back(ErrorInfo{token, message, extra});
  return false;
}

bool Reader::recoverFromError(TokenType skipUntil)
{
  size_t errorCount = errors_.size();
  Token skip;
  do {
    readToken(skip);
  } while (skip.type != skipUntil && skip.type != tokenEndOfStream);
  errors_.resize(errorCount);
  return false;
}

bool Reader::addErrorAndRecover(const std::u16string& message, const Token& token, TokenType skipUntil)
{
  addError(message, token);
  return recoverFromError(skipUntil);
}

std::u16string Reader::positionText(const WCHAR* location) const
{
  int line = 1;
  const WCHAR* lineStart = begin_;
  for (const WCHAR* current = begin_; current < location && current != end_;) {
    WCHAR c = *current++;
    if (c == u'\r' && current != end_ && *current == u'\n') {
      ++current;
    }
    if (c == u'\r' || c == u'\n') {
      lineStart = current;
      ++line;
    }
  }
  WCHAR text[64];
  int length = swprintf(text, u"Line %d, Column %d", line, static_cast<int>(location - lineStart) + 1);
  return std::u16string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::u16string Reader::formatErrors() const
{
  std::u16string text;
  for (const ErrorInfo& error : errors_) {
    text += u"* ";
    text += positionText(error.token.start);
    text += u"\n  ";
    text += error.message;
    text.push_back(u'\n');
    if (error.extra != nullptr) {
      text += u"See ";
      text += positionText(error.extra);
      text += u" for detail.\n";
    }
  }
  return text;
}

}  // namespace Json
