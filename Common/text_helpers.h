// Small text helpers shared by the dialogs: shortening for display, folding full-width forms,
// the ANSI (code page 936) bytes of a text and Base64 of stored values.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

// Shortens text to maxLength for display: its first maxLength - 2 characters followed by "..",
// or with maxLength of 2 or less its first 2 characters. Texts of at most maxLength
// characters, and one-character texts, are left alone.
void EllipsizeString(CStringW& text, int maxLength);

// Folds in place the ideographic space to a space and the full-width forms U+FF01..U+FF5E to
// their ASCII characters; nothing else changes.
void ToHalfWidth(CStringW& text);

// Writes the text's ANSI bytes and a terminating zero into buffer (size bytes). Returns the
// number of bytes before the terminator, or -1 with an empty buffer when they do not fit.
int ToAnsi(const WCHAR* text, char* buffer, int size);

// The Base64 (standard alphabet, no line breaks) of the text's ANSI bytes. FALSE, with a log
// entry and out unchanged, when the text is longer than the 1024-character result allows.
BOOL Base64EncodeString(const WCHAR* text, CStringW& out);
// The text of the ANSI bytes that Base64 text decodes to (at most 1023 bytes are kept). FALSE,
// with a log entry and out unchanged, when it decodes to more than 1024 bytes.
BOOL Base64DecodeString(const WCHAR* text, CStringW& out);

// The character tests of the settings file, for ASCII only.
inline BOOL IsAsciiLetter(WCHAR c)
{
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}
inline BOOL IsAsciiDigit(WCHAR c)
{
  return c >= u'0' && c <= u'9';
}
inline BOOL IsAsciiAlnum(WCHAR c)
{
  return IsAsciiLetter(c) || IsAsciiDigit(c);
}
inline BOOL IsBlank(WCHAR c)
{
  return c == u' ' || c == u'\t';
}
inline BOOL IsLineBreak(WCHAR c)
{
  return c == u'\r' || c == u'\n';
}
