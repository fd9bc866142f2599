// Reads JSON text in UTF-16 into a value: comments are accepted (and kept on request), any
// value may be the root, and text after the root is ignored. Errors are kept with their
// positions and can be rendered as "Line %d, Column %d" texts.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "json/value.h"

namespace Json {

class TreePool;

class Reader {
public:
  // Arrays and objects nested deeper than this fail the parse instead of exhausting the stack.
  static constexpr int maxNestingDepth = 1000;

  Reader();
  ~Reader();
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  // Parses [begin, end) into root, replacing its content; false if any error was recorded.
  // What was built before an error stays in root.
  bool parse(const WCHAR* begin, const WCHAR* end, Value& root, bool collectComments = true);
  // Parses the reader's own copy of the document.
  bool parse(const std::u16string& document, Value& root, bool collectComments = true);

  // The errors of the last parse, oldest first, each with its position and message.
  std::u16string formatErrors() const;

private:
  enum TokenType {
    tokenEndOfStream = 0,
    tokenObjectBegin,
    tokenObjectEnd,
    tokenArrayBegin,
    tokenArrayEnd,
    tokenString,
    tokenNumber,
    tokenTrue,
    tokenFalse,
    tokenNull,
    tokenArraySeparator,
    tokenMemberSeparator,
    tokenComment,
    tokenError
  };

  struct Token {
    TokenType type;
    const WCHAR* start;
    const WCHAR* end;
    bool escaped;  // a string that holds a backslash
  };

  struct ErrorInfo {
    Token token;
    std::u16string message;
    const WCHAR* extra;
  };

  bool readValue(int depth);
  bool readObject(const Token& token, int depth);
  struct MemberList;
  struct Lists;
  bool readMembers(MemberList& list, int depth);
  // The member of the key's name; when new it is added with the key, a shared key copied.
  Value& memberNamed(MemberList& list, MemberKey& key, size_t length);
  // The shape's name for the member that a name token adds, when it is that name; else null.
  const WCHAR* shapeName(const MemberList& list, const Token& token) const;
  // Adds a member that shares the shape's name.
  Value& sharedMember(MemberList& list, const WCHAR* name);
  void leaveShape(MemberList& list);
  // Keeps the names and order of the object just read for the next object at its level.
  void rememberShape(MemberList& list);
  bool readArray(const Token& token, int depth);
  bool readElements(std::vector<Element>& listed, Value& array, int depth);
  template <class List>
  int readElement(List& elements, int depth);
  // Reads a number token from its start, setting its end and the reader's position.
  bool decodeNumber(Token& token);
  bool decodeReal(const Token& token);
  bool decodeString(const Token& token, std::u16string& decoded);
  // A member name, decoded into a key: one cut from the pool when there is one, else one that
  // shares the reader's own buffer.
  bool decodeName(const Token& token, MemberKey& key, size_t& length);
  bool decodeStringValue(const Token& token);
  bool decodeEscapes(const Token& token, WCHAR* out, size_t& length);
  bool decodeUnicodeCodePoint(const Token& token, const WCHAR*& current, const WCHAR* end, unsigned& codePoint);
  bool decodeUnicodeEscape(const Token& token, const WCHAR*& current, const WCHAR* end, unsigned& unit);

  void readToken(Token& token);
  void readTokenSkippingComments(Token& token)
  {
    do {
      readToken(token);
    } while (token.type == tokenComment);
  }
  // A string token from the quote at the reader's position.
  void readStringToken(Token& token);
  // Takes the next character when it is `c`: the usual separator after a value, found without
  // the general scan (which finds the same token there).
  bool take(WCHAR c)
  {
    if (current_ != end_ && *current_ == c) {
      ++current_;
      return true;
    }
    return false;
  }
  void skipSpaces();
  bool match(const WCHAR* pattern, int length);
  bool readComment();
  bool readCStyleComment();
  static bool containsNewLine(const WCHAR* begin, const WCHAR* end);
  void readCppStyleComment();
  bool readString(bool& escaped);
  // Past every character that a number may hold.
  const WCHAR* numberEnd(const WCHAR* p) const;
  void addComment(const WCHAR* begin, const WCHAR* end, bool isBlock);
  WCHAR getNextChar() { return current_ == end_ ? 0 : *current_++; }

  bool addError(const std::u16string& message, const Token& token, const WCHAR* extra = nullptr);
  bool recoverFromError(TokenType skipUntil);
  bool addErrorAndRecover(const std::u16string& message, const Token& token, TokenType skipUntil);
  Value& currentValue() { return *nodes_.back(); }
  Value& emptiedCurrent();
  void setCurrent(Int value);
  void setCurrent(UInt value);
  void setCurrent(double value);
  void setCurrent(bool value);
  std::u16string positionText(const WCHAR* location) const;

  // A text's copy, NUL-terminated, for the tree being read.
  WCHAR* copyText(const WCHAR* text, size_t length);
  // A string token's text decoded into such a copy; null after an error.
  WCHAR* decodedCopy(const Token& token, size_t& length);

  std::vector<Value*> nodes_;
  std::unique_ptr<Lists> lists_;
  TreePool* pool_ = nullptr;  // the storage of the tree, while one is read with the default allocator
  std::deque<ErrorInfo> errors_;
  std::u16string document_;
  const WCHAR* begin_ = nullptr;
  const WCHAR* end_ = nullptr;
  const WCHAR* current_ = nullptr;
  const WCHAR* lastValueEnd_ = nullptr;
  Value* lastValue_ = nullptr;
  std::u16string commentsBefore_;
  std::u16string memberName_;
  bool collectComments_ = false;
};

}  // namespace Json
