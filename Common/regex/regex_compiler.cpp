#include "regex_compiler.h"

#include <climits>

#include "regex_repeat_nodes.h"

namespace {

// Counts and numeric names read at most this many digits; later digits are ignored.
template <typename CharT>
constexpr int kCountDigits = sizeof(CharT) == 1 ? 3 : 6;

template <typename CharT>
int CodeOf(CharT c)
{
  return CRegexChars<CharT>::Code(c);
}

int FlagOfLetter(int code)
{
  switch (code) {
    case 's':
    case 'S':
      return RX_SINGLE_LINE;
    case 'm':
    case 'M':
      return RX_MULTI_LINE;
    case 'g':
    case 'G':
      return RX_SEARCH_ANCHOR;
    case 'i':
    case 'I':
      return RX_IGNORE_CASE;
    default:
      return 0;
  }
}

}  // namespace

// One level of nesting while parsing; past the bound the rest of the pattern is skipped and
// the compile yields no tree.
template <typename CharT>
class CRegexNestingScope {
 public:
  CRegexNestingScope(int& nesting, bool& tooDeep, CRegexLexer<CharT>& lexer) : m_nesting(nesting)
  {
    m_entered = ++m_nesting <= CRegexCompiler<CharT>::kMaxNesting;
    if (!m_entered && !tooDeep) {
      tooDeep = true;
      lexer.SkipToEnd();
    }
  }
  ~CRegexNestingScope() { --m_nesting; }
  CRegexNestingScope(const CRegexNestingScope&) = delete;
  CRegexNestingScope& operator=(const CRegexNestingScope&) = delete;
  explicit operator bool() const { return m_entered; }

 private:
  int& m_nesting;
  bool m_entered;
};

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::Compile(CRegexBufferRef<CharT> text, int flags)
{
  m_lexer.Start(text, (flags & RX_EXTENDED) != 0);
  m_groups.Push(GroupEntry{nullptr, 0});
  const Node* root = ParseAlternation(flags);
  if (m_tooDeep) {
    return nullptr;
  }
  m_groups[0].node = root;
  Resolve();
  m_pattern.m_highestGroup = m_highestGroup;
  return root;
}

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseAlternation(int flags)
{
  CRegexNestingScope<CharT> scope(m_nesting, m_tooDeep, m_lexer);
  if (!scope || Current().IsEnd()) {
    return Stock(0);
  }
  const Node* first = ParseSequence(flags);
  if (!Current().Is('|')) {
    return first;
  }
  auto* alternation = New<CAlternationNode<CharT>>();
  alternation->Add(first);
  while (Current().Is('|')) {
    Consume();
    alternation->Add(ParseSequence(flags));
  }
  return alternation;
}

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseSequence(int& flags)
{
  CRegexBuffer<const Node*> items;
  while (!Current().IsEnd() && !Current().Is('|') && !Current().Is(')')) {
    items.Push(ParseQuantified(flags));
  }
  if (items.IsEmpty()) {
    return Stock(0);
  }
  if (items.GetSize() == 1) {
    return items[0];
  }
  auto* sequence = New<CSequenceNode<CharT>>((flags & RX_RIGHT_TO_LEFT) != 0);
  for (int i = 0; i < items.GetSize(); ++i) {
    sequence->Add(items[i]);
  }
  return sequence;
}

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseQuantified(int& flags)
{
  const Node* item = ParseSimple(flags);
  int minimum = 0;
  int maximum = 0;
  if (Current().Is('*') || Current().Is('+') || Current().Is('?')) {
    minimum = Current().Is('+') ? 1 : 0;
    maximum = Current().Is('?') ? 1 : INT_MAX;
    Consume();
  } else if (Current().Is('{')) {
    ReadBraceCounts(minimum, maximum);
  } else {
    return item;
  }
  if (maximum == 0) {
    return Stock(0);
  }
  if (minimum == maximum) {
    if (Current().Is('?') || Current().Is('+')) {
      Consume();
    }
    return New<CRepeatNode<CharT>>(item, minimum);
  }
  if (Current().Is('?')) {
    Consume();
    return New<CLazyRepeatNode<CharT>>(item, minimum, maximum - minimum);
  }
  if (Current().Is('+')) {
    Consume();
    return New<CPossessiveRepeatNode<CharT>>(item, minimum, maximum - minimum);
  }
  return New<CGreedyRepeatNode<CharT>>(item, minimum, maximum - minimum);
}

// {n}, {n,}, {n,m}: the tokens up to '}' are collected and read as counts.
template <typename CharT>
void CRegexCompiler<CharT>::ReadBraceCounts(int& minimum, int& maximum)
{
  Consume();
  CRegexBuffer<int, 16> text;
  while (!Current().Is('}') && !Current().IsEnd()) {
    const int code = CodeOf(Current().value);
    text.Push(sizeof(CharT) > 1 && code > 255 ? 0 : code);
    Consume();
  }
  Consume();
  text.Push(0);  // the collected text ends at its first 0

  int i = 0;
  const auto skipBlanks = [&] {
    while (IsRegexBlank(text[i])) {
      ++i;
    }
  };
  const auto readCount = [&](int& count) {
    if (!IsRegexDigit(text[i])) {
      return false;
    }
    count = 0;
    for (int digits = 0; IsRegexDigit(text[i]); ++i, ++digits) {
      if (digits < kCountDigits<CharT>) {
        count = count * 10 + (text[i] - '0');
      }
    }
    return true;
  };
  skipBlanks();
  if (!readCount(minimum)) {
    minimum = maximum = 0;
    return;
  }
  skipBlanks();
  if (text[i] == ',') {
    ++i;
    skipBlanks();
    if (!readCount(maximum)) {
      maximum = INT_MAX;
    }
  } else {
    maximum = minimum;
  }
  if (maximum < minimum) {
    maximum = minimum;
  }
}

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseSimple(int& flags)
{
  CRegexBuffer<CharT, 32> run;
  for (;;) {
    const CRegexToken<CharT>& token = Current();
    if (!token.special) {
      // A quantifier binds to the last character alone, which then starts a run of its own.
      if (!run.IsEmpty() && Next().IsQuantifier()) {
        break;
      }
      run.Push(token.value);
      Consume();
      if (Current().IsQuantifier()) {
        break;
      }
      continue;
    }
    if (token.IsEnd() || token.Is(')') || token.Is('|') || !run.IsEmpty()) {
      break;
    }
    switch (CodeOf(token.value)) {
      case '$':
      case '^':
      case 'A':
      case 'B':
      case 'G':
      case 'Z':
      case 'b':
      case 'z':
        return ParseAnchor(flags);
      case '(':
        return ParseGroup(flags);
      case '.':
      case '[':
      case 'D':
      case 'S':
      case 'W':
      case 'd':
      case 's':
      case 'w':
        return ParseClass(flags);
      case '\\':
      case 'g':
      case 'k':
        return ParseBackref(flags);
      default:
        // A quantifier or brace that follows nothing is a literal character.
        run.Push(token.value);
        Consume();
        break;
    }
  }
  if (run.IsEmpty()) {
    return Stock(0);
  }
  return New<CLiteralNode<CharT>>(run.Data(), run.GetSize(), (flags & RX_RIGHT_TO_LEFT) != 0,
                                  (flags & RX_IGNORE_CASE) != 0);
}

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseAnchor(int& flags)
{
  const CharT letter = Current().value;
  Consume();
  const bool multiLine = (flags & RX_MULTI_LINE) != 0;
  switch (CodeOf(letter)) {
    case '^':
      return New<CAnchorNode<CharT>>(multiLine ? RegexAnchor::StartOfLine : RegexAnchor::StartOfText, false);
    case '$':
      return New<CAnchorNode<CharT>>(multiLine ? RegexAnchor::EndOfLine : RegexAnchor::EndOfText, false);
    case 'A':
      return New<CAnchorNode<CharT>>(RegexAnchor::StartOfText, false);
    case 'z':
      return New<CAnchorNode<CharT>>(RegexAnchor::EndOfText, false);
    case 'Z':
      return New<CAnchorNode<CharT>>(RegexAnchor::EndBeforeFinalBreak, false);
    case 'b':
      return New<CAnchorNode<CharT>>(RegexAnchor::WordBoundary, false);
    case 'B':
      return New<CAnchorNode<CharT>>(RegexAnchor::WordBoundary, true);
    default:  // \G
      if (flags & RX_SEARCH_ANCHOR) {
        return New<CSearchStartNode<CharT>>();
      }
      return Stock(0);
  }
}

template <typename CharT>
const CCharSetNode<CharT>* CRegexCompiler<CharT>::GetStockClass(CharT letter, int flags)
{
  int kind = 0;
  switch (CodeOf(letter)) {
    case '.':
      kind = (flags & RX_SINGLE_LINE) ? 1 : 2;
      break;
    case 'w':
      kind = 3;
      break;
    case 'W':
      kind = 4;
      break;
    case 's':
      kind = 5;
      break;
    case 'S':
      kind = 6;
      break;
    case 'd':
      kind = 7;
      break;
    default:  // D
      kind = 8;
      break;
  }
  if (flags & RX_RIGHT_TO_LEFT) {
    kind += 8;
  }
  return static_cast<const CCharSetNode<CharT>*>(Stock(kind));
}

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseClass(int& flags)
{
  if (Current().Is('[')) {
    return ParseBracket(flags);
  }
  const CharT letter = Current().value;
  Consume();
  return GetStockClass(letter, flags);
}

// A bracket class from its '[' through its ']'.
template <typename CharT>
const CCharSetNode<CharT>* CRegexCompiler<CharT>::ParseBracket(int& flags)
{
  CRegexNestingScope<CharT> scope(m_nesting, m_tooDeep, m_lexer);
  Consume();
  bool negated = false;
  if (Current().Is('^')) {
    Consume();
    negated = true;
  }
  auto* set = New<CCharSetNode<CharT>>((flags & RX_RIGHT_TO_LEFT) != 0, negated);
  while (scope && !Current().Is(']') && !Current().IsEnd()) {
    const CRegexToken<CharT> token = Current();
    const int code = CodeOf(token.value);
    if (token.special && (code == '.' || code == 'd' || code == 'D' || code == 's' || code == 'S' || code == 'w' ||
                          code == 'W')) {
      set->AddEmbedded(GetStockClass(token.value, flags));
      Consume();
    } else if (token.Is('[') && Next().Is(':')) {
      // No named classes: "[:" opens a nested set of the characters up to its own ']'.
      set->AddEmbedded(ParseBracket(flags));
    } else if (Next().Is('-') && !NextButOne().special) {
      set->AddRange(code, CodeOf(NextButOne().value));
      Consume();
      Consume();
      Consume();
    } else {
      set->AddChar(code);
      Consume();
    }
  }
  Consume();
  if (flags & RX_IGNORE_CASE) {
    set->AddCaseMirror();
  }
  set->Seal();
  return set;
}

template <typename CharT>
void CRegexCompiler<CharT>::ReadName(CRegexName<CharT>& name)
{
  const CharT closer = Current().IsLiteral('\'') ? CharT('\'') : CharT('>');
  Consume();
  while (!Current().IsEnd() && !(Current().value == closer && !Current().special)) {
    name.Append(Current().value);
    Consume();
  }
  Consume();
}

template <typename CharT>
int CRegexCompiler<CharT>::ReadDigitTokens(int maxDigits)
{
  int value = 0;
  for (int digits = 0; digits < maxDigits && !Current().special && IsRegexDigit(CodeOf(Current().value)); ++digits) {
    value = value * 10 + (CodeOf(Current().value) - '0');
    Consume();
  }
  return value;
}

// A name made only of decimal digits is a group number; -1 for any other name.
template <typename CharT>
int CRegexCompiler<CharT>::NameAsNumber(const CRegexName<CharT>& name) const
{
  if (name.GetLength() == 0) {
    return -1;
  }
  int value = 0;
  for (int i = 0; i < name.GetLength(); ++i) {
    const int code = CodeOf(name.Data()[i]);
    if (!IsRegexDigit(code)) {
      return -1;
    }
    if (i < kCountDigits<CharT>) {
      value = value * 10 + (code - '0');
    }
  }
  return value;
}

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseBackref(int& flags)
{
  Consume();
  auto* node = New<CBackrefNode<CharT>>(0, (flags & RX_RIGHT_TO_LEFT) != 0, (flags & RX_IGNORE_CASE) != 0);
  if (Current().IsLiteral('\'') || Current().IsLiteral('<')) {
    ReadName(node->Name());
    const int number = NameAsNumber(node->Name());
    node->SetNumber(number);
    if (number < 0) {
      m_namedBackrefs.Push(node);
    }
  } else {
    node->SetNumber(ReadDigitTokens(3));
  }
  return node;
}

template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseGroup(int& flags)
{
  Consume();
  const Node* node = nullptr;
  if (!Current().Is('?')) {
    const int number = ++m_highestGroup;
    CGroupMarkNode<CharT>* open = nullptr;
    CGroupMarkNode<CharT>* close = nullptr;
    node = ParseCapture(flags, number, &open, &close);
    m_groups.GrowTo(number, GroupEntry{nullptr, 0});
    m_groups[number] = GroupEntry{node, number};
  } else {
    Consume();
    const CRegexToken<CharT>& token = Current();
    const int code = token.special ? -1 : CodeOf(token.value);
    if (token.Is('(')) {
      node = ParseConditional(flags);
    } else if (code == ':') {
      Consume();
      node = ParseAlternation(flags);
    } else if (code == '=' || code == '!') {
      Consume();
      node = New<CLookaroundNode<CharT>>(ParseAlternation(flags & ~RX_RIGHT_TO_LEFT), code == '=');
    } else if (code == '<' && (Next().IsLiteral('=') || Next().IsLiteral('!'))) {
      Consume();
      const bool positive = Current().IsLiteral('=');
      Consume();
      node = New<CLookaroundNode<CharT>>(ParseAlternation(flags | RX_RIGHT_TO_LEFT), positive);
    } else if (code == '<' || code == '\'') {
      node = ParseNamedGroup(flags);
    } else if (code == 'P') {
      Consume();
      node = ParseNamedGroup(flags);
    } else if (code == '>') {
      Consume();
      node = New<CAtomicNode<CharT>>(ParseAlternation(flags));
    } else if (code == 'R' || IsRegexDigit(code)) {
      node = ParseRecursion();
    } else {
      node = ParseInlineFlags(flags);
    }
  }
  Consume();  // the token that closes the group, whatever it is
  return node;
}

// A capture group's sequence: a mark, the contents, a mark. The mark met first while matching
// (the right one under RX_RIGHT_TO_LEFT) opens the capture.
template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseCapture(int flags, int number, CGroupMarkNode<CharT>** open,
                                                              CGroupMarkNode<CharT>** close)
{
  const bool rightToLeft = (flags & RX_RIGHT_TO_LEFT) != 0;
  auto* left = New<CGroupMarkNode<CharT>>(number, !rightToLeft);
  const Node* contents = ParseAlternation(flags);
  auto* right = New<CGroupMarkNode<CharT>>(number, rightToLeft);
  auto* sequence = New<CSequenceNode<CharT>>(rightToLeft);
  sequence->Add(left);
  sequence->Add(contents);
  sequence->Add(right);
  *open = rightToLeft ? right : left;
  *close = rightToLeft ? left : right;
  return sequence;
}

// (?<name>X), (?'name'X), (?P<name>X), (?P'name'X); the current token opens the name.
template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseNamedGroup(int& flags)
{
  CRegexName<CharT> name;
  ReadName(name);
  const int number = NameAsNumber(name);
  CGroupMarkNode<CharT>* open = nullptr;
  CGroupMarkNode<CharT>* close = nullptr;
  const Node* node = ParseCapture(flags, number, &open, &close);
  if (number < 0) {
    open->Name().Assign(name.Data(), name.GetLength());
    open->SetHasName(true);
  }
  m_namedGroups.Push(NamedGroup{node, open, close});
  return node;
}

// (?(cond)yes|no); the current token is the inner '('.
template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseConditional(int& flags)
{
  auto* node = New<CConditionalNode<CharT>>();
  if (Next().Is('?')) {
    int conditionFlags = flags;
    node->SetCondition(ParseGroup(conditionFlags));
  } else {
    Consume();
    const int nameStart = Current().start;
    const Node* test = ParseAlternation(flags & ~RX_RIGHT_TO_LEFT);
    const int nameEnd = Current().start;
    Consume();
    if (nameEnd > nameStart) {
      node->Name().Assign(m_lexer.Pattern().Data() + nameStart, nameEnd - nameStart);
    }
    const int number = NameAsNumber(node->Name());
    if (number >= 0) {
      node->SetNumber(number);
    } else {
      node->SetCondition(New<CLookaroundNode<CharT>>(test, true));
      m_namedConditions.Push(node);
    }
  }
  int branchFlags = flags;
  const Node* yes = ParseSequence(branchFlags);
  const Node* no = nullptr;
  if (Current().Is('|')) {
    Consume();
    no = ParseAlternation(branchFlags);
  }
  node->SetBranches(yes, no);
  return node;
}

// (?R), (?0), (?n), (?Rn), (?R<name>), (?R'name').
template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseRecursion()
{
  auto* node = New<CRecursionNode<CharT>>(0);
  if (Current().IsLiteral('R')) {
    Consume();
    while (!Current().special && IsRegexBlank(CodeOf(Current().value))) {
      Consume();
    }
  }
  if (Current().IsLiteral('<') || Current().IsLiteral('\'')) {
    ReadName(node->Name());
    const int number = NameAsNumber(node->Name());
    node->SetNumber(number >= 0 ? number : -3);
    if (number < 0) {
      m_namedRecursions.Push(node);
    }
  } else {
    node->SetNumber(ReadDigitTokens(kCountDigits<CharT>));
  }
  m_recursions.Push(node);
  return node;
}

// (?letters), (?letters:X) and (?letters(...; s m g i set their flag, after '-' clear it.
template <typename CharT>
const CRegexNode<CharT>* CRegexCompiler<CharT>::ParseInlineFlags(int& flags)
{
  while (!Current().special && IsRegexBlank(CodeOf(Current().value))) {
    Consume();
  }
  int newFlags = flags;
  bool clearing = false;
  for (;;) {
    const CRegexToken<CharT>& token = Current();
    const int code = CodeOf(token.value);
    if (token.IsEnd() || code == ':' || code == ')' || token.Is('(')) {
      break;
    }
    if (code == '-') {
      clearing = true;
    } else if (const int flag = FlagOfLetter(code)) {
      newFlags = clearing ? (newFlags & ~flag) : (newFlags | flag);
    }
    Consume();
  }
  if (!Current().IsEnd() && CodeOf(Current().value) == ':') {
    Consume();
    return ParseAlternation(newFlags);
  }
  if (Current().Is('(')) {
    return ParseAlternation(newFlags);
  }
  flags = newFlags;  // for the rest of the enclosing group
  return Stock(0);
}

template <typename CharT>
int CRegexCompiler<CharT>::FindGroupByName(const CRegexName<CharT>& name) const
{
  for (int i = 0; i < m_namedGroups.GetSize(); ++i) {
    const CGroupMarkNode<CharT>* open = m_namedGroups[i].open;
    if (open->HasName() && open->Name().SameAs(name)) {
      return open->GetNumber();
    }
  }
  return -3;
}

template <typename CharT>
void CRegexCompiler<CharT>::Resolve()
{
  // Named groups are numbered after the unnamed ones, one number per distinct name.
  for (int i = 0; i < m_namedGroups.GetSize(); ++i) {
    const NamedGroup& group = m_namedGroups[i];
    if (group.open->GetNumber() < 0) {
      int number = FindGroupByName(group.open->Name());
      if (number < 0) {
        number = ++m_highestGroup;
      }
      group.open->SetNumber(number);
      group.close->SetNumber(number);
    }
    m_groups.Push(GroupEntry{group.node, group.open->GetNumber()});
  }
  for (int i = 1; i < m_groups.GetSize(); ++i) {
    if (m_groups[i].number > m_highestGroup) {
      m_highestGroup = m_groups[i].number;
    }
  }
  for (int i = 0; i < m_namedRecursions.GetSize(); ++i) {
    m_namedRecursions[i]->SetNumber(FindGroupByName(m_namedRecursions[i]->Name()));
  }
  for (int i = 0; i < m_recursions.GetSize(); ++i) {
    CRecursionNode<CharT>* recursion = m_recursions[i];
    const int number = recursion->GetNumber();
    if (number == 0) {
      recursion->SetTarget(m_groups[0].node);
    } else if (number >= 1 && number <= m_highestGroup) {
      for (int entry = 1; entry < m_groups.GetSize(); ++entry) {
        if (m_groups[entry].number == number) {
          recursion->SetTarget(m_groups[entry].node);
          break;
        }
      }
    }
  }
  for (int i = 0; i < m_namedBackrefs.GetSize(); ++i) {
    m_namedBackrefs[i]->SetNumber(FindGroupByName(m_namedBackrefs[i]->Name()));
  }
  // A condition naming a known group tests that group; otherwise it stays a lookahead.
  for (int i = 0; i < m_namedConditions.GetSize(); ++i) {
    const int number = FindGroupByName(m_namedConditions[i]->Name());
    if (number >= 0) {
      m_namedConditions[i]->SetNumber(number);
      m_namedConditions[i]->SetCondition(nullptr);
    }
  }
}

template class CRegexCompiler<char>;
template class CRegexCompiler<WCHAR>;
