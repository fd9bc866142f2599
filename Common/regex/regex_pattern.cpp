#include "regex_pattern.h"

#include <climits>
#include <cstddef>

#include "regex_compiler.h"

template <typename CharT>
CRegexPattern<CharT>::CRegexPattern(const CharT* pattern, int flags)
{
  Compile(pattern, -1, flags);
}

template <typename CharT>
CRegexPattern<CharT>::~CRegexPattern()
{
  Clear();
}

template <typename CharT>
void CRegexPattern<CharT>::Clear()
{
  for (int i = 0; i < m_pool.GetSize(); ++i) {
    delete m_pool[i];
  }
  m_pool.Free();
  m_root = nullptr;
  m_highestGroup = 0;
  for (auto& stock : m_stock) {
    stock = nullptr;
  }
}

template <typename CharT>
const CRegexNode<CharT>* CRegexPattern<CharT>::Compile(const CharT* pattern, int length, int flags)
{
  Clear();
  m_flags = flags;
  if (pattern == nullptr) {
    return nullptr;
  }
  if (length < 0) {
    length = 0;
    while (pattern[length] != 0 && length < INT_MAX) {
      ++length;
    }
  }
  m_root = CRegexCompiler<CharT>(*this).Compile(CRegexBufferRef<CharT>(pattern, length), flags);
  if (m_root == nullptr) {
    Clear();  // nested too deeply: the pattern never matches
    return nullptr;
  }
  m_extent = m_root->Measure();
  for (int i = 0; i < m_pool.GetSize(); ++i) {
    m_pool[i]->Prepare();
  }
  return m_root;
}

template <typename CharT>
const CRegexNode<CharT>* CRegexPattern<CharT>::GetStockNode(int kind)
{
  if (kind < 0 || kind > 16) {
    kind = 0;
  }
  if (m_stock[kind] != nullptr) {
    return m_stock[kind];
  }
  if (kind == 0) {
    m_stock[0] = New<CEmptyNode<CharT>>();
    return m_stock[0];
  }
  // Kinds 9-16 are kinds 1-8 built right to left.
  const bool rightToLeft = kind >= 9;
  const int base = rightToLeft ? kind - 8 : kind;
  const bool negated = base == 1 || base == 2 || base % 2 == 0;
  auto* set = New<CCharSetNode<CharT>>(rightToLeft, negated);
  switch (base) {
    case 2:  // any character but LF
      set->AddChar('\n');
      break;
    case 3:
    case 4:  // \w \W
      set->AddRange('A', 'Z');
      set->AddRange('a', 'z');
      set->AddRange('0', '9');
      set->AddChar('_');
      break;
    case 5:
    case 6:  // \s \S; right to left also FF and VT
      set->AddChar(' ');
      set->AddChar('\t');
      set->AddChar('\r');
      set->AddChar('\n');
      if (rightToLeft) {
        set->AddChar('\f');
        set->AddChar('\v');
      }
      break;
    case 7:
    case 8:  // \d \D
      set->AddRange('0', '9');
      break;
    default:  // any character: the negated empty set
      break;
  }
  set->Seal();
  m_stock[kind] = set;
  return set;
}

template <typename CharT>
CRegexMatch CRegexPattern<CharT>::MatchWhole(const CharT* text, CMatchState<CharT>* state) const
{
  if (m_root == nullptr || text == nullptr) {
    return CRegexMatch();
  }
  size_t measured = 0;
  while (text[measured] != 0) {
    if (++measured > static_cast<size_t>(INT_MAX)) {
      return CRegexMatch();
    }
  }
  const int length = static_cast<int>(measured);
  if (!MayCover(text, length)) {
    return CRegexMatch();
  }

  CMatchState<CharT> localState;
  CMatchState<CharT>& s = state != nullptr ? *state : localState;
  const bool rightToLeft = (m_flags & RX_RIGHT_TO_LEFT) != 0;
  s.Prepare(text, length, rightToLeft);
  s.captureIndex.GrowTo(m_highestGroup, -1);
  s.captureIndex[0] = 0;
  s.captures.Push(CRegexCapture{0, s.start, -1, -1});

  const int farEnd = rightToLeft ? 0 : length;
  if (!m_root->Match(s)) {
    return CRegexMatch();
  }
  // The first way of matching, in backtracking order, that reaches the far end.
  for (;;) {
    if (s.IsAborted()) {
      return CRegexMatch();
    }
    if (s.position == farEnd) {
      const int whole = s.FindLatest(0);
      if (whole >= 0) {
        s.captures[whole].end = farEnd;
      }
      return BuildResult(s);
    }
    if (!m_root->Backtrack(s) || s.IsAborted()) {
      return CRegexMatch();
    }
    if (s.start == s.previousEnd && s.previousEnd == s.position) {
      return CRegexMatch();  // an empty match repeated
    }
    s.previousEnd = s.position;
  }
}

template <typename CharT>
bool CRegexPattern<CharT>::MayCover(const CharT* text, int length) const
{
  if (length < m_extent.minimum || length > m_extent.maximum) {
    return false;
  }
  for (int r = 0; r < m_extent.requiredCount; ++r) {
    const int code = m_extent.required[r];
    int i = 0;
    while (i < length && CRegexChars<CharT>::Code(text[i]) != code) {
      ++i;
    }
    if (i == length) {
      return false;
    }
  }
  return true;
}

template <typename CharT>
CRegexMatch CRegexPattern<CharT>::BuildResult(CMatchState<CharT>& state) const
{
  CRegexMatch result;
  result.Append(1);
  result.Append(m_highestGroup);
  for (int group = 0; group <= m_highestGroup; ++group) {
    const int offset = state.FindLatest(group);
    if (offset < 0) {
      result.Append(-1);
      result.Append(-1);
      continue;
    }
    const CRegexCapture& capture = state.captures[offset];
    result.Append(capture.start < capture.end ? capture.start : capture.end);
    result.Append(capture.start < capture.end ? capture.end : capture.start);
  }
  return result;
}

template class CRegexPattern<char>;
template class CRegexPattern<WCHAR>;
