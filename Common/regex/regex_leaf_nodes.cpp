#include "regex_leaf_nodes.h"

#include <climits>

namespace {

bool IsWordCode(int code)
{
  return (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || (code >= '0' && code <= '9') || code == '_';
}

// Compares text[from, from + count) with `chars`, exactly or without case.
template <typename CharT>
bool SameText(const CharT* text, const CharT* chars, int count, bool ignoreCase)
{
  if (!ignoreCase) {
    for (int i = 0; i < count; ++i) {
      if (text[i] != chars[i]) {
        return false;
      }
    }
    return true;
  }
  for (int i = 0; i < count; ++i) {
    if (!RegexCharsEqualNoCase(text[i], chars[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace

// --- CEmptyNode ---

template <typename CharT>
bool CEmptyNode<CharT>::Match(CMatchState<CharT>&) const
{
  return true;
}

template <typename CharT>
bool CEmptyNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  state.Step();
  return false;
}

// --- CCharSetNode ---

template <typename CharT>
void CCharSetNode<CharT>::AddRange(int low, int high)
{
  m_ranges.Push(low);
  m_ranges.Push(high);
}

template <typename CharT>
void CCharSetNode<CharT>::AddChar(int code)
{
  m_chars.Push(code);
}

template <typename CharT>
bool CCharSetNode<CharT>::InRangesOrChars(int code) const
{
  for (int i = 0; i + 1 < m_ranges.GetSize(); i += 2) {
    if (code >= m_ranges[i] && code <= m_ranges[i + 1]) {
      return true;
    }
  }
  for (int i = 0; i < m_chars.GetSize(); ++i) {
    if (m_chars[i] == code) {
      return true;
    }
  }
  return false;
}

template <typename CharT>
void CCharSetNode<CharT>::AddCaseMirror()
{
  using Chars = CRegexChars<CharT>;
  const int rangeCount = m_ranges.GetSize();
  for (int i = 0; i + 1 < rangeCount; i += 2) {
    const int low = m_ranges[i];
    const int high = m_ranges[i + 1];
    // The part overlapping A-Z in lower case, and the part overlapping a-z in upper case.
    const struct {
      int first, last;
      bool toLower;
    } letters[] = {{'A', 'Z', true}, {'a', 'z', false}};
    for (const auto& run : letters) {
      const int from = low > run.first ? low : run.first;
      const int to = high < run.last ? high : run.last;
      if (from > to) {
        continue;
      }
      const CharT a = Chars::FromCode(static_cast<unsigned>(from));
      const CharT b = Chars::FromCode(static_cast<unsigned>(to));
      const int mappedFrom = Chars::Code(run.toLower ? Chars::ToLower(a) : Chars::ToUpper(a));
      const int mappedTo = Chars::Code(run.toLower ? Chars::ToLower(b) : Chars::ToUpper(b));
      if (!(mappedFrom >= low && mappedTo <= high)) {
        AddRange(mappedFrom, mappedTo);
      }
    }
  }
  const int charCount = m_chars.GetSize();
  for (int i = 0; i < charCount; ++i) {
    const CharT c = Chars::FromCode(static_cast<unsigned>(m_chars[i]));
    if (Chars::IsUpper(c)) {
      const int lower = Chars::Code(Chars::ToLower(c));
      if (!InRangesOrChars(lower)) {
        AddChar(lower);
      }
    }
    if (Chars::IsLower(c)) {
      const int upper = Chars::Code(Chars::ToUpper(c));
      if (!InRangesOrChars(upper)) {
        AddChar(upper);
      }
    }
  }
}

template <typename CharT>
bool CCharSetNode<CharT>::ContainsSlow(int code) const
{
  bool member = InRangesOrChars(code);
  for (int i = 0; !member && i < m_embedded.GetSize(); ++i) {
    member = m_embedded[i]->Contains(code);
  }
  return member != m_negated;
}

template <typename CharT>
void CCharSetNode<CharT>::Seal()
{
  for (unsigned byte = 0; byte < 256; ++byte) {
    const int code = CRegexChars<CharT>::Code(static_cast<CharT>(byte));
    if (ContainsSlow(code)) {
      m_table[byte >> 6] |= uint64_t{1} << (byte & 63);
    }
  }
}

template <typename CharT>
bool CCharSetNode<CharT>::MayHoldWide() const
{
  if (m_negated) {
    return true;
  }
  for (int i = 0; i < m_ranges.GetSize(); ++i) {
    if (m_ranges[i] >= 256) {
      return true;
    }
  }
  for (int i = 0; i < m_chars.GetSize(); ++i) {
    if (m_chars[i] >= 256) {
      return true;
    }
  }
  for (int i = 0; i < m_embedded.GetSize(); ++i) {
    if (m_embedded[i]->MayHoldWide()) {
      return true;
    }
  }
  return false;
}

template <typename CharT>
CRegexFirst<CharT> CCharSetNode<CharT>::First() const
{
  if (m_rightToLeft) {
    return CRegexFirst<CharT>::Anything();
  }
  CRegexFirst<CharT> first = CRegexFirst<CharT>::Consuming();
  for (int i = 0; i < 4; ++i) {
    first.codes[i] = m_table[i];
  }
  first.wide = sizeof(CharT) > 1 && MayHoldWide();
  return first;
}

template <typename CharT>
int CCharSetNode<CharT>::MatchRun(CMatchState<CharT>& state, int most) const
{
  if (m_rightToLeft) {
    int count = 0;
    while (count < most && MatchOne(state)) {
      ++count;
    }
    return count;
  }
  const int start = state.position;
  if (start < 0) {
    return 0;
  }
  const int limit = most < state.length - start ? start + most : state.length;
  int position = start;
  while (position < limit && Contains(CRegexChars<CharT>::Code(state.text[position]))) {
    ++position;
  }
  state.position = position;
  return position - start;
}

template <typename CharT>
bool CCharSetNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  if (state.Step()) {
    GiveBack(state, 1);
  }
  return false;
}

// --- CLiteralNode ---

template <typename CharT>
CLiteralNode<CharT>::CLiteralNode(const CharT* chars, int count, bool rightToLeft, bool ignoreCase)
    : m_rightToLeft(rightToLeft), m_ignoreCase(ignoreCase)
{
  for (int i = 0; i < count; ++i) {
    m_chars.Push(chars[i]);
  }
}

template <typename CharT>
bool CLiteralNode<CharT>::Match(CMatchState<CharT>& state) const
{
  const int count = m_chars.GetSize();
  const int from = m_rightToLeft ? state.position - count : state.position;
  if (from < 0 || from > state.length - count) {
    return false;
  }
  if (!SameText(state.text + from, m_chars.Data(), count, m_ignoreCase)) {
    return false;
  }
  state.position += m_rightToLeft ? -count : count;
  return true;
}

template <typename CharT>
bool CLiteralNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  if (state.Step()) {
    state.position += m_rightToLeft ? m_chars.GetSize() : -m_chars.GetSize();
  }
  return false;
}

template <typename CharT>
CRegexExtent CLiteralNode<CharT>::Measure() const
{
  CRegexExtent extent = CRegexExtent::Exactly(m_chars.GetSize());
  for (int i = 0; !m_ignoreCase && i < m_chars.GetSize(); ++i) {
    extent.Require(CRegexChars<CharT>::Code(m_chars[i]));
  }
  return extent;
}

template <typename CharT>
CRegexFirst<CharT> CLiteralNode<CharT>::First() const
{
  if (m_rightToLeft || m_ignoreCase || m_chars.IsEmpty()) {
    return CRegexFirst<CharT>::Anything();
  }
  CRegexFirst<CharT> first = CRegexFirst<CharT>::Consuming();
  first.Add(CRegexChars<CharT>::Code(m_chars[0]));
  return first;
}

// --- CAnchorNode ---

template <typename CharT>
bool CAnchorNode<CharT>::Holds(const CMatchState<CharT>& state) const
{
  const int position = state.position;
  const int length = state.length;
  const int previous = state.CharAt(position - 1);
  const int current = state.CharAt(position);
  switch (m_anchor) {
    case RegexAnchor::StartOfText:
      return position == 0;
    case RegexAnchor::EndOfText:
      return position >= length;
    case RegexAnchor::EndBeforeFinalBreak:
      return position >= length || (position == length - 1 && state.CharAt(length - 1) == '\n') ||
             (position == length - 2 && state.CharAt(length - 2) == '\r' && state.CharAt(length - 1) == '\n');
    case RegexAnchor::StartOfLine:
      return position == 0 || previous == '\n' || (previous == '\r' && current != '\n');
    case RegexAnchor::EndOfLine:
      return position >= length || current == '\r' || (current == '\n' && previous != '\r');
    case RegexAnchor::WordBoundary:
      return IsWordCode(previous) != IsWordCode(current);
  }
  return false;
}

template <typename CharT>
bool CAnchorNode<CharT>::Match(CMatchState<CharT>& state) const
{
  return Holds(state) != m_negated;
}

template <typename CharT>
bool CAnchorNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  state.Step();
  return false;
}

// --- CSearchStartNode ---

template <typename CharT>
bool CSearchStartNode<CharT>::Match(CMatchState<CharT>& state) const
{
  return state.position == state.start;
}

template <typename CharT>
bool CSearchStartNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  state.Step();
  return false;
}

// --- CRegexName ---

template <typename CharT>
void CRegexName<CharT>::Assign(const CharT* chars, int count)
{
  m_chars.Clear();
  for (int i = 0; i < count; ++i) {
    m_chars.Push(chars[i]);
  }
}

template <typename CharT>
bool CRegexName<CharT>::SameAs(const CRegexName& other) const
{
  return GetLength() == other.GetLength() && SameText(Data(), other.Data(), GetLength(), true);
}

// --- CBackrefNode ---

template <typename CharT>
bool CBackrefNode<CharT>::Match(CMatchState<CharT>& state) const
{
  if (m_number < 0 || m_number >= state.captureIndex.GetSize()) {
    return false;
  }
  const int offset = state.FindLatest(m_number);
  if (offset < 0) {
    return false;
  }
  const CRegexCapture& capture = state.captures[offset];
  const int end = capture.end < 0 ? state.position : capture.end;
  int low = capture.start < end ? capture.start : end;
  int high = capture.start < end ? end : capture.start;
  low = low < 0 ? 0 : low;
  high = high > state.length ? state.length : high;
  const int count = high > low ? high - low : 0;
  const int from = m_rightToLeft ? state.position - count : state.position;
  if (from < 0 || from > state.length - count) {
    return false;
  }
  if (!SameText(state.text + from, state.text + low, count, m_ignoreCase)) {
    return false;
  }
  state.backtrack.Push(state.position);
  state.position += m_rightToLeft ? -count : count;
  return true;
}

template <typename CharT>
bool CBackrefNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  if (state.Step()) {
    state.position = state.backtrack.Pop();
  }
  return false;
}

// --- CGroupMarkNode ---

template <typename CharT>
bool CGroupMarkNode<CharT>::Match(CMatchState<CharT>& state) const
{
  if (m_number < 0) {
    return false;
  }
  return m_opens ? MatchOpen(state) : MatchClose(state);
}

template <typename CharT>
bool CGroupMarkNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  if (state.Step() && m_number >= 0) {
    if (m_opens) {
      BacktrackOpen(state);
    } else {
      BacktrackClose(state);
    }
  }
  return false;
}

template <typename CharT>
bool CGroupMarkNode<CharT>::MatchOpen(CMatchState<CharT>& state) const
{
  state.captureIndex.GrowTo(m_number, -1);
  const int latest = state.FindLatest(m_number);
  if (latest >= 0 && state.captures[latest].end < 0) {
    --state.captures[latest].extra;  // entered again before it closed
    return true;
  }
  state.captureIndex[m_number] = state.captures.GetSize();
  state.captures.Push(CRegexCapture{m_number, state.position, -1, 0});
  return true;
}

template <typename CharT>
void CGroupMarkNode<CharT>::BacktrackOpen(CMatchState<CharT>& state) const
{
  const int latest = state.FindLatest(m_number);
  if (latest < 0) {
    return;
  }
  if (state.captures[latest].extra < 0) {
    ++state.captures[latest].extra;
    return;
  }
  state.captures.Truncate(latest);
  state.captureIndex[m_number] = state.FindFrom(m_number, latest - 1);
}

template <typename CharT>
bool CGroupMarkNode<CharT>::MatchClose(CMatchState<CharT>& state) const
{
  const int latest = state.FindLatest(m_number);
  if (latest < 0) {
    return true;
  }
  CRegexCapture& capture = state.captures[latest];
  if (capture.extra < 0) {
    ++capture.extra;  // a re-entry closes
  } else {
    capture.end = state.position;
    capture.extra = state.closeCounter;
    if (state.closeCounter < INT_MAX) {
      ++state.closeCounter;  // stays non-negative: a negative fourth field means re-entered
    }
  }
  return true;
}

template <typename CharT>
void CGroupMarkNode<CharT>::BacktrackClose(CMatchState<CharT>& state) const
{
  const int latest = state.FindLatest(m_number);
  if (latest < 0) {
    return;
  }
  CRegexCapture& capture = state.captures[latest];
  if (capture.end >= 0) {
    capture.end = -1;
    capture.extra = 0;
  } else {
    --capture.extra;
  }
}

#define REGEX_INSTANTIATE(CharT)        \
  template class CEmptyNode<CharT>;     \
  template class CCharSetNode<CharT>;   \
  template class CLiteralNode<CharT>;   \
  template class CAnchorNode<CharT>;    \
  template class CSearchStartNode<CharT>; \
  template class CRegexName<CharT>;     \
  template class CBackrefNode<CharT>;   \
  template class CGroupMarkNode<CharT>;
REGEX_INSTANTIATE(char)
REGEX_INSTANTIATE(WCHAR)
