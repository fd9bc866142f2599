// The nodes that match through other nodes: sequences, alternations, lookarounds, atomic
// groups, conditionals and recursions.
#pragma once

#include "regex_leaf_nodes.h"

template <typename CharT>
class CSequenceNode : public CRegexNode<CharT> {
 public:
  explicit CSequenceNode(bool rightToLeft) : m_rightToLeft(rightToLeft) {}

  void Add(const CRegexNode<CharT>* child) { m_children.Push(child); }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override;
  CRegexFirst<CharT> First() const override;
  void Prepare() override;

 private:
  // The children in matching order (last first right to left); a character set among them is
  // also kept as such, so that it is matched and backtracked without a node call.
  struct Step {
    const CRegexNode<CharT>* node;
    const CCharSetNode<CharT>* set;
  };
  bool MatchFrom(CMatchState<CharT>& state, int matched) const;
  bool StepBack(CMatchState<CharT>& state, int& matched) const;

  CRegexBuffer<const CRegexNode<CharT>*, 4> m_children;
  CRegexBuffer<Step, 4> m_steps;  // once prepared
  // When the sequence ends at the end of the text (its last child is such an anchor): how far
  // the children from each one on can reach at most. A child whose reach falls short of the
  // end cannot lead to a match from where it stands.
  CRegexBuffer<int, 4> m_reach;
  bool m_rightToLeft;
};

template <typename CharT>
class CAlternationNode : public CRegexNode<CharT> {
 public:
  void Add(const CRegexNode<CharT>* branch) { m_branches.Push(branch); }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override;
  CRegexFirst<CharT> First() const override;
  void Prepare() override;

 private:
  bool MatchFrom(CMatchState<CharT>& state, int first) const;

  CRegexBuffer<const CRegexNode<CharT>*, 4> m_branches;
  CRegexBuffer<CRegexFirst<CharT>, 4> m_firsts;  // of each branch, once prepared
};

template <typename CharT>
class CLookaroundNode : public CRegexNode<CharT> {
 public:
  CLookaroundNode(const CRegexNode<CharT>* inner, bool positive) : m_inner(inner), m_positive(positive) {}

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return CRegexExtent::Exactly(0); }
  CRegexFirst<CharT> First() const override { return CRegexFirst<CharT>::ZeroWidth(); }

 private:
  const CRegexNode<CharT>* m_inner;
  bool m_positive;
};

template <typename CharT>
class CAtomicNode : public CRegexNode<CharT> {
 public:
  explicit CAtomicNode(const CRegexNode<CharT>* inner) : m_inner(inner) {}

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return m_inner->Measure(); }
  CRegexFirst<CharT> First() const override { return m_inner->First(); }

 private:
  const CRegexNode<CharT>* m_inner;
};

// Matches the yes-branch when the condition holds, else the no-branch. The condition is a
// group number (the group has a capture) or, without one, a sub-tree that must match here.
template <typename CharT>
class CConditionalNode : public CRegexNode<CharT> {
 public:
  CRegexName<CharT>& Name() { return m_name; }
  int GetNumber() const { return m_number; }
  void SetNumber(int number) { m_number = number; }
  void SetCondition(const CRegexNode<CharT>* condition) { m_condition = condition; }
  void SetBranches(const CRegexNode<CharT>* yes, const CRegexNode<CharT>* no)
  {
    m_yes = yes;
    m_no = no;
  }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  // The condition's own match is undone; one of the branches (missing: empty) is consumed.
  CRegexExtent Measure() const override
  {
    const CRegexExtent yes = m_yes ? m_yes->Measure() : CRegexExtent::Exactly(0);
    return yes.Or(m_no ? m_no->Measure() : CRegexExtent::Exactly(0));
  }

 private:
  bool ConditionHolds(CMatchState<CharT>& state) const;

  CRegexName<CharT> m_name;
  int m_number = -1;
  const CRegexNode<CharT>* m_condition = nullptr;
  const CRegexNode<CharT>* m_yes = nullptr;
  const CRegexNode<CharT>* m_no = nullptr;
};

// Matches the target group's node again (the whole pattern for group 0); with no target it
// matches the empty string once.
template <typename CharT>
class CRecursionNode : public CRegexNode<CharT> {
 public:
  explicit CRecursionNode(int number) : m_number(number) {}

  CRegexName<CharT>& Name() { return m_name; }
  int GetNumber() const { return m_number; }
  void SetNumber(int number) { m_number = number; }
  void SetTarget(const CRegexNode<CharT>* target) { m_target = target; }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;

 private:
  CRegexName<CharT> m_name;
  int m_number;
  const CRegexNode<CharT>* m_target = nullptr;
};
