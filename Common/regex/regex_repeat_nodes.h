// The repeat nodes: a fixed count, and greedy, lazy and possessive repeats between a minimum
// and a maximum. A repeat of a character set takes a direct path that behaves exactly like
// the general one (a set has one way of matching and gives its character back when
// backtracked) without a node call per character.
#pragma once

#include "regex_leaf_nodes.h"

// What every repeat has: the item and how often it may match, `minimum` times and up to
// `extra` times more.
template <typename CharT>
class CRepeatBase : public CRegexNode<CharT> {
 public:
  CRepeatBase(const CRegexNode<CharT>* item, int minimum, int extra);

  CRegexExtent Measure() const override;
  CRegexFirst<CharT> First() const override;
  void Prepare() override { m_itemFirst = m_item->First(); }

 protected:
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

  const CRegexNode<CharT>* m_item;
  const CCharSetNode<CharT>* m_set;  // m_item when it is a character set, else null
  CRegexFirst<CharT> m_itemFirst = CRegexFirst<CharT>::Anything();  // once prepared
  int m_minimum;
  int m_extra;

 private:
  bool MatchCountFrom(CMatchState<CharT>& state, int made, int count) const;
};

// Exactly `count` times.
template <typename CharT>
class CRepeatNode : public CRepeatBase<CharT> {
 public:
  CRepeatNode(const CRegexNode<CharT>* item, int count) : CRepeatBase<CharT>(item, count, 0) {}

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
};

template <typename CharT>
class CGreedyRepeatNode : public CRepeatBase<CharT> {
 public:
  using CRepeatBase<CharT>::CRepeatBase;

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
};

template <typename CharT>
class CLazyRepeatNode : public CRepeatBase<CharT> {
 public:
  using CRepeatBase<CharT>::CRepeatBase;

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
};

// A greedy repeat that, like an atomic group, forgets its other ways of matching.
template <typename CharT>
class CPossessiveRepeatNode : public CRepeatBase<CharT> {
 public:
  using CRepeatBase<CharT>::CRepeatBase;

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
};
