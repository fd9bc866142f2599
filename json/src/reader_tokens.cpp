// Tokens, comments, error records and error positions of the reader.
#include "json/reader.h"
#include "text/format.h"

namespace Json {

void Reader::readTokenSkippingComments(Token& token)
{
  do {
    readToken(token);
  } while (token.type == tokenComment);
}

void Reader::readToken(Token& token)
{
  skipSpaces();
  token.start = current_;
  WCHAR c = getNextChar();
  bool ok = true;
  switch (c) {
    case 0: token.type = tokenEndOfStream; break;
    case u'{': token.type = tokenObjectBegin; break;
    case u'}': token.type = tokenObjectEnd; break;
    case u'[': token.type = tokenArrayBegin; break;
    case u']': token.type = tokenArrayEnd; break;
    case u',': token.type = tokenArraySeparator; break;
    case u':': token.type = tokenMemberSeparator; break;
    case u'"':
      token.type = tokenString;
      ok = readString();
      break;
    case u'/':
      token.type = tokenComment;
      ok = readComment();
      break;
    case u'-':
    case u'0': case u'1': case u'2': case u'3': case u'4':
    case u'5': case u'6': case u'7': case u'8': case u'9':
      token.type = tokenNumber;
      readNumber();
      break;
    case u't':
      token.type = tokenTrue;
      ok = match(u"rue", 3);
      break;
    case u'f':
      token.type = tokenFalse;
      ok = match(u"alse", 4);
      break;
    case u'n':
      token.type = tokenNull;
      ok = match(u"ull", 3);
      break;
    default:
      ok = false;
      break;
  }
  if (!ok) {
    token.type = tokenError;
  }
  token.end = current_;
}

void Reader::skipSpaces()
{
  while (current_ != end_) {
    WCHAR c = *current_;
    if (c != u' ' && c != u'\t' && c != u'\r' && c != u'\n') {
      break;
    }
    ++current_;
  }
}

bool Reader::match(const WCHAR* pattern, int length)
{
  if (end_ - current_ < length) {
    return false;
  }
  for (int i = 0; i < length; ++i) {
    if (current_[i] != pattern[i]) {
      return false;
    }
  }
  current_ += length;
  return true;
}

bool Reader::readString()
{
  WCHAR c = 0;
  while (current_ != end_) {
    c = getNextChar();
    if (c == u'\\') {
      getNextChar();
    } else if (c == u'"') {
      return true;
    }
  }
  return false;
}

void Reader::readNumber()
{
  while (current_ != end_) {
    WCHAR c = *current_;
    if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u'e' || c == u'E' || c == u'+' || c == u'-')) {
      break;
    }
    ++current_;
  }
}

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
