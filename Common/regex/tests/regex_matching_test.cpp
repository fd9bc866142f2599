// Matching: anchors, lookarounds, atomic and possessive forms, conditionals, recursion,
// right-to-left matching, the order in which backtracking tries the ways of matching, and
// the whole-text rule.
#include <gtest/gtest.h>

#include "regex_test_support.h"

namespace {

TEST(RegexMatching, Anchors)
{
  const RegexCase cases[] = {
      {"^a$", 0, "a", "0,1"},
      {"\\Aa\\z", 0, "a", "0,1"},
      {"a$\\n", 0, "a\n", "no"},  // '$' is the end of the text
      {"a\\Z\\n", 0, "a\n", "0,2"},
      {"a\\Z\\r\\n", 0, "a\r\n", "0,3"},
      {"a\\Z\\r\\n", 0, "a\r\nb", "no"},
      {"a\\n^b", 0, "a\nb", "no"},
      {"a\\n^b", RX_MULTI_LINE, "a\nb", "0,3"},
      {"a\\r^b", RX_MULTI_LINE, "a\rb", "0,3"},
      {"a\\r^\\nb", RX_MULTI_LINE, "a\r\nb", "no"},  // not between CR and LF
      {"a$\\r\\nb", RX_MULTI_LINE, "a\r\nb", "0,4"},
      {"a\\r$\\nb", RX_MULTI_LINE, "a\r\nb", "no"},
      {"a\\b b", 0, "a b", "0,3"},
      {"a\\bb", 0, "ab", "no"},
      {"a\\Bb", 0, "ab", "0,2"},
      {"\\b", 0, "", "no"},
      {"\\Ga", 0, "a", "0,1"},  // without RX_SEARCH_ANCHOR \G is empty
      {"a\\G", 0, "a", "0,1"},
      {"a\\G", RX_SEARCH_ANCHOR, "a", "no"},
      {"\\Ga", RX_SEARCH_ANCHOR, "a", "0,1"},
      {"(?g)a\\G", 0, "a", "no"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexMatching, LookaroundsAtomicAndPossessive)
{
  const RegexCase cases[] = {
      {"(?=a)a", 0, "a", "0,1"},
      {"(?=a)b", 0, "b", "no"},
      {"(?!a).", 0, "b", "0,1"},
      {"(?!a).", 0, "a", "no"},
      {"ab(?<=ab)c", 0, "abc", "0,3"},
      {"b(?<!a)", 0, "b", "0,1"},
      {"ab(?<!ab)", 0, "ab", "no"},
      {"(?=(a))a", 0, "a", "0,1 0,1"},  // captures in a positive lookahead stay
      {"(?!(a))b", 0, "b", "0,1 -"},
      {"(?>a*)a", 0, "aaa", "no"},
      {"(?>a|ab)c", 0, "abc", "no"},
      {"(?>(a))b", 0, "ab", "0,2 0,1"},
      {"a*+a", 0, "aa", "no"},
      {"a?+a", 0, "a", "no"},
      {"a{1,3}+", 0, "aaa", "0,3"},
      {"(a|ab)?+c", 0, "abc", "no"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexMatching, Conditionals)
{
  const RegexCase cases[] = {
      {"(a)?(?(1)b|c)", 0, "ab", "0,2 0,1"},
      {"(a)?(?(1)b|c)", 0, "c", "0,1 -"},
      {"(a)?(?(1)b|c)", 0, "ac", "no"},
      {"(?(1)a|b)", 0, "b", "0,1"},  // no group 1 at all
      {"(?<n>a)?(?(n)b|c)", 0, "ab", "0,2 0,1"},
      {"(?<n>a)?(?(n)b|c)", 0, "c", "0,1 -"},
      // No group named abc: the condition is a lookahead for the text abc.
      {"(?(abc)\\w+|y)", 0, "abcd", "0,4"},
      {"(?(abc)\\w+|y)", 0, "y", "0,1"},
      {"(?(abc)\\w+|y)", 0, "abd", "no"},
      {"(?(?=a)ab|cd)", 0, "ab", "0,2"},
      {"(?(?=a)ab|cd)", 0, "cd", "0,2"},
      {"(?(?=a)ab|cd)", 0, "ad", "no"},
      {"(?(?!a)b)", 0, "b", "0,1"},
      {"(?(?=a)b)", 0, "", "0,0"},  // no no-branch: the empty string
      {"(?(1)a|b|c)(x)", 0, "cx", "0,2 1,2"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexMatching, Recursion)
{
  const RegexCase cases[] = {
      {"a(?R)?b", 0, "ab", "0,2"},
      {"a(?R)?b", 0, "aabb", "0,4"},
      {"a(?R)?b", 0, "aab", "no"},
      {"a(?0)?b", 0, "aabb", "0,4"},
      {"(a|b(?1))", 0, "bba", "0,3 0,3"},
      {"(?<x>a|b(?R<x>))", 0, "bba", "0,3 0,3"},
      {"(?<x>a|b(?R'x'))", 0, "ba", "0,2 0,2"},
      {"(?R<nope>)a", 0, "a", "0,1"},  // no target: the empty string once
      {"(?5)a", 0, "a", "0,1"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexMatching, RightToLeft)
{
  const RegexCase cases[] = {
      {"abc", RX_RIGHT_TO_LEFT, "abc", "0,3"},
      {"abc", RX_RIGHT_TO_LEFT, "abcc", "no"},
      {"(a)(b)", RX_RIGHT_TO_LEFT, "ab", "0,2 0,1 1,2"},  // captures in left-to-right order
      {"(a+)(a+)", RX_RIGHT_TO_LEFT, "aaaa", "0,4 0,1 1,4"},
      {"\\w+\\d", RX_RIGHT_TO_LEFT, "ab1", "0,3"},
      {"(a)\\1", RX_RIGHT_TO_LEFT, "aa", "no"},  // the reference is met before its group
      {"\\1(a)", RX_RIGHT_TO_LEFT, "aa", "0,2 1,2"},
      {"^ab$", RX_RIGHT_TO_LEFT, "ab", "0,2"},
      {"(?<=a)b", RX_RIGHT_TO_LEFT, "ab", "no"},
      {"a(?<=a)b", RX_RIGHT_TO_LEFT, "ab", "0,2"},
      {"a(?=b)b", RX_RIGHT_TO_LEFT, "ab", "0,2"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

// A greedy repeat stops trying further iterations once an iteration has found another way of
// matching, so some texts that other engines accept are rejected. Fixed counts and the
// minimum part of a repeat backtrack through every way.
TEST(RegexMatching, BacktrackingOrder)
{
  const RegexCase cases[] = {
      {"(a|ab)*", 0, "abab", "no"},
      {"(a|ab)*", 0, "aab", "0,3 1,3"},
      {"(a|ab)*", 0, "ab", "0,2 0,2"},
      {"(?:a|ab)*c", 0, "ababc", "no"},
      {"(?:a|ab)*c", 0, "abc", "0,3"},
      {"(a|ab)+", 0, "abab", "0,4 2,4"},  // the minimum is retried, then the extra part again
      {"(a|ab){2}", 0, "abab", "0,4 2,4"},
      {"(a|ab){2,3}", 0, "abab", "0,4 2,4"},
      {"(a|ab)?c", 0, "abc", "0,3 0,2"},
      {"(a|ab)*?c", 0, "ababc", "0,5 2,4"},
      {"(a*)*b", 0, "aab", "0,3 0,2"},
      {"(a*)+", 0, "", "0,0 0,0"},
      {"(a?)*", 0, "", "0,0 -"},  // an empty iteration is not counted
      {"(a*?)(a*)", 0, "aaa", "0,3 0,0 0,3"},
      {"a{1,3}?(a*)", 0, "aaa", "0,3 1,3"},
      {"(a|b)*", 0, "abba", "0,4 3,4"},
      {"\\d{14}|\\d{18}", 0, "123456789012345678", "0,18"},
      {"\\d{14}|\\d{18}", 0, "1234567890123456", "no"},
      {"(?:|a)", 0, "a", "0,1"},
      {"(?:||a)", 0, "a", "0,1"},
      // Two backtracked matches in a row that end empty at the start end the match.
      {"(?:|||a)", 0, "a", "no"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

// A text is first compared with what every match of the pattern must consume (its length
// bounds, characters every way of matching includes); none of these may be rejected early.
TEST(RegexMatching, EarlyRejectionKeepsEveryMatch)
{
  const RegexCase cases[] = {
      {"(?:ab)?c", 0, "c", "0,1"},
      {"a|bc", 0, "a", "0,1"},
      {"a|bc", 0, "bc", "0,2"},
      {"a|bc", 0, "abc", "no"},
      {"(?i)AB@", 0, "ab@", "0,3"},
      {"(?=x)\\w|y", 0, "y", "0,1"},
      {"(a)\\1{3}", 0, "aaaa", "0,4 0,1"},
      {"(?(1)xy|z)", 0, "z", "0,1"},
      {"(?<=a)?b", 0, "b", "0,1"},
      {"x{0}b", 0, "b", "0,1"},
      {"a*{2}b", 0, "aa{2}b", "0,6"},
      {"ab(?R)?", 0, "abab", "0,4"},
      {"\\d{16,21}", 0, std::string(21, '1'), "0,21"},
      {"\\d{16,21}", 0, std::string(22, '1'), "no"},
      {"a@b|c", RX_RIGHT_TO_LEFT, "c", "0,1"},
  };
  for (const auto& row : cases) {
    ExpectCase(row);
  }
}

TEST(RegexMatching, ResultAndState)
{
  CRegexPattern<char> pattern("(a)(x)?(b)");
  const CRegexMatch match = pattern.MatchWhole("ab");
  ASSERT_TRUE(match.IsMatched());
  EXPECT_EQ(match.GetGroupCount(), 3);
  EXPECT_EQ(match.GetSize(), 2 + 2 * 4);
  EXPECT_EQ(match.GetStart(2), -1);
  EXPECT_EQ(match.GetEnd(3), 2);
  EXPECT_EQ(match.GetStart(9), -1);  // beyond the groups

  const CRegexMatch failed = pattern.MatchWhole("abc");
  EXPECT_FALSE(failed.IsMatched());
  EXPECT_EQ(failed.GetSize(), 0);

  // One state serves match after match.
  CMatchState<char> state;
  EXPECT_TRUE(pattern.MatchWhole("axb", &state).IsMatched());
  EXPECT_FALSE(pattern.MatchWhole("axxb", &state).IsMatched());
  EXPECT_EQ(DescribeMatch(pattern.MatchWhole("ab", &state)), "0,2 0,1 - 1,2");
  EXPECT_FALSE(state.IsAborted());
}

}  // namespace
