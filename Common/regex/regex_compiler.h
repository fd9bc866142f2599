// The compiler of CRegexPattern: a recursive-descent parser over the lexer's tokens, one
// operation per grammar rule, that builds the node tree into the pattern's node pool, then
// resolves group names and numbers. It lives only while one pattern compiles.
#pragma once

#include "regex_composite_nodes.h"
#include "regex_lexer.h"
#include "regex_pattern.h"

template <typename CharT>
class CRegexCompiler {
 public:
  // Patterns nested deeper than this (groups, lookarounds, brackets) compile to a pattern that
  // never matches, so that neither compiling nor matching can exhaust the machine stack.
  static constexpr int kMaxNesting = 200;

  explicit CRegexCompiler(CRegexPattern<CharT>& pattern) : m_pattern(pattern) {}

  // Parses the pattern text and returns the root (null when nested too deeply).
  const CRegexNode<CharT>* Compile(CRegexBufferRef<CharT> text, int flags);

 private:
  using Node = CRegexNode<CharT>;

  // One capture group: its node (the root for group 0) and its number.
  struct GroupEntry {
    const Node* node;
    int number;
  };
  // A named group: its sequence and its two marks, which take its number when resolved.
  struct NamedGroup {
    const Node* node;
    CGroupMarkNode<CharT>* open;
    CGroupMarkNode<CharT>* close;
  };

  const Node* ParseAlternation(int flags);
  const Node* ParseSequence(int& flags);
  const Node* ParseQuantified(int& flags);
  const Node* ParseSimple(int& flags);
  const Node* ParseClass(int& flags);
  const CCharSetNode<CharT>* ParseBracket(int& flags);
  const Node* ParseAnchor(int& flags);
  const Node* ParseBackref(int& flags);
  const Node* ParseGroup(int& flags);
  const Node* ParseCapture(int flags, int number, CGroupMarkNode<CharT>** open, CGroupMarkNode<CharT>** close);
  const Node* ParseNamedGroup(int& flags);
  const Node* ParseConditional(int& flags);
  const Node* ParseRecursion();
  const Node* ParseInlineFlags(int& flags);
  void ReadBraceCounts(int& minimum, int& maximum);
  void ReadName(CRegexName<CharT>& name);
  int ReadDigitTokens(int maxDigits);
  int NameAsNumber(const CRegexName<CharT>& name) const;
  const CCharSetNode<CharT>* GetStockClass(CharT letter, int flags);

  void Resolve();
  int FindGroupByName(const CRegexName<CharT>& name) const;

  template <typename T, typename... Args>
  T* New(Args&&... args)
  {
    return m_pattern.template New<T>(std::forward<Args>(args)...);
  }
  const Node* Stock(int kind) { return m_pattern.GetStockNode(kind); }
  const CRegexToken<CharT>& Current() const { return m_lexer.Current(); }
  const CRegexToken<CharT>& Next() const { return m_lexer.Next(); }
  const CRegexToken<CharT>& NextButOne() const { return m_lexer.NextButOne(); }
  void Consume() { m_lexer.NextToken(); }

  CRegexPattern<CharT>& m_pattern;
  CRegexLexer<CharT> m_lexer;
  int m_highestGroup = 0;
  CRegexBuffer<GroupEntry> m_groups;
  CRegexBuffer<NamedGroup> m_namedGroups;
  CRegexBuffer<CRecursionNode<CharT>*> m_recursions;
  CRegexBuffer<CRecursionNode<CharT>*> m_namedRecursions;
  CRegexBuffer<CBackrefNode<CharT>*> m_namedBackrefs;
  CRegexBuffer<CConditionalNode<CharT>*> m_namedConditions;
  int m_nesting = 0;
  bool m_tooDeep = false;
};
