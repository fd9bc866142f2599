// The system's string class: CStringW over UTF-16 (WCHAR) and CStringA over narrow text.
//
// Value semantics, without copy-on-write: every object owns its text, a copy is a copy (short
// texts need no allocation), so strings can be handed between threads freely. A string converts
// implicitly to a const pointer to its terminated text, as on the platform, and a CStringW is
// built from narrow text (and a CStringA from wide text) through the ANSI code page, 936.
//
// Rules where the platform's class leaves room:
// - Positions and counts out of range are clamped as the platform's class clamps them (Mid,
//   Left, Right, Insert, Delete); GetAt and operator[] out of range give 0, SetAt out of range
//   does nothing; a null text pointer is an empty text.
// - MakeLower, MakeUpper and CompareNoCase change or fold ASCII letters only, as the device's
//   run-time does in its default locale; other units are left alone.
// - Trim without an argument removes white space as iswspace judges it (CStringA: ASCII white
//   space). CStringA works on bytes; it does not step over double-byte characters.
// - Find and Compare work on code units; Compare orders by unit value like wcscmp.
// - Tokenize with an empty token set returns the rest of the text and moves start past the end,
//   so the next call ends the loop (start -1).
// - GetBuffer(n) hands out room for n units and a terminator; until ReleaseBuffer the length is
//   the buffer's size. ReleaseBuffer(-1) takes the length up to the first terminator in the
//   buffer, any other value is clamped to the buffer.
// - Format and AppendFormat follow text/format.h; a string may be formatted from itself.
#pragma once

#include <compare>
#include <string>
#include <type_traits>

#include "base/types.h"
#include "text/format.h"

template <class T>
class CStringT {
 public:
  using XCHAR = T;
  using PXSTR = T*;
  using PCXSTR = const T*;
  using YCHAR = std::conditional_t<std::is_same_v<T, char>, char16_t, char>;
  using PCYSTR = const YCHAR*;

  CStringT() = default;
  CStringT(PCXSTR text);
  CStringT(PCXSTR text, int length);
  CStringT(PCYSTR text);
  CStringT(PCYSTR text, int length);
  CStringT(T ch, int repeat = 1);
  CStringT(const CStringT<YCHAR>& other);

  CStringT& operator=(PCXSTR text);
  CStringT& operator=(PCYSTR text);
  CStringT& operator=(T ch);
  CStringT& operator=(const CStringT<YCHAR>& other);

  int GetLength() const { return static_cast<int>(text_.size()); }
  bool IsEmpty() const { return text_.empty(); }
  void Empty() { text_.clear(); }
  PCXSTR GetString() const { return text_.c_str(); }
  operator PCXSTR() const { return text_.c_str(); }
  T GetAt(int index) const;
  T operator[](int index) const { return GetAt(index); }
  void SetAt(int index, T ch);

  PXSTR GetBuffer();
  PXSTR GetBuffer(int minBufferLength);
  PXSTR GetBufferSetLength(int length);
  void ReleaseBuffer(int newLength = -1);

  int Find(T ch, int start = 0) const;
  int Find(PCXSTR sub, int start = 0) const;
  int ReverseFind(T ch) const;
  int FindOneOf(PCXSTR set) const;

  CStringT Mid(int first) const;
  CStringT Mid(int first, int count) const;
  CStringT Left(int count) const;
  CStringT Right(int count) const;
  CStringT SpanIncluding(PCXSTR set) const;
  CStringT SpanExcluding(PCXSTR set) const;
  CStringT Tokenize(PCXSTR tokens, int& start) const;

  CStringT& Trim();
  CStringT& Trim(T ch);
  CStringT& Trim(PCXSTR set);
  CStringT& TrimLeft();
  CStringT& TrimLeft(T ch);
  CStringT& TrimLeft(PCXSTR set);
  CStringT& TrimRight();
  CStringT& TrimRight(T ch);
  CStringT& TrimRight(PCXSTR set);

  int Replace(T oldChar, T newChar);
  int Replace(PCXSTR oldText, PCXSTR newText);
  int Remove(T ch);
  int Insert(int index, T ch);
  int Insert(int index, PCXSTR text);
  int Delete(int index, int count = 1);
  void Append(PCXSTR text);
  void Append(PCXSTR text, int length);
  void AppendChar(T ch) { text_.push_back(ch); }

  CStringT& MakeLower();
  CStringT& MakeUpper();
  CStringT& MakeReverse();

  int Compare(PCXSTR other) const;
  int CompareNoCase(PCXSTR other) const;

  template <class... A>
  void Format(PCXSTR format, const A&... args)
  {
    FormatV(format, kv::CaptureArgs(args...));
  }
  template <class... A>
  void AppendFormat(PCXSTR format, const A&... args)
  {
    AppendFormatV(format, kv::CaptureArgs(args...));
  }
  void FormatV(PCXSTR format, kv::FormatArgs args);
  void AppendFormatV(PCXSTR format, kv::FormatArgs args);

  CStringT& operator+=(const CStringT& other)
  {
    text_ += other.text_;
    return *this;
  }
  CStringT& operator+=(PCXSTR text)
  {
    Append(text);
    return *this;
  }
  CStringT& operator+=(PCYSTR text) { return *this += CStringT(text); }
  CStringT& operator+=(T ch)
  {
    text_.push_back(ch);
    return *this;
  }

  friend CStringT operator+(const CStringT& a, const CStringT& b)
  {
    return Concat(a.GetString(), a.GetLength(), b.GetString(), b.GetLength());
  }
  friend CStringT operator+(const CStringT& a, PCXSTR b) { return Concat(a.GetString(), a.GetLength(), b, -1); }
  friend CStringT operator+(PCXSTR a, const CStringT& b) { return Concat(a, -1, b.GetString(), b.GetLength()); }
  friend CStringT operator+(const CStringT& a, T b) { return Concat(a.GetString(), a.GetLength(), &b, 1); }
  friend CStringT operator+(T a, const CStringT& b) { return Concat(&a, 1, b.GetString(), b.GetLength()); }

  friend bool operator==(const CStringT& a, const CStringT& b) { return a.text_ == b.text_; }
  friend bool operator==(const CStringT& a, PCXSTR b) { return a.Compare(b) == 0; }
  friend std::strong_ordering operator<=>(const CStringT& a, const CStringT& b)
  {
    return a.text_.compare(b.text_) <=> 0;
  }
  friend std::strong_ordering operator<=>(const CStringT& a, PCXSTR b) { return a.Compare(b) <=> 0; }

 private:
  static CStringT Concat(PCXSTR a, int lengthA, PCXSTR b, int lengthB);

  std::basic_string<T> text_;
};

extern template class CStringT<char16_t>;
extern template class CStringT<char>;

using CStringW = CStringT<WCHAR>;
using CStringA = CStringT<char>;
using CString = CStringW;
