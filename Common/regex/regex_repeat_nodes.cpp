#include "regex_repeat_nodes.h"

// --- CRepeatBase ---

template <typename CharT>
CRepeatBase<CharT>::CRepeatBase(const CRegexNode<CharT>* item, int minimum, int extra)
    : m_item(item), m_set(dynamic_cast<const CCharSetNode<CharT>*>(item)), m_minimum(minimum), m_extra(extra)
{
}

template <typename CharT>
CRegexExtent CRepeatBase<CharT>::Measure() const
{
  const int most = m_extra > CRegexExtent::kUnbounded - m_minimum ? CRegexExtent::kUnbounded : m_minimum + m_extra;
  return m_item->Measure().Times(m_minimum, most);
}

template <typename CharT>
CRegexFirst<CharT> CRepeatBase<CharT>::First() const
{
  CRegexFirst<CharT> first = m_item->First();
  if (m_minimum <= 0) {
    first.empty = true;
  }
  return first;
}

template <typename CharT>
bool CRepeatBase<CharT>::MatchCountFrom(CMatchState<CharT>& state, int made, int count) const
{
  while (made < count) {
    if (m_item->Match(state)) {
      ++made;
      continue;
    }
    // Go back one iteration at a time until one finds another way.
    for (;;) {
      if (made == 0) {
        return false;
      }
      --made;
      if (m_item->Backtrack(state)) {
        ++made;
        break;
      }
    }
  }
  return true;
}

template <typename CharT>
bool CRepeatBase<CharT>::MatchCount(CMatchState<CharT>& state, int count) const
{
  if (count <= 0) {
    return true;
  }
  if (m_set != nullptr) {
    const int made = m_set->MatchRun(state, count);
    if (made == count) {
      return true;
    }
    m_set->GiveBack(state, made);
    return false;
  }
  return MatchCountFrom(state, 0, count);
}

template <typename CharT>
bool CRepeatBase<CharT>::BacktrackCount(CMatchState<CharT>& state, int count) const
{
  if (count <= 0) {
    return false;
  }
  if (m_set != nullptr) {
    if (state.Step()) {
      m_set->GiveBack(state, count);
    }
    return false;
  }
  int made = count;
  for (;;) {
    if (made == 0) {
      return false;
    }
    --made;
    if (m_item->Backtrack(state)) {
      ++made;
      break;
    }
  }
  return MatchCountFrom(state, made, count);
}

template <typename CharT>
bool CRepeatBase<CharT>::MatchConsuming(CMatchState<CharT>& state, int before) const
{
  if (!m_itemFirst.Admits(state.CharAt(state.position)) || !m_item->Match(state)) {
    return false;
  }
  while (state.position == before) {
    if (!m_item->Backtrack(state)) {
      return false;
    }
  }
  return true;
}

template <typename CharT>
bool CRepeatBase<CharT>::BacktrackConsuming(CMatchState<CharT>& state, int before) const
{
  while (m_item->Backtrack(state)) {
    if (state.position != before) {
      return true;
    }
  }
  return false;
}

template <typename CharT>
void CRepeatBase<CharT>::MatchExtra(CMatchState<CharT>& state, int extra) const
{
  int made = 0;
  if (m_set != nullptr) {
    made = m_set->MatchRun(state, extra);
  } else {
    while (made < extra && MatchConsuming(state, state.position)) {
      ++made;
    }
  }
  state.backtrack.Push(made);
}

// --- CRepeatNode ---

template <typename CharT>
bool CRepeatNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  return frame && this->MatchCount(state, this->m_minimum);
}

template <typename CharT>
bool CRepeatNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  return frame && state.Step() && this->BacktrackCount(state, this->m_minimum);
}

// --- CGreedyRepeatNode ---

template <typename CharT>
bool CGreedyRepeatNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame || !this->MatchCount(state, this->m_minimum)) {
    return false;
  }
  this->MatchExtra(state, this->m_extra);
  return true;
}

template <typename CharT>
bool CGreedyRepeatNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame || !state.Step()) {
    return false;
  }
  const int made = state.backtrack.Pop();
  if (made <= 0) {
    // No extra iteration left: the minimum finds its next way, then the extra part again.
    if (!this->BacktrackCount(state, this->m_minimum)) {
      return false;
    }
    this->MatchExtra(state, this->m_extra);
    return true;
  }
  // The latest iteration finds another way, or is given up; no further iteration is tried.
  if (this->m_set != nullptr) {
    this->m_set->GiveBack(state, 1);
    state.backtrack.Push(made - 1);
  } else {
    state.backtrack.Push(this->m_item->Backtrack(state) ? made : made - 1);
  }
  return true;
}

// --- CLazyRepeatNode ---

template <typename CharT>
bool CLazyRepeatNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame || !this->MatchCount(state, this->m_minimum)) {
    return false;
  }
  state.backtrack.Push(0);
  return true;
}

template <typename CharT>
bool CLazyRepeatNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame || !state.Step()) {
    return false;
  }
  int made = state.backtrack.Pop();
  // First one more iteration.
  const int position = state.position;
  if (made < this->m_extra && this->MatchConsuming(state, position)) {
    state.backtrack.Push(position);
    state.backtrack.Push(made + 1);
    return true;
  }
  // Then the iterations already made, newest first.
  for (; made > 0; --made) {
    const int before = state.backtrack.Pop();
    if (this->BacktrackConsuming(state, before)) {
      state.backtrack.Push(before);
      state.backtrack.Push(made);
      return true;
    }
  }
  if (!this->BacktrackCount(state, this->m_minimum)) {
    return false;
  }
  state.backtrack.Push(0);
  return true;
}

// --- CPossessiveRepeatNode ---

template <typename CharT>
bool CPossessiveRepeatNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame) {
    return false;
  }
  const auto saved = state.Save();
  if (!this->MatchCount(state, this->m_minimum)) {
    return false;
  }
  this->MatchExtra(state, this->m_extra);
  state.KeepOnlyThisWay(saved);
  return true;
}

template <typename CharT>
bool CPossessiveRepeatNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  if (state.Step()) {
    state.UndoKeptWay();
  }
  return false;
}

#define REGEX_INSTANTIATE(CharT)             \
  template class CRepeatBase<CharT>;         \
  template class CRepeatNode<CharT>;         \
  template class CGreedyRepeatNode<CharT>;   \
  template class CLazyRepeatNode<CharT>;     \
  template class CPossessiveRepeatNode<CharT>;
REGEX_INSTANTIATE(char)
REGEX_INSTANTIATE(WCHAR)
