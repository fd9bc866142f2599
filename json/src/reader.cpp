// A recursive-descent reader over UTF-16 text. After an error inside an array or object it
// skips to the next closing token of that kind, so one parse yields one list of errors.
#include "json/reader.h"

#include <algorithm>
#include <string>

#include "text/widechar.h"

namespace Json {

namespace {

bool isDigit(WCHAR c)
{
  return c >= u'0' && c <= u'9';
}

std::u16string notANumber(const WCHAR* start, const WCHAR* end)
{
  std::u16string message(u"'");
  message.append(start, end);
  message += u"' is not a number.";
  return message;
}

}  // namespace

bool Reader::parse(const std::u16string& document, Value& root, bool collectComments)
{
  document_ = document;
  return parse(document_.data(), document_.data() + document_.size(), root, collectComments);
}

bool Reader::parse(const WCHAR* begin, const WCHAR* end, Value& root, bool collectComments)
{
  collectComments_ = collectComments;
  begin_ = begin;
  end_ = end;
  current_ = begin;
  lastValueEnd_ = nullptr;
  lastValue_ = nullptr;
  commentsBefore_.clear();
  errors_.clear();
  nodes_.clear();
  root = Value();
  nodes_.push_back(&root);

  bool successful = readValue(0);
  Token token;
  readTokenSkippingComments(token);  // whatever follows the root is ignored
  if (collectComments_ && !commentsBefore_.empty()) {
    root.setComment(commentsBefore_, commentAfter);
  }
  nodes_.clear();
  lastValue_ = nullptr;
  return successful;
}

bool Reader::readValue(int depth)
{
  Token token;
  readTokenSkippingComments(token);
  if (collectComments_) {
    if (!commentsBefore_.empty()) {
      currentValue().setComment(commentsBefore_, commentBefore);
      commentsBefore_.clear();
    }
    // A member named twice is read again in place: forget a last value that may lie inside
    // the old content, which is about to go.
    if (!currentValue().isNull()) {
      lastValue_ = nullptr;
      lastValueEnd_ = nullptr;
    }
  }

  bool successful = true;
  switch (token.type) {
    case tokenObjectBegin:
    case tokenArrayBegin:
      if (depth >= maxNestingDepth) {
        successful = addError(u"Syntax error: arrays and objects nested too deeply.", token);
      } else if (token.type == tokenObjectBegin) {
        successful = readObject(token, depth);
      } else {
        successful = readArray(token, depth);
      }
      break;
    case tokenNumber:
      successful = decodeNumber(token);
      break;
    case tokenString:
      successful = decodeStringValue(token);
      break;
    case tokenTrue:
      currentValue() = Value(true);
      break;
    case tokenFalse:
      currentValue() = Value(false);
      break;
    case tokenNull:
      currentValue() = Value();
      break;
    default:
      successful = addError(u"Syntax error: value, object or array expected.", token);
      break;
  }

  if (collectComments_) {
    lastValueEnd_ = current_;
    lastValue_ = &currentValue();
  }
  return successful;
}

bool Reader::readObject(const Token&, int depth)
{
  currentValue() = Value(objectValue);
  bool lastNameEmpty = true;
  Token tokenName;
  while (true) {
    readTokenSkippingComments(tokenName);
    if (tokenName.type == tokenObjectEnd && lastNameEmpty) {
      return true;
    }
    if (tokenName.type != tokenString) {
      break;
    }
    if (!decodeString(tokenName, memberName_)) {
      return recoverFromError(tokenObjectEnd);
    }
    lastNameEmpty = memberName_.empty();

    Token colon;
    readToken(colon);
    if (colon.type != tokenMemberSeparator) {
      return addErrorAndRecover(u"Missing ':' after object member name", colon, tokenObjectEnd);
    }
    Value& member = currentValue()[memberName_];
    nodes_.push_back(&member);
    bool ok = readValue(depth + 1);
    nodes_.pop_back();
    if (!ok) {
      return recoverFromError(tokenObjectEnd);
    }

    Token comma;
    readTokenSkippingComments(comma);
    if (comma.type == tokenObjectEnd) {
      return true;
    }
    if (comma.type != tokenArraySeparator) {
      return addErrorAndRecover(u"Missing ',' or '}' in object declaration", comma, tokenObjectEnd);
    }
  }
  return addErrorAndRecover(u"Missing '}' or object member name", tokenName, tokenObjectEnd);
}

bool Reader::readArray(const Token&, int depth)
{
  currentValue() = Value(arrayValue);
  skipSpaces();
  if (current_ != end_ && *current_ == u']') {
    Token endArray;
    readToken(endArray);
    return true;
  }
  for (UInt index = 0;; ++index) {
    Value& element = currentValue()[index];
    nodes_.push_back(&element);
    bool ok = readValue(depth + 1);
    nodes_.pop_back();
    if (!ok) {
      return recoverFromError(tokenArrayEnd);
    }

    Token token;
    readTokenSkippingComments(token);
    if (token.type == tokenArrayEnd) {
      return true;
    }
    if (token.type != tokenArraySeparator) {
      return addErrorAndRecover(u"Missing ',' or ']' in array declaration", token, tokenArrayEnd);
    }
  }
}

bool Reader::decodeNumber(const Token& token)
{
  for (const WCHAR* p = token.start; p != token.end; ++p) {
    WCHAR c = *p;
    if (c == u'.' || c == u'e' || c == u'E' || c == u'+' || (c == u'-' && p != token.start)) {
      return decodeReal(token);
    }
  }
  const WCHAR* p = token.start;
  bool isNegative = *p == u'-';
  if (isNegative) {
    ++p;
  }
  const UInt threshold = isNegative ? 214748364u : 429496729u;
  UInt value = 0;
  for (; p != token.end; ++p) {
    if (!isDigit(*p)) {
      return addError(notANumber(token.start, token.end), token);
    }
    if (value >= threshold) {
      return decodeReal(token);
    }
    value = value * 10 + static_cast<UInt>(*p - u'0');
  }
  if (isNegative) {
    currentValue() = Value(-static_cast<Int>(value));
  } else if (value <= 2147483647u) {
    currentValue() = Value(static_cast<Int>(value));
  } else {
    currentValue() = Value(value);
  }
  return true;
}

// Reads the longest prefix of the token that forms a real, as a formatted scan would:
// "1.2.3" reads as 1.2 and "1-2" as 1.
bool Reader::decodeReal(const Token& token)
{
  // A terminated copy, so the scan cannot run past the token into the caller's text.
  WCHAR shortCopy[64];
  std::u16string longCopy;
  size_t length = static_cast<size_t>(token.end - token.start);
  const WCHAR* text = shortCopy;
  if (length < 64) {
    std::copy(token.start, token.end, shortCopy);
    shortCopy[length] = 0;
  } else {
    longCopy.assign(token.start, token.end);
    text = longCopy.c_str();
  }
  WCHAR* scanEnd = nullptr;
  double value = wcstod(text, &scanEnd);
  if (scanEnd == text) {
    return addError(notANumber(token.start, token.end), token);
  }
  currentValue() = Value(value);
  return true;
}

bool Reader::decodeStringValue(const Token& token)
{
  const WCHAR* raw = token.start + 1;
  size_t rawLength = static_cast<size_t>(token.end - 1 - raw);
  // Unescaping never lengthens the text, so the raw copy is decoded in place.
  Value value = Value::adoptString(valueAllocator()->duplicateStringValue(raw, rawLength));
  WCHAR* buffer = value.value_.string_;
  size_t length = 0;
  if (!decodeEscapes(token, buffer, length)) {
    return false;
  }
  buffer[length] = 0;
  currentValue() = std::move(value);
  return true;
}

bool Reader::decodeString(const Token& token, std::u16string& decoded)
{
  const WCHAR* raw = token.start + 1;
  decoded.assign(raw, static_cast<size_t>(token.end - 1 - raw));
  size_t length = 0;
  if (!decodeEscapes(token, decoded.data(), length)) {
    return false;
  }
  decoded.resize(length);
  return true;
}

bool Reader::decodeEscapes(const Token& token, WCHAR* out, size_t& length)
{
  const WCHAR* const raw = token.start + 1;
  const WCHAR* const end = token.end - 1;
  const WCHAR* current = raw;
  while (current != end && *current != u'\\') {
    ++current;
  }
  WCHAR* write = out + (current - raw);
  while (current != end) {
    WCHAR c = *current++;
    if (c != u'\\') {
      *write++ = c;
      continue;
    }
    if (current == end) {
      return addError(u"Empty escape sequence in string", token);
    }
    WCHAR escape = *current++;
    switch (escape) {
      case u'"': *write++ = u'"'; break;
      case u'/': *write++ = u'/'; break;
      case u'\\': *write++ = u'\\'; break;
      case u'b': *write++ = 8; break;
      case u'f': *write++ = 12; break;
      case u'n': *write++ = 10; break;
      case u'r': *write++ = 13; break;
      case u't': *write++ = 9; break;
      case u'u': {
        unsigned codePoint = 0;
        if (!decodeUnicodeCodePoint(token, current, end, codePoint)) {
          return false;
        }
        if (codePoint < 0x10000) {
          *write++ = static_cast<WCHAR>(codePoint);
        } else {
          codePoint -= 0x10000;
          *write++ = static_cast<WCHAR>(0xD800 + (codePoint >> 10));
          *write++ = static_cast<WCHAR>(0xDC00 + (codePoint & 0x3FF));
        }
        break;
      }
      default:
        return addError(u"Bad escape sequence in string", token, current);
    }
  }
  length = static_cast<size_t>(write - out);
  return true;
}

bool Reader::decodeUnicodeCodePoint(const Token& token, const WCHAR*& current, const WCHAR* end, unsigned& codePoint)
{
  if (!decodeUnicodeEscape(token, current, end, codePoint)) {
    return false;
  }
  if (codePoint >= 0xD800 && codePoint <= 0xDBFF) {
    if (end - current < 6) {
      return addError(u"additional six characters expected to parse unicode surrogate pair.", token);
    }
    if (current[0] != u'\\' || current[1] != u'u') {
      return addError(u"expecting another \\u token to begin the second half of a unicode surrogate pair", token);
    }
    current += 2;
    unsigned second = 0;
    if (!decodeUnicodeEscape(token, current, end, second)) {
      return false;
    }
    codePoint = 0x10000 + ((codePoint & 0x3FF) << 10) + (second & 0x3FF);
  }
  return true;
}

bool Reader::decodeUnicodeEscape(const Token& token, const WCHAR*& current, const WCHAR* end, unsigned& unit)
{
  if (end - current < 4) {
    return addError(u"Bad unicode escape sequence in string: four digits expected.", token);
  }
  unit = 0;
  for (int i = 0; i < 4; ++i) {
    WCHAR c = *current++;
    unit *= 16;
    if (c >= u'0' && c <= u'9') {
      unit += c - u'0';
    } else if (c >= u'a' && c <= u'f') {
      unit += c - u'a' + 10;
    } else if (c >= u'A' && c <= u'F') {
      unit += c - u'A' + 10;
    } else {
      return addError(u"Bad unicode escape sequence in string: hexadecimal digit expected.", token, current);
    }
  }
  return true;
}

}  // namespace Json
