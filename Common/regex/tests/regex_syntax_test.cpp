// The pattern language as the compiler reads it: literals and escapes, quoting and case
// transforms, comments, quantifiers, classes, groups and names, and the meaning of each
// malformed form. Every row runs in both engines unless it says otherwise.
#include <gtest/gtest.h>

#include "regex_test_support.h"

namespace {

const std::string k100(100, 'a');
const std::string k1000(1000, 'a');

TEST(RegexSyntax, LiteralsAndEscapes)
{
  const RegexCase cases[] = {
      {"", 0, "", "0,0"},
      {"", 0, "a", "no"},
      {"abc", 0, "abc", "0,3"},
      {"abc", 0, "xabc", "no"},  // not a search
      {"abc", 0, "abcd", "no"},
      {"\\x41\\u0042", 0, "AB", "0,2"},
      {"\\x4g", 0, "\x04g", "0,2"},        // up to two digits
      {"\\x", 0, "x", "0,1"},               // no digit: the letter
      {"\\u", 0, "u", "0,1"},
      {"\\x{41}B", 0, "AB", "0,2"},
      {"\\x{4zz}B", 0, "\x04" "B", "0,2"},  // the rest up to '}' is skipped
      {"\\x{41", 0, "A", "0,1"},            // runs to the end
      {"\\t\\n\\r\\f\\v\\a\\e", 0, "\t\n\r\f\v\a\x1b", "0,7"},
      {"\\q\\.\\*", 0, "q.*", "0,3"},       // any other escaped character is itself
      {"a\\", 0, "a\\", "0,2"},             // a backslash at the end is literal
      {"\\x{141}", 0, "A", "0,1", kNarrowOnly},  // cut to the character width
      {"\\x{10041}", 0, "A", "0,1", kWideOnly},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, QuoteModeAndCaseTransforms)
{
  const RegexCase cases[] = {
      {"\\Qa.b\\E.", 0, "a.bx", "0,4"},
      {"\\Qa.b\\E.", 0, "axbx", "no"},
      {"\\Qa(b*", 0, "a(b*", "0,4"},  // an unclosed quote runs to the end
      {"\\Uab\\Ec", 0, "ABc", "0,3"},
      {"\\Uab\\Ec", 0, "abc", "no"},
      {"\\LAB\\UCD\\Ex", 0, "ab\\ucdx", "0,7"},  // in a quote only \E is special
      {"\\Ua\\Eb", RX_IGNORE_CASE, "AB", "0,2"},
      {"\\Q a\\E", RX_EXTENDED, " a", "0,2"},  // blanks in a quote are kept
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, CommentsAndExtendedMode)
{
  const RegexCase cases[] = {
      {"a(?#comment)b", 0, "ab", "0,2"},
      {"a(?#unterminated", 0, "a", "0,1"},
      {"a b # comment\n c", RX_EXTENDED, "abc", "0,3"},
      {"a b", 0, "a b", "0,3"},
      {"a#b", 0, "a#b", "0,3"},
      {"a #b\rc", RX_EXTENDED, "ac", "0,2"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, Quantifiers)
{
  const RegexCase cases[] = {
      {"ab*", 0, "abbb", "0,4"},
      {"ab*", 0, "abab", "no"},  // only b repeats
      {"ab+", 0, "a", "no"},
      {"ab?c", 0, "ac", "0,2"},
      {"a{2,}", 0, "a", "no"},
      {"a{2,}", 0, "aaaaa", "0,5"},
      {"a{2,3}", 0, "aaaa", "no"},
      {"a{,3}", 0, "", "0,0"},  // no first count: the item is dropped
      {"a{,3}", 0, "a", "no"},
      {"a{0}", 0, "", "0,0"},
      {"a{x}", 0, "", "0,0"},
      {"a{ 2 , 3 }", 0, "aaa", "0,3"},
      {"a{3,1}", 0, "aaa", "0,3"},  // a maximum below the minimum is the minimum
      {"a{3,1}", 0, "a", "no"},
      {"a{2}?", 0, "aa", "0,2"},  // '?' and '+' after an exact count are ignored
      {"a{2}+", 0, "aa", "0,2"},
      {"a{2", 0, "aa", "0,2"},  // an unclosed brace runs to the end
      {"*a", 0, "*a", "0,2"},   // a quantifier that follows nothing is literal
      {"a**", 0, "aa*", "0,3"},
      {"+?", 0, "", "0,0"},
      {"}a", 0, "}a", "0,2"},
      {"a{1000}", 0, k100, "0,100", kNarrowOnly},  // three digits at most
      {"a{1000}", 0, k1000, "no", kNarrowOnly},
      {"a{1000}", 0, k1000, "0,1000", kWideOnly},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, CaseBeyondAscii)
{
  // The wide engine uses the run-time's case mapping; in the 8-bit engine bytes of 0x80 and
  // above are parts of code-page characters and have no case.
  EXPECT_EQ(MatchWide(u"(?i)\\u0430\\u0451", 0, u"\u0410\u0401"), "0,2");
  EXPECT_EQ(MatchWide(u"[\\u0410]", RX_IGNORE_CASE, u"\u0430"), "0,1");
  EXPECT_EQ(MatchWide(u"[\\u0410]", 0, u"\u0430"), "no");
  EXPECT_EQ(MatchWide(u"\\U\u00e9\\E", 0, u"\u00c9"), "0,1");
  EXPECT_EQ(MatchNarrow("(?i)\\xe0", 0, "\xc0"), "no");
  EXPECT_EQ(MatchNarrow("[\\xc0]", RX_IGNORE_CASE, "\xe0"), "no");
}

TEST(RegexSyntax, WideBraceCountEndsAtAWideCharacter)
{
  // Characters above 255 are collected as 0, which ends the count text: {1...} is {1}.
  EXPECT_EQ(MatchWide(u"a{1\u4E002}", 0, u"a"), "0,1");
}

TEST(RegexSyntax, BracketClasses)
{
  const RegexCase cases[] = {
      {"[abc]", 0, "b", "0,1"},
      {"[abc]", 0, "d", "no"},
      {"[^abc]", 0, "d", "0,1"},
      {"[^abc]", 0, "a", "no"},
      {"[a-c]x", 0, "bx", "0,2"},
      {"[a-]", 0, "-", "0,1"},
      {"[a-]", 0, "b", "no"},
      {"[-a]", 0, "-", "0,1"},
      {"[\\d-z]", 0, "5", "0,1"},
      {"[\\d-z]", 0, "-", "0,1"},
      {"[\\d-z]", 0, "z", "0,1"},
      {"[\\d-z]", 0, "y", "no"},
      {"[\\w-]+", 0, "a-b_9", "0,5"},
      {"[z-a]", 0, "m", "no"},  // an inverted range is empty
      {"[[:alpha:]]", 0, ":", "0,1"},  // no named classes: a nested set
      {"[[:alpha:]]", 0, "p", "0,1"},
      {"[[:alpha:]]", 0, "b", "no"},
      {"[\\b]", 0, "\b", "0,1"},
      {"[\\Ga]", 0, "a", "0,1"},  // \G is skipped in a class
      {"[.]", 0, ".", "0,1"},
      {"[.]", 0, "x", "no"},
      {"[abc", 0, "c", "0,1"},  // an unclosed class runs to the end
      {"[a-z]", RX_IGNORE_CASE, "Q", "0,1"},
      {"[A-Z]", RX_IGNORE_CASE, "q", "0,1"},
      {"[M]", RX_IGNORE_CASE, "m", "0,1"},
      {"[^a-z]", RX_IGNORE_CASE, "Q", "no"},
      {"[a-z]", 0, "Q", "no"},
      {"[a-\\xff]", 0, "b", "no", kNarrowOnly},  // signed bytes: the range is empty
      {"[\\x80-\\xff]", 0, "\x90", "0,1", kNarrowOnly},
      {"[a-\\xff]", 0, "b", "0,1", kWideOnly},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, StockClasses)
{
  const RegexCase cases[] = {
      {".", 0, "\n", "no"},
      {".", RX_SINGLE_LINE, "\n", "0,1"},
      {"(?s).", 0, "\n", "0,1"},
      {"\\w\\W", 0, "_!", "0,2"},
      {"\\d\\D", 0, "7x", "0,2"},
      {"\\s\\S", 0, "\tx", "0,2"},
      {"\\s", 0, "\f", "no"},  // four blanks left to right
      {"\\s", RX_RIGHT_TO_LEFT, "\f", "0,1"},  // six right to left
      {"\\s", RX_RIGHT_TO_LEFT, "\v", "0,1"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, GroupsAndNumbering)
{
  const RegexCase cases[] = {
      {"1(3|5|8)\\d{9}", 0, "13812345678", "0,11 1,2"},
      {"(a)|b", 0, "b", "0,1 -"},
      {"(?:a)(b)", 0, "ab", "0,2 1,2"},
      {"((a)b)", 0, "ab", "0,2 0,2 0,1"},
      {"(a", 0, "a", "0,1 0,1"},  // an unclosed group runs to the end
      {"a)b", 0, "a", "0,1"},     // a ')' that closes nothing ends the pattern
      {"a)b", 0, "a)b", "no"},
      {"(?<x>a)(b)", 0, "ab", "0,2 1,2 0,1"},  // named groups come after the others
      {"(?'x'a)(?P<y>b)(?P'z'c)", 0, "abc", "0,3 0,1 1,2 2,3"},
      {"(?<x>a)(?<X>b)", 0, "ab", "0,2 1,2"},  // one number per name, names without case
      {"(?<2>a)(b)", 0, "ab", "0,2 1,2 0,1"},
      {"(?<x>a", 0, "a", "0,1 0,1"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, BackReferences)
{
  const RegexCase cases[] = {
      {"(a)\\1", 0, "aa", "0,2 0,1"},
      {"(a)\\1", 0, "ab", "no"},
      {"(a)\\1", RX_IGNORE_CASE, "aA", "0,2 0,1"},
      {"(a)\\g1", 0, "aa", "0,2 0,1"},
      {"(a)\\k'1'", 0, "aa", "0,2 0,1"},
      {"(?<x>a)\\k<x>", 0, "aa", "0,2 0,1"},
      {"(?<x>a)\\k<X>", 0, "aa", "0,2 0,1"},
      {"(a)\\k<y>", 0, "a", "no"},  // an unknown name never refers to a group
      {"(a)\\k<y>", 0, "aa", "no"},
      {"\\1(a)", 0, "a", "no"},     // a group without a capture yet
      {"(a\\1)", 0, "aa", "0,2 0,2"},  // an open group: what it consumed so far
      {"a\\0", 0, "aa", "0,2"},
      {"a\\g", 0, "aa", "0,2"},  // no digit: group 0
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, InlineFlags)
{
  const RegexCase cases[] = {
      {"(?i)a|b", 0, "A", "0,1"},
      {"(?i)a|b", 0, "B", "0,1"},  // holds for the later branches
      {"((?i)a)b", 0, "Ab", "0,2 0,1"},
      {"((?i)a)b", 0, "AB", "no"},  // ends with its group
      {"(?i:a)b", 0, "Ab", "0,2"},
      {"(?i:a)b", 0, "AB", "no"},
      {"(?i-i)a", 0, "A", "no"},
      {"(?-i)a", RX_IGNORE_CASE, "A", "no"},
      {"(?i(a)b)", 0, "AB", "0,2 0,1"},
      {"(?zx)a b", 0, "a b", "0,3"},  // unknown letters are ignored
      {"a(?i", 0, "a", "0,1"},
      {"(?m)a$\\nb", 0, "a\nb", "0,3"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexSyntax, ValidatorPatternsCompileAsWritten)
{
  const RegexCase cases[] = {
      {"\\d{15}$|\\d{17}[0-9xX]{1}", 0, "123456789012345", "0,15"},
      {"\\d{15}$|\\d{17}[0-9xX]{1}", 0, "12345678901234567X", "0,18"},
      {"\\d{15}$|\\d{17}[0-9xX]{1}", 0, "12345678901234567x", "0,18"},
      {"\\d{15}$|\\d{17}[0-9xX]{1}", 0, "1234567890123456", "no"},
      {"^[0-9a-zA-Z]{4}$", 0, "", "no"},
      {"^[0-9a-zA-Z]{4}$", 0, "a9Z0", "0,4"},
      {"^[\\w-]+(\\.[\\w-]+)*@[\\w-]+(\\.[\\w-]+)+$", 0, "a.b-c@mail.example.com", "0,22 1,5 18,22"},
      {"^[\\w-]+(\\.[\\w-]+)*@[\\w-]+(\\.[\\w-]+)+$", 0, "ab@localhost", "no"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
  const char16_t* name = u"^[\\u4E00-\\u9FA5A-Z]{2,32}$";
  EXPECT_EQ(MatchWide(name, 0, u"张三"), "0,2");
  EXPECT_EQ(MatchWide(name, 0, u"ZHANG"), "0,5");
  EXPECT_EQ(MatchWide(name, 0, u"张"), "no");
  EXPECT_EQ(MatchWide(name, 0, u"zhang"), "no");
  EXPECT_EQ(MatchWide(name, 0, u"\u9FA6\u4E00"), "no");
  EXPECT_EQ(MatchWide(name, 0, std::u16string(32, u'\u4E00')), "0,32");
  EXPECT_EQ(MatchWide(name, 0, std::u16string(33, u'\u4E00')), "no");
}

TEST(RegexSyntax, NullAndRecompiledPatterns)
{
  CRegexPattern<char> none(nullptr);
  EXPECT_FALSE(none.MatchWhole("").IsMatched());

  CRegexPattern<char> pattern("a");
  EXPECT_TRUE(pattern.MatchWhole("a").IsMatched());
  EXPECT_NE(pattern.Compile("(b)", 3, 0), nullptr);
  EXPECT_FALSE(pattern.MatchWhole("a").IsMatched());
  EXPECT_EQ(DescribeMatch(pattern.MatchWhole("b")), "0,1 0,1");
  EXPECT_EQ(pattern.Compile("ab", 1, 0) != nullptr, true);  // only the given length is read
  EXPECT_TRUE(pattern.MatchWhole("a").IsMatched());
  EXPECT_EQ(pattern.Compile(nullptr, 0, 0), nullptr);
  EXPECT_FALSE(pattern.MatchWhole("").IsMatched());
}

}  // namespace
