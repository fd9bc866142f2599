// The lexer of the regular-expression compiler: turns the pattern text into tokens and keeps a
// window of four (previous, current, next, next-but-one). It tracks the bracket depth, the
// quote mode of \Q...\E and the case transform of \L and \U.
#pragma once

#include "regex_buffer.h"
#include "regex_chartype.h"

template <typename CharT>
struct CRegexToken {
  CharT value;
  bool special;  // a metacharacter; false for a literal character
  int start;     // position in the pattern
  int length;    // in pattern characters; 0 only for the end token

  bool Is(char c) const { return special && value == static_cast<CharT>(c); }
  bool IsLiteral(char c) const { return !special && value == static_cast<CharT>(c); }
  bool IsEnd() const { return special && value == 0 && length == 0; }
  // A special '{', '?', '*' or '+'.
  bool IsQuantifier() const { return Is('{') || Is('?') || Is('*') || Is('+'); }
};

// The blank characters that RX_EXTENDED skips: tab, LF, VT, FF, CR and space.
inline bool IsRegexBlank(int code)
{
  return code == ' ' || (code >= '\t' && code <= '\r');
}

inline bool IsRegexDigit(int code)
{
  return code >= '0' && code <= '9';
}

template <typename CharT>
class CRegexLexer {
 public:
  // Starts reading `pattern` and fills the window: afterwards the current token is the first.
  void Start(CRegexBufferRef<CharT> pattern, bool extended);
  // Shifts the window by one token.
  void NextToken();
  // Skips everything that is left: every token of the window becomes the end token.
  void SkipToEnd();

  const CRegexToken<CharT>& Previous() const { return m_tokens[0]; }
  const CRegexToken<CharT>& Current() const { return m_tokens[1]; }
  const CRegexToken<CharT>& Next() const { return m_tokens[2]; }
  const CRegexToken<CharT>& NextButOne() const { return m_tokens[3]; }
  CRegexBufferRef<CharT> Pattern() const { return m_pattern; }

 private:
  enum class CaseTransform { None, Lower, Upper };

  // Reads at the scan position: true with a token written, false when it only skipped.
  bool ScanToken(CRegexToken<CharT>& token);
  bool ScanEscape(CRegexToken<CharT>& token);
  bool ScanHex(CRegexToken<CharT>& token, CharT letter, int maxDigits);
  bool Emit(CRegexToken<CharT>& token, CharT value, bool special, int length);
  CharT Transformed(CharT c) const;
  CharT At(int index) const { return m_pattern[index]; }
  bool IsAt(int index, char c) const { return index < m_pattern.GetLength() && At(index) == static_cast<CharT>(c); }

  CRegexBufferRef<CharT> m_pattern;
  CRegexToken<CharT> m_tokens[4] = {};
  int m_scan = 0;
  int m_classDepth = 0;
  bool m_extended = false;
  bool m_quote = false;
  CaseTransform m_case = CaseTransform::None;
};
