// CRegexPattern: the program's own backtracking regular-expression engine, for 8-bit text
// (char) and wide text (WCHAR). A pattern compiles into a tree of nodes; compilation never
// fails, every malformed pattern has a meaning. MatchWhole answers whether a way of matching
// covers the whole text, with the spans of the capture groups.
#pragma once

#include <memory>
#include <utility>

#include "base/types.h"

#include "regex_buffer.h"
#include "regex_extent.h"
#include "regex_match.h"
#include "regex_match_state.h"

template <typename CharT>
class CRegexNode;
template <typename CharT>
class CRegexCompiler;

// Compile flags; may be combined.
enum : int {
  RX_SINGLE_LINE = 1,     // '.' also matches LF (inline s)
  RX_MULTI_LINE = 2,      // '^' and '$' match at line starts and ends (inline m)
  RX_SEARCH_ANCHOR = 4,   // \G matches where the attempt began (inline g)
  RX_IGNORE_CASE = 8,     // literals and back-references compare without case (inline i)
  RX_RIGHT_TO_LEFT = 16,  // match from the end of the text leftwards
  RX_EXTENDED = 32,       // blanks outside \Q...\E are skipped, '#' starts a comment
};

template <typename CharT>
class CRegexPattern {
 public:
  CRegexPattern() = default;
  // Compiles the NUL-terminated `pattern`; a null pattern leaves a pattern that never matches.
  explicit CRegexPattern(const CharT* pattern, int flags = 0);
  ~CRegexPattern();
  CRegexPattern(const CRegexPattern&) = delete;
  CRegexPattern& operator=(const CRegexPattern&) = delete;

  // Compiles `length` characters of `pattern` (a negative length: up to its NUL), replacing
  // the previous tree. Returns the root node: null for a null pattern, and for a pattern
  // nested more than 200 groups or brackets deep, which then never matches.
  const CRegexNode<CharT>* Compile(const CharT* pattern, int length, int flags);

  // Matches the whole NUL-terminated `text` (from its end under RX_RIGHT_TO_LEFT); a null text
  // never matches. The state is the caller's when given (to set its bounds or learn whether
  // a bound was hit). A compiled pattern serves any number of matches, one after another.
  CRegexMatch MatchWhole(const CharT* text, CMatchState<CharT>* state = nullptr) const;

  int GetFlags() const { return m_flags; }
  int GetHighestGroup() const { return m_highestGroup; }

 private:
  friend class CRegexCompiler<CharT>;

  void Clear();
  // Creates a node owned by the pattern's node pool.
  template <typename Node, typename... Args>
  Node* New(Args&&... args)
  {
    auto node = std::make_unique<Node>(std::forward<Args>(args)...);
    m_pool.Push(node.get());
    return node.release();
  }
  // One of the 17 stock nodes (kinds 0-16; any other kind is 0), built on first use.
  const CRegexNode<CharT>* GetStockNode(int kind);
  CRegexMatch BuildResult(CMatchState<CharT>& state) const;
  // False when no way of matching could cover the text (its length, a required character).
  bool MayCover(const CharT* text, int length) const;

  const CRegexNode<CharT>* m_root = nullptr;
  int m_flags = 0;
  int m_highestGroup = 0;
  CRegexExtent m_extent;
  CRegexBuffer<CRegexNode<CharT>*> m_pool;
  const CRegexNode<CharT>* m_stock[17] = {};
};

extern template class CRegexPattern<char>;
extern template class CRegexPattern<WCHAR>;
