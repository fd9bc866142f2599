// The repeat nodes: a fixed count, and greedy, lazy and possessive repeats between a minimum
// and a maximum. A repeat of a character set takes a direct path that behaves exactly like
// the general one (a set has one way of matching and gives its character back when
// backtracked) without a node call per character.
#pragma once

#include "regex_leaf_nodes.h"

template <typename CharT>
class CRepeatBase : public CRegexNode<CharT> {
 protected:
  explicit CRepeatBase(const CRegexNode<CharT>* item);

  // Matches `count` iterations, backtracking earlier ones when a later one fails.
  bool MatchCount(CMatchState<CharT>& state, int count) const;
  // The next way of matching `count` iterations, latest iteration first.
  bool BacktrackCount(CMatchState<CharT>& state, int count) const;
  // Matches up to `extra` further iterations, greedily; an iteration that can only match
  // empty ends the loop. Pushes the number made.
  void MatchExtra(CMatchState<CharT>& state, int extra) const;
  // One more iteration that consumes something, or false with nothing changed.
  bool MatchConsuming(CMatchState<CharT>& state, int before) const;
  // The next way of matching the latest iteration that consumes something.
  bool BacktrackConsuming(CMatchState<CharT>& state, int before) const;

  // The item's extent from `minimum` to `minimum + extra` times.
  CRegexExtent MeasureTimes(int minimum, int extra) const
  {
    const int most = extra > CRegexExtent::kUnbounded - minimum ? CRegexExtent::kUnbounded : minimum + extra;
    return m_item->Measure().Times(minimum, most);
  }

  const CRegexNode<CharT>* m_item;
  const CCharSetNode<CharT>* m_set;  // m_item when it is a character set, else null

 private:
  bool MatchCountFrom(CMatchState<CharT>& state, int made, int count) const;
};

template <typename CharT>
class CRepeatNode : public CRepeatBase<CharT> {
 public:
  CRepeatNode(const CRegexNode<CharT>* item, int count) : CRepeatBase<CharT>(item), m_count(count) {}

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return this->m_item->Measure().Times(m_count, m_count); }

 private:
  int m_count;
};

template <typename CharT>
class CGreedyRepeatNode : public CRepeatBase<CharT> {
 public:
  CGreedyRepeatNode(const CRegexNode<CharT>* item, int minimum, int extra)
      : CRepeatBase<CharT>(item), m_minimum(minimum), m_extra(extra)
  {
  }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return this->MeasureTimes(m_minimum, m_extra); }

 private:
  int m_minimum;
  int m_extra;
};

template <typename CharT>
class CLazyRepeatNode : public CRepeatBase<CharT> {
 public:
  CLazyRepeatNode(const CRegexNode<CharT>* item, int minimum, int extra)
      : CRepeatBase<CharT>(item), m_minimum(minimum), m_extra(extra)
  {
  }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return this->MeasureTimes(m_minimum, m_extra); }

 private:
  int m_minimum;
  int m_extra;
};

// A greedy repeat that, like an atomic group, forgets its other ways of matching.
template <typename CharT>
class CPossessiveRepeatNode : public CRepeatBase<CharT> {
 public:
  CPossessiveRepeatNode(const CRegexNode<CharT>* item, int minimum, int extra)
      : CRepeatBase<CharT>(item), m_minimum(minimum), m_extra(extra)
  {
  }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return this->MeasureTimes(m_minimum, m_extra); }

 private:
  int m_minimum;
  int m_extra;
};
