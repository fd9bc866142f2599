#include "regex_composite_nodes.h"

// --- CSequenceNode ---

template <typename CharT>
void CSequenceNode<CharT>::Prepare()
{
  m_steps.Clear();
  const int count = m_children.GetSize();
  for (int i = 0; i < count; ++i) {
    // Right to left the children are matched from the last to the first.
    const CRegexNode<CharT>* child = m_children[m_rightToLeft ? count - 1 - i : i];
    m_steps.Push(Step{child, dynamic_cast<const CCharSetNode<CharT>*>(child)});
  }
  m_reach.Clear();
  const auto* last = count > 0 ? dynamic_cast<const CAnchorNode<CharT>*>(m_children[count - 1]) : nullptr;
  if (m_rightToLeft || last == nullptr || !last->OnlyAtEnd()) {
    return;
  }
  m_reach.GrowTo(count - 1, 0);
  int reach = 0;
  for (int i = count - 1; i >= 0; --i) {
    const int most = m_children[i]->Measure().maximum;
    reach = most > CRegexExtent::kUnbounded - reach ? CRegexExtent::kUnbounded : reach + most;
    m_reach[i] = reach;
  }
}

// Steps back over matched children, nearest first, until one finds another way; false when
// stepping back passes the first child.
template <typename CharT>
bool CSequenceNode<CharT>::StepBack(CMatchState<CharT>& state, int& matched) const
{
  while (matched > 0) {
    --matched;
    const Step& step = m_steps[matched];
    if (step.set != nullptr) {
      step.set->Backtrack(state);  // gives its character back; a set has no other way
    } else if (step.node->Backtrack(state)) {
      ++matched;
      return true;
    }
  }
  return false;
}

template <typename CharT>
bool CSequenceNode<CharT>::MatchFrom(CMatchState<CharT>& state, int matched) const
{
  const int count = m_steps.GetSize();
  const bool reaching = !m_reach.IsEmpty();
  while (matched < count) {
    const Step& step = m_steps[matched];
    if (reaching && m_reach[matched] < state.length - state.position) {
      if (!StepBack(state, matched)) {  // cannot reach the end from here
        return false;
      }
      continue;
    }
    if (step.set != nullptr ? step.set->MatchOne(state) : step.node->Match(state)) {
      ++matched;
    } else if (!StepBack(state, matched)) {
      return false;
    }
  }
  return true;
}

template <typename CharT>
bool CSequenceNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  return frame && MatchFrom(state, 0);
}

template <typename CharT>
bool CSequenceNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame || !state.Step()) {
    return false;
  }
  int matched = m_steps.GetSize();
  return StepBack(state, matched) && MatchFrom(state, matched);
}

template <typename CharT>
CRegexExtent CSequenceNode<CharT>::Measure() const
{
  CRegexExtent extent = CRegexExtent::Exactly(0);
  for (int i = 0; i < m_children.GetSize(); ++i) {
    extent = extent.Then(m_children[i]->Measure());
  }
  return extent;
}

template <typename CharT>
CRegexFirst<CharT> CSequenceNode<CharT>::First() const
{
  if (m_rightToLeft) {
    return CRegexFirst<CharT>::Anything();
  }
  CRegexFirst<CharT> first = CRegexFirst<CharT>::ZeroWidth();
  for (int i = 0; i < m_children.GetSize() && first.empty; ++i) {
    first = first.Then(m_children[i]->First());
  }
  return first;
}

// --- CAlternationNode ---

template <typename CharT>
bool CAlternationNode<CharT>::MatchFrom(CMatchState<CharT>& state, int first) const
{
  const int code = state.CharAt(state.position);
  const bool prepared = m_firsts.GetSize() == m_branches.GetSize();
  for (int i = first; i < m_branches.GetSize(); ++i) {
    if (prepared && !m_firsts[i].Admits(code)) {
      continue;  // the branch cannot begin here
    }
    if (m_branches[i]->Match(state)) {
      state.backtrack.Push(i);
      return true;
    }
  }
  return false;
}

template <typename CharT>
bool CAlternationNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame) {
    return false;
  }
  return m_branches.IsEmpty() || MatchFrom(state, 0);
}

template <typename CharT>
bool CAlternationNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame || !state.Step() || m_branches.IsEmpty()) {
    return false;
  }
  const int taken = state.backtrack.Pop();
  if (taken < 0 || taken >= m_branches.GetSize()) {
    return false;
  }
  if (m_branches[taken]->Backtrack(state)) {
    state.backtrack.Push(taken);
    return true;
  }
  return MatchFrom(state, taken + 1);
}

template <typename CharT>
CRegexExtent CAlternationNode<CharT>::Measure() const
{
  if (m_branches.IsEmpty()) {
    return CRegexExtent::Exactly(0);
  }
  CRegexExtent extent = m_branches[0]->Measure();
  for (int i = 1; i < m_branches.GetSize(); ++i) {
    extent = extent.Or(m_branches[i]->Measure());
  }
  return extent;
}

template <typename CharT>
CRegexFirst<CharT> CAlternationNode<CharT>::First() const
{
  if (m_branches.IsEmpty()) {
    return CRegexFirst<CharT>::ZeroWidth();
  }
  CRegexFirst<CharT> first = m_branches[0]->First();
  for (int i = 1; i < m_branches.GetSize(); ++i) {
    first = first.Or(m_branches[i]->First());
  }
  return first;
}

template <typename CharT>
void CAlternationNode<CharT>::Prepare()
{
  m_firsts.Clear();
  for (int i = 0; i < m_branches.GetSize(); ++i) {
    m_firsts.Push(m_branches[i]->First());
  }
}

// --- CLookaroundNode ---

template <typename CharT>
bool CLookaroundNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame) {
    return false;
  }
  const auto saved = state.Save();
  const bool matched = m_inner->Match(state) == m_positive;
  state.backtrack.Truncate(saved.backtrackSize);
  state.position = saved.position;
  if (matched) {
    state.backtrack.Push(saved.captureSize);
  } else {
    state.captures.Truncate(saved.captureSize);
  }
  return matched;
}

template <typename CharT>
bool CLookaroundNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  if (state.Step()) {
    state.captures.Truncate(state.backtrack.Pop());
  }
  return false;
}

// --- CAtomicNode ---

template <typename CharT>
bool CAtomicNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame) {
    return false;
  }
  const auto saved = state.Save();
  if (!m_inner->Match(state)) {
    return false;
  }
  state.KeepOnlyThisWay(saved);
  return true;
}

template <typename CharT>
bool CAtomicNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  if (state.Step()) {
    state.UndoKeptWay();
  }
  return false;
}

// --- CConditionalNode ---

template <typename CharT>
bool CConditionalNode<CharT>::ConditionHolds(CMatchState<CharT>& state) const
{
  if (m_number >= 0) {
    return m_number < state.captureIndex.GetSize() && state.FindLatest(m_number) >= 0;
  }
  if (m_condition == nullptr) {
    return true;
  }
  const auto saved = state.Save();
  const bool holds = m_condition->Match(state);
  state.backtrack.Truncate(saved.backtrackSize);
  state.position = saved.position;
  return holds;
}

template <typename CharT>
bool CConditionalNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame) {
    return false;
  }
  const int captureSize = state.captures.GetSize();
  const bool yes = ConditionHolds(state);
  const CRegexNode<CharT>* branch = yes ? m_yes : m_no;
  if (branch != nullptr && !branch->Match(state)) {
    state.captures.Truncate(captureSize);
    return false;
  }
  state.backtrack.Push(captureSize);
  state.backtrack.Push(yes ? 1 : 0);
  return true;
}

template <typename CharT>
bool CConditionalNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame || !state.Step()) {
    return false;
  }
  const int yes = state.backtrack.Pop();
  const int captureSize = state.backtrack.Pop();
  const CRegexNode<CharT>* branch = yes ? m_yes : m_no;
  if (branch != nullptr && branch->Backtrack(state)) {
    state.backtrack.Push(captureSize);
    state.backtrack.Push(yes);
    return true;
  }
  state.captures.Truncate(captureSize);
  return false;
}

// --- CRecursionNode ---

template <typename CharT>
bool CRecursionNode<CharT>::Match(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame) {
    return false;
  }
  return m_target == nullptr || m_target->Match(state);
}

template <typename CharT>
bool CRecursionNode<CharT>::Backtrack(CMatchState<CharT>& state) const
{
  CRegexFrame<CharT> frame(state);
  if (!frame || !state.Step()) {
    return false;
  }
  return m_target != nullptr && m_target->Backtrack(state);
}

#define REGEX_INSTANTIATE(CharT)          \
  template class CSequenceNode<CharT>;    \
  template class CAlternationNode<CharT>; \
  template class CLookaroundNode<CharT>;  \
  template class CAtomicNode<CharT>;      \
  template class CConditionalNode<CharT>; \
  template class CRecursionNode<CharT>;
REGEX_INSTANTIATE(char)
REGEX_INSTANTIATE(WCHAR)
