#include "regex_lexer.h"

namespace {

int HexValue(int code)
{
  if (code >= '0' && code <= '9') {
    return code - '0';
  }
  if (code >= 'A' && code <= 'F') {
    return code - 'A' + 10;
  }
  if (code >= 'a' && code <= 'f') {
    return code - 'a' + 10;
  }
  return -1;
}

}  // namespace

template <typename CharT>
void CRegexLexer<CharT>::Start(CRegexBufferRef<CharT> pattern, bool extended)
{
  m_pattern = pattern;
  m_extended = extended;
  m_scan = 0;
  m_classDepth = 0;
  m_quote = false;
  m_case = CaseTransform::None;
  for (auto& token : m_tokens) {
    token = CRegexToken<CharT>{};
  }
  for (int i = 0; i < 3; ++i) {
    NextToken();
  }
}

template <typename CharT>
void CRegexLexer<CharT>::NextToken()
{
  m_tokens[0] = m_tokens[1];
  m_tokens[1] = m_tokens[2];
  m_tokens[2] = m_tokens[3];
  while (!ScanToken(m_tokens[3])) {
  }
}

template <typename CharT>
void CRegexLexer<CharT>::SkipToEnd()
{
  m_scan = m_pattern.GetLength();
  m_quote = false;
  for (int i = 0; i < 4; ++i) {
    NextToken();
  }
}

template <typename CharT>
bool CRegexLexer<CharT>::Emit(CRegexToken<CharT>& token, CharT value, bool special, int length)
{
  token = CRegexToken<CharT>{value, special, m_scan, length};
  m_scan += length;
  return true;
}

template <typename CharT>
CharT CRegexLexer<CharT>::Transformed(CharT c) const
{
  switch (m_case) {
    case CaseTransform::Lower:
      return CRegexChars<CharT>::ToLower(c);
    case CaseTransform::Upper:
      return CRegexChars<CharT>::ToUpper(c);
    case CaseTransform::None:
      break;
  }
  return c;
}

template <typename CharT>
bool CRegexLexer<CharT>::ScanToken(CRegexToken<CharT>& token)
{
  const int length = m_pattern.GetLength();
  if (m_scan >= length) {
    token = CRegexToken<CharT>{CharT(0), true, length, 0};
    return true;
  }
  const CharT c = At(m_scan);
  if (m_quote) {
    if (c == CharT('\\') && IsAt(m_scan + 1, 'E')) {
      m_quote = false;
      m_case = CaseTransform::None;
      m_scan += 2;
      return false;
    }
    return Emit(token, Transformed(c), false, 1);
  }
  const int code = CRegexChars<CharT>::Code(c);
  if (IsRegexBlank(code)) {
    if (m_extended) {
      ++m_scan;
      return false;
    }
    return Emit(token, c, false, 1);
  }
  // The token before this one, and the one before that.
  const CRegexToken<CharT>& before = m_tokens[2];
  const CRegexToken<CharT>& beforeThat = m_tokens[1];
  switch (code) {
    case '#':
      if (!m_extended) {
        return Emit(token, c, false, 1);
      }
      while (m_scan < length && !IsAt(m_scan, '\n') && !IsAt(m_scan, '\r')) {
        ++m_scan;
      }
      return false;
    case '(':
      if (IsAt(m_scan + 1, '?') && IsAt(m_scan + 2, '#')) {
        // A comment runs over the first ')' (or to the end).
        m_scan += 3;
        while (m_scan < length && !IsAt(m_scan, ')')) {
          ++m_scan;
        }
        if (m_scan < length) {
          ++m_scan;
        }
        return false;
      }
      return Emit(token, c, m_classDepth == 0, 1);
    case '$':
    case ')':
    case '*':
    case '+':
    case '.':
    case '?':
    case '{':
    case '|':
    case '}':
      return Emit(token, c, m_classDepth == 0, 1);
    case '-':
      return Emit(token, c, m_classDepth > 0, 1);
    case ':':
      return Emit(token, c, before.Is('['), 1);
    case '[':
      if (m_classDepth == 0 || IsAt(m_scan + 1, ':')) {
        ++m_classDepth;
        return Emit(token, c, true, 1);
      }
      return Emit(token, c, false, 1);
    case ']':
      if (m_classDepth > 0) {
        --m_classDepth;
        return Emit(token, c, true, 1);
      }
      return Emit(token, c, false, 1);
    case '^':
      return Emit(token, c, m_classDepth == 0 || before.Is('[') || (beforeThat.Is('[') && before.Is(':')), 1);
    case '\\':
      return ScanEscape(token);
    default:
      return Emit(token, c, false, 1);
  }
}

template <typename CharT>
bool CRegexLexer<CharT>::ScanEscape(CRegexToken<CharT>& token)
{
  if (m_scan + 1 >= m_pattern.GetLength()) {
    return Emit(token, CharT('\\'), false, 1);
  }
  const CharT letter = At(m_scan + 1);
  const int code = CRegexChars<CharT>::Code(letter);
  if (IsRegexDigit(code)) {
    return Emit(token, CharT('\\'), true, 1);  // the digits follow as literal tokens
  }
  const bool inClass = m_classDepth > 0;
  switch (code) {
    case 'A':
    case 'B':
    case 'D':
    case 'S':
    case 'W':
    case 'Z':
    case 'd':
    case 'g':
    case 'k':
    case 's':
    case 'w':
    case 'z':
      return Emit(token, letter, true, 2);
    case 'G':
      if (inClass) {
        m_scan += 2;
        return false;
      }
      return Emit(token, letter, true, 2);
    case 'b':
      return inClass ? Emit(token, CharT(8), false, 2) : Emit(token, letter, true, 2);
    case 'a':
      return Emit(token, CharT(7), false, 2);
    case 'e':
      return Emit(token, CharT(27), false, 2);
    case 'f':
      return Emit(token, CharT(12), false, 2);
    case 'n':
      return Emit(token, CharT(10), false, 2);
    case 'r':
      return Emit(token, CharT(13), false, 2);
    case 't':
      return Emit(token, CharT(9), false, 2);
    case 'v':
      return Emit(token, CharT(11), false, 2);
    case 'Q':
    case 'L':
    case 'U':
      m_quote = true;
      if (m_case == CaseTransform::None && code != 'Q') {
        m_case = code == 'L' ? CaseTransform::Lower : CaseTransform::Upper;
      }
      m_scan += 2;
      return false;
    case 'E':
      m_quote = false;
      m_case = CaseTransform::None;
      m_scan += 2;
      return false;
    case 'x':
      return ScanHex(token, letter, 2);
    case 'u':
      return ScanHex(token, letter, 4);
    default:
      return Emit(token, letter, false, 2);
  }
}

// \xhh, \uhhhh, \x{...} and \u{...}; the value is cut to the character width.
template <typename CharT>
bool CRegexLexer<CharT>::ScanHex(CRegexToken<CharT>& token, CharT letter, int maxDigits)
{
  const int length = m_pattern.GetLength();
  unsigned value = 0;
  int end = m_scan + 2;
  if (IsAt(end, '{')) {
    ++end;
    for (int digits = 0; digits < 8 && end < length && HexValue(CRegexChars<CharT>::Code(At(end))) >= 0; ++digits) {
      value = value * 16 + static_cast<unsigned>(HexValue(CRegexChars<CharT>::Code(At(end++))));
    }
    while (end < length && !IsAt(end, '}')) {
      ++end;
    }
    if (end < length) {
      ++end;
    }
    return Emit(token, CRegexChars<CharT>::FromCode(value), false, end - m_scan);
  }
  int digits = 0;
  while (digits < maxDigits && end < length && HexValue(CRegexChars<CharT>::Code(At(end))) >= 0) {
    value = value * 16 + static_cast<unsigned>(HexValue(CRegexChars<CharT>::Code(At(end++))));
    ++digits;
  }
  if (digits == 0) {
    return Emit(token, letter, false, 2);
  }
  return Emit(token, CRegexChars<CharT>::FromCode(value), false, 2 + digits);
}

template class CRegexLexer<char>;
template class CRegexLexer<WCHAR>;
