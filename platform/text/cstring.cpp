// The string class's operations, for CStringW and CStringA.
#include "text/cstring.h"

#include <algorithm>
#include <cstdint>

#include "ansi_text.h"
#include "format_engine.h"
#include "text/widechar.h"

namespace {

bool IsSpace(char16_t c)
{
  return iswspace(c) != 0;
}

bool IsSpace(char c)
{
  return c == ' ' || (c >= '\t' && c <= '\r');
}

template <class T>
T AsciiLower(T c)
{
  return c >= 'A' && c <= 'Z' ? static_cast<T>(c + 32) : c;
}

template <class T>
T AsciiUpper(T c)
{
  return c >= 'a' && c <= 'z' ? static_cast<T>(c - 32) : c;
}

template <class T>
size_t Length(const T* text)
{
  return text ? std::char_traits<T>::length(text) : 0;
}

template <class T>
int CompareTexts(const T* a, const T* b, T (*fold)(T))
{
  using Unit = std::make_unsigned_t<T>;
  for (;; ++a, ++b) {
    auto x = static_cast<Unit>(fold(*a));
    auto y = static_cast<Unit>(fold(*b));
    if (x != y || x == 0)
      return x < y ? -1 : (x > y ? 1 : 0);
  }
}

template <class T>
T Same(T c)
{
  return c;
}

template <class T>
bool Contains(const T* set, T c)
{
  for (; set && *set; ++set) {
    if (*set == c)
      return true;
  }
  return false;
}

void AppendConverted(std::u16string& out, const char* text, size_t length)
{
  kv::text::AppendAnsiAsWide(out, std::string_view(text, length));
}

void AppendConverted(std::string& out, const char16_t* text, size_t length)
{
  kv::text::AppendWideAsAnsi(out, std::u16string_view(text, length));
}

// The length of a text limited to the caller's count, which must not exceed the text.
template <class T>
size_t ClampedLength(const T* text, int length)
{
  if (!text || length <= 0)
    return 0;
  size_t n = 0;
  while (n < static_cast<size_t>(length) && text[n])
    ++n;
  return n;
}

}  // namespace

template <class T>
CStringT<T>::CStringT(PCXSTR text)
{
  if (text)
    text_.assign(text);
}

template <class T>
CStringT<T>::CStringT(PCXSTR text, int length)
{
  if (text && length > 0)
    text_.assign(text, static_cast<size_t>(length));
}

template <class T>
CStringT<T>::CStringT(PCYSTR text)
{
  AppendConverted(text_, text, Length(text));
}

template <class T>
CStringT<T>::CStringT(PCYSTR text, int length)
{
  if (text && length > 0)
    AppendConverted(text_, text, static_cast<size_t>(length));
}

template <class T>
CStringT<T>::CStringT(T ch, int repeat)
{
  if (repeat > 0)
    text_.assign(static_cast<size_t>(repeat), ch);
}

template <class T>
CStringT<T>::CStringT(const CStringT<YCHAR>& other)
{
  AppendConverted(text_, other.GetString(), static_cast<size_t>(other.GetLength()));
}

template <class T>
CStringT<T>& CStringT<T>::operator=(PCXSTR text)
{
  if (text)
    text_.assign(text);
  else
    text_.clear();
  return *this;
}

template <class T>
CStringT<T>& CStringT<T>::operator=(PCYSTR text)
{
  return *this = CStringT(text);
}

template <class T>
CStringT<T>& CStringT<T>::operator=(T ch)
{
  text_.assign(1, ch);
  return *this;
}

template <class T>
CStringT<T>& CStringT<T>::operator=(const CStringT<YCHAR>& other)
{
  return *this = CStringT(other);
}

template <class T>
T CStringT<T>::GetAt(int index) const
{
  return index >= 0 && index < GetLength() ? text_[static_cast<size_t>(index)] : T(0);
}

template <class T>
void CStringT<T>::SetAt(int index, T ch)
{
  if (index >= 0 && index < GetLength())
    text_[static_cast<size_t>(index)] = ch;
}

template <class T>
T* CStringT<T>::GetBuffer()
{
  return text_.data();
}

template <class T>
T* CStringT<T>::GetBuffer(int minBufferLength)
{
  if (minBufferLength > GetLength())
    text_.resize(static_cast<size_t>(minBufferLength));
  return text_.data();
}

template <class T>
T* CStringT<T>::GetBufferSetLength(int length)
{
  text_.resize(static_cast<size_t>(std::max(length, 0)));
  return text_.data();
}

template <class T>
void CStringT<T>::ReleaseBuffer(int newLength)
{
  if (newLength < 0)
    text_.resize(std::char_traits<T>::length(text_.c_str()));
  else if (static_cast<size_t>(newLength) < text_.size())
    text_.resize(static_cast<size_t>(newLength));
}

template <class T>
int CStringT<T>::Find(T ch, int start) const
{
  if (start < 0 || start >= GetLength())
    return -1;
  size_t at = text_.find(ch, static_cast<size_t>(start));
  return at == std::basic_string<T>::npos ? -1 : static_cast<int>(at);
}

template <class T>
int CStringT<T>::Find(PCXSTR sub, int start) const
{
  if (!sub || start < 0 || start > GetLength())
    return -1;
  size_t at = text_.find(sub, static_cast<size_t>(start));
  return at == std::basic_string<T>::npos ? -1 : static_cast<int>(at);
}

template <class T>
int CStringT<T>::ReverseFind(T ch) const
{
  size_t at = text_.rfind(ch);
  return at == std::basic_string<T>::npos ? -1 : static_cast<int>(at);
}

template <class T>
int CStringT<T>::FindOneOf(PCXSTR set) const
{
  if (!set || !*set)
    return -1;
  size_t at = text_.find_first_of(set);
  return at == std::basic_string<T>::npos ? -1 : static_cast<int>(at);
}

template <class T>
CStringT<T> CStringT<T>::Mid(int first) const
{
  return Mid(first, GetLength());
}

template <class T>
CStringT<T> CStringT<T>::Mid(int first, int count) const
{
  int64_t length = GetLength();
  int64_t from = std::clamp<int64_t>(first, 0, length);
  int64_t n = std::clamp<int64_t>(count, 0, length - from);
  CStringT result;
  result.text_.assign(text_, static_cast<size_t>(from), static_cast<size_t>(n));
  return result;
}

template <class T>
CStringT<T> CStringT<T>::Left(int count) const
{
  return Mid(0, count);
}

template <class T>
CStringT<T> CStringT<T>::Right(int count) const
{
  int n = std::clamp(count, 0, GetLength());
  return Mid(GetLength() - n, n);
}

template <class T>
CStringT<T> CStringT<T>::SpanIncluding(PCXSTR set) const
{
  size_t n = 0;
  while (n < text_.size() && Contains(set, text_[n]))
    ++n;
  return Left(static_cast<int>(n));
}

template <class T>
CStringT<T> CStringT<T>::SpanExcluding(PCXSTR set) const
{
  size_t n = 0;
  while (n < text_.size() && !Contains(set, text_[n]))
    ++n;
  return Left(static_cast<int>(n));
}

template <class T>
CStringT<T> CStringT<T>::Tokenize(PCXSTR tokens, int& start) const
{
  int length = GetLength();
  if (start < 0 || start > length) {
    start = -1;
    return CStringT();
  }
  if (!tokens || !*tokens) {
    if (start < length) {
      CStringT rest = Mid(start);
      start = length + 1;
      return rest;
    }
    start = -1;
    return CStringT();
  }
  size_t from = static_cast<size_t>(start);
  while (from < text_.size() && Contains(tokens, text_[from]))
    ++from;
  if (from >= text_.size()) {
    start = -1;
    return CStringT();
  }
  size_t until = from;
  while (until < text_.size() && !Contains(tokens, text_[until]))
    ++until;
  start = static_cast<int>(until) + 1;
  return Mid(static_cast<int>(from), static_cast<int>(until - from));
}

template <class T>
CStringT<T>& CStringT<T>::Trim()
{
  return TrimRight().TrimLeft();
}

template <class T>
CStringT<T>& CStringT<T>::Trim(T ch)
{
  return TrimRight(ch).TrimLeft(ch);
}

template <class T>
CStringT<T>& CStringT<T>::Trim(PCXSTR set)
{
  return TrimRight(set).TrimLeft(set);
}

template <class T>
CStringT<T>& CStringT<T>::TrimLeft()
{
  auto it = std::find_if(text_.begin(), text_.end(), [](T c) { return !IsSpace(c); });
  text_.erase(text_.begin(), it);
  return *this;
}

template <class T>
CStringT<T>& CStringT<T>::TrimLeft(T ch)
{
  T set[2] = {ch, 0};
  return TrimLeft(set);
}

template <class T>
CStringT<T>& CStringT<T>::TrimLeft(PCXSTR set)
{
  auto it = std::find_if(text_.begin(), text_.end(), [set](T c) { return !Contains(set, c); });
  text_.erase(text_.begin(), it);
  return *this;
}

template <class T>
CStringT<T>& CStringT<T>::TrimRight()
{
  auto it = std::find_if(text_.rbegin(), text_.rend(), [](T c) { return !IsSpace(c); });
  text_.erase(it.base(), text_.end());
  return *this;
}

template <class T>
CStringT<T>& CStringT<T>::TrimRight(T ch)
{
  T set[2] = {ch, 0};
  return TrimRight(set);
}

template <class T>
CStringT<T>& CStringT<T>::TrimRight(PCXSTR set)
{
  auto it = std::find_if(text_.rbegin(), text_.rend(), [set](T c) { return !Contains(set, c); });
  text_.erase(it.base(), text_.end());
  return *this;
}

template <class T>
int CStringT<T>::Replace(T oldChar, T newChar)
{
  int count = 0;
  for (T& c : text_) {
    if (c == oldChar) {
      c = newChar;
      ++count;
    }
  }
  return count;
}

template <class T>
int CStringT<T>::Replace(PCXSTR oldText, PCXSTR newText)
{
  size_t oldLength = Length(oldText);
  if (oldLength == 0)
    return 0;
  std::basic_string_view<T> replacement;
  if (newText)
    replacement = newText;
  std::basic_string<T> result;
  int count = 0;
  size_t from = 0;
  for (size_t at; (at = text_.find(oldText, from, oldLength)) != std::basic_string<T>::npos; from = at + oldLength) {
    result.append(text_, from, at - from);
    result.append(replacement);
    ++count;
  }
  if (count > 0) {
    result.append(text_, from);
    text_ = std::move(result);
  }
  return count;
}

template <class T>
int CStringT<T>::Remove(T ch)
{
  size_t before = text_.size();
  text_.erase(std::remove(text_.begin(), text_.end(), ch), text_.end());
  return static_cast<int>(before - text_.size());
}

template <class T>
int CStringT<T>::Insert(int index, T ch)
{
  text_.insert(static_cast<size_t>(std::clamp(index, 0, GetLength())), 1, ch);
  return GetLength();
}

template <class T>
int CStringT<T>::Insert(int index, PCXSTR text)
{
  if (text)
    text_.insert(static_cast<size_t>(std::clamp(index, 0, GetLength())), std::basic_string<T>(text));
  return GetLength();
}

template <class T>
int CStringT<T>::Delete(int index, int count)
{
  int64_t from = std::max(index, 0);
  int64_t n = std::min<int64_t>(std::max(count, 0), GetLength() - from);
  if (n > 0)
    text_.erase(static_cast<size_t>(from), static_cast<size_t>(n));
  return GetLength();
}

template <class T>
void CStringT<T>::Append(PCXSTR text)
{
  if (text)
    text_.append(text);
}

template <class T>
void CStringT<T>::Append(PCXSTR text, int length)
{
  text_.append(text, ClampedLength(text, length));
}

template <class T>
CStringT<T>& CStringT<T>::MakeLower()
{
  std::transform(text_.begin(), text_.end(), text_.begin(), AsciiLower<T>);
  return *this;
}

template <class T>
CStringT<T>& CStringT<T>::MakeUpper()
{
  std::transform(text_.begin(), text_.end(), text_.begin(), AsciiUpper<T>);
  return *this;
}

template <class T>
CStringT<T>& CStringT<T>::MakeReverse()
{
  std::reverse(text_.begin(), text_.end());
  return *this;
}

template <class T>
int CStringT<T>::Compare(PCXSTR other) const
{
  const T empty[1] = {0};
  return CompareTexts(text_.c_str(), other ? other : empty, Same<T>);
}

template <class T>
int CStringT<T>::CompareNoCase(PCXSTR other) const
{
  const T empty[1] = {0};
  return CompareTexts(text_.c_str(), other ? other : empty, AsciiLower<T>);
}

template <class T>
void CStringT<T>::FormatV(PCXSTR format, kv::FormatArgs args)
{
  std::basic_string<T> result;
  kv::text::AppendFormatted(result, format, args);
  text_ = std::move(result);
}

template <class T>
void CStringT<T>::AppendFormatV(PCXSTR format, kv::FormatArgs args)
{
  std::basic_string<T> result;
  kv::text::AppendFormatted(result, format, args);
  text_ += result;
}

template <class T>
CStringT<T> CStringT<T>::Concat(PCXSTR a, int lengthA, PCXSTR b, int lengthB)
{
  size_t na = lengthA < 0 ? Length(a) : static_cast<size_t>(lengthA);
  size_t nb = lengthB < 0 ? Length(b) : static_cast<size_t>(lengthB);
  CStringT result;
  result.text_.reserve(na + nb);
  result.text_.append(a, na);
  result.text_.append(b, nb);
  return result;
}

template class CStringT<char16_t>;
template class CStringT<char>;
