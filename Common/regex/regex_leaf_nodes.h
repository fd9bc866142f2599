// The nodes that match on their own, without children: the empty node, character sets,
// literal runs, anchors, the search-start node, back-references and the capture marks.
#pragma once

#include <cstdint>

#include "regex_node.h"

template <typename CharT>
class CEmptyNode : public CRegexNode<CharT> {
 public:
  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return CRegexExtent::Exactly(0); }
  CRegexFirst<CharT> First() const override { return CRegexFirst<CharT>::ZeroWidth(); }
};

// A set of characters: ranges, single characters and embedded sets (stock classes and nested
// brackets), possibly negated; consumes one character in its direction.
template <typename CharT>
class CCharSetNode final : public CRegexNode<CharT> {
 public:
  CCharSetNode(bool rightToLeft, bool negated) : m_rightToLeft(rightToLeft), m_negated(negated) {}

  void AddRange(int low, int high);
  void AddChar(int code);
  void AddEmbedded(const CCharSetNode* node) { m_embedded.Push(node); }
  // Adds the case mirror of the ranges and single characters as they stand.
  void AddCaseMirror();
  // Finishes the set: builds the lookup table of the first 256 codes.
  void Seal();

  bool Contains(int code) const
  {
    const unsigned byte = static_cast<unsigned>(code) & 0xFF;
    if (sizeof(CharT) == 1 || static_cast<unsigned>(code) < 256) {
      return (m_table[byte >> 6] >> (byte & 63)) & 1;
    }
    return ContainsSlow(code);
  }

  // Consumes one member character; the position is unchanged on failure.
  bool MatchOne(CMatchState<CharT>& state) const
  {
    const int index = m_rightToLeft ? state.position - 1 : state.position;
    if (index < 0 || index >= state.length || !Contains(CRegexChars<CharT>::Code(state.text[index]))) {
      return false;
    }
    state.position += m_rightToLeft ? -1 : 1;
    return true;
  }
  // Consumes up to `most` member characters; returns how many.
  int MatchRun(CMatchState<CharT>& state, int most) const;
  // Gives back `count` characters consumed by this set.
  void GiveBack(CMatchState<CharT>& state, int count) const { state.position += m_rightToLeft ? count : -count; }

  bool Match(CMatchState<CharT>& state) const override { return MatchOne(state); }
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return CRegexExtent::Exactly(1); }
  CRegexFirst<CharT> First() const override;

 private:
  bool InRangesOrChars(int code) const;
  bool ContainsSlow(int code) const;
  // Whether a code of 256 or more may be a member.
  bool MayHoldWide() const;

  CRegexBuffer<int> m_ranges;  // low, high pairs
  CRegexBuffer<int> m_chars;
  CRegexBuffer<const CCharSetNode*> m_embedded;
  uint64_t m_table[4] = {};  // membership of codes 0-255 (8-bit: every byte), after Seal
  bool m_rightToLeft;
  bool m_negated;
};

template <typename CharT>
class CLiteralNode : public CRegexNode<CharT> {
 public:
  CLiteralNode(const CharT* chars, int count, bool rightToLeft, bool ignoreCase);

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override;
  CRegexFirst<CharT> First() const override;

 private:
  CRegexBuffer<CharT, 16> m_chars;
  bool m_rightToLeft;
  bool m_ignoreCase;
};

enum class RegexAnchor {
  StartOfText,
  EndOfText,
  EndBeforeFinalBreak,
  StartOfLine,
  EndOfLine,
  WordBoundary,
};

template <typename CharT>
class CAnchorNode : public CRegexNode<CharT> {
 public:
  CAnchorNode(RegexAnchor anchor, bool negated) : m_anchor(anchor), m_negated(negated) {}

  // Holds only at the end of the text.
  bool OnlyAtEnd() const { return m_anchor == RegexAnchor::EndOfText && !m_negated; }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return CRegexExtent::Exactly(0); }
  CRegexFirst<CharT> First() const override { return CRegexFirst<CharT>::ZeroWidth(); }

 private:
  bool Holds(const CMatchState<CharT>& state) const;

  RegexAnchor m_anchor;
  bool m_negated;
};

// Matches only where the match attempt began.
template <typename CharT>
class CSearchStartNode : public CRegexNode<CharT> {
 public:
  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return CRegexExtent::Exactly(0); }
  CRegexFirst<CharT> First() const override { return CRegexFirst<CharT>::ZeroWidth(); }
};

// Holds a group name as written in the pattern (names are resolved after parsing).
template <typename CharT>
class CRegexName {
 public:
  void Assign(const CharT* chars, int count);
  void Append(CharT c) { m_chars.Push(c); }
  // Equal length and equal once upper-cased.
  bool SameAs(const CRegexName& other) const;
  int GetLength() const { return m_chars.GetSize(); }
  const CharT* Data() const { return m_chars.Data(); }

 private:
  CRegexBuffer<CharT, 16> m_chars;
};

template <typename CharT>
class CBackrefNode : public CRegexNode<CharT> {
 public:
  CBackrefNode(int number, bool rightToLeft, bool ignoreCase)
      : m_number(number), m_rightToLeft(rightToLeft), m_ignoreCase(ignoreCase)
  {
  }

  CRegexName<CharT>& Name() { return m_name; }
  void SetNumber(int number) { m_number = number; }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;

 private:
  CRegexName<CharT> m_name;
  int m_number;
  bool m_rightToLeft;
  bool m_ignoreCase;
};

// One end of a capture group: the mark met first while matching opens the capture record,
// the other closes it.
template <typename CharT>
class CGroupMarkNode : public CRegexNode<CharT> {
 public:
  CGroupMarkNode(int number, bool opens) : m_number(number), m_opens(opens) {}

  // The group's name, on the opening mark of a named group whose name is not a number.
  CRegexName<CharT>& Name() { return m_name; }
  const CRegexName<CharT>& Name() const { return m_name; }
  bool HasName() const { return m_hasName; }
  void SetHasName(bool hasName) { m_hasName = hasName; }
  int GetNumber() const { return m_number; }
  void SetNumber(int number) { m_number = number; }

  bool Match(CMatchState<CharT>& state) const override;
  bool Backtrack(CMatchState<CharT>& state) const override;
  CRegexExtent Measure() const override { return CRegexExtent::Exactly(0); }
  CRegexFirst<CharT> First() const override { return CRegexFirst<CharT>::ZeroWidth(); }

 private:
  bool MatchOpen(CMatchState<CharT>& state) const;
  bool MatchClose(CMatchState<CharT>& state) const;
  void BacktrackOpen(CMatchState<CharT>& state) const;
  void BacktrackClose(CMatchState<CharT>& state) const;

  CRegexName<CharT> m_name;
  int m_number;
  bool m_opens;
  bool m_hasName = false;
};
