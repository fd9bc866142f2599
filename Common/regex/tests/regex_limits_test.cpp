// The bounds on the work of one match and on the nesting of a pattern: past each bound the
// match fails (and the state says it was abandoned) instead of running without end or
// overflowing the machine stack.
#include <gtest/gtest.h>

#include <string>

#include "regex_test_support.h"

namespace {

// The first branch backtracks through every split of the digits among four repeats before
// it fails; the second then matches.
const char* const kPolynomial = "\\d*\\d*\\d*\\d*x|\\d*";

TEST(RegexLimits, BacktrackingStepsAreBounded)
{
  CRegexPattern<char> pattern(kPolynomial);
  const std::string digits(24, '7');

  CMatchState<char> generous;
  EXPECT_TRUE(pattern.MatchWhole(digits.c_str(), &generous).IsMatched());
  EXPECT_FALSE(generous.IsAborted());

  CMatchState<char> tight;
  tight.SetStepLimit(1000);
  EXPECT_FALSE(pattern.MatchWhole(digits.c_str(), &tight).IsMatched());
  EXPECT_TRUE(tight.IsAborted());

  // The same state starts afresh on the next match.
  EXPECT_TRUE(pattern.MatchWhole("7", &tight).IsMatched());
  EXPECT_FALSE(tight.IsAborted());
}

TEST(RegexLimits, DefaultStepLimitEndsARunawayMatch)
{
  CRegexPattern<char> pattern(kPolynomial);
  const std::string digits(400, '7');  // some 10^9 ways before the first branch fails
  CMatchState<char> state;
  EXPECT_FALSE(pattern.MatchWhole(digits.c_str(), &state).IsMatched());
  EXPECT_TRUE(state.IsAborted());
}

TEST(RegexLimits, RecursionOverALongTextFailsInsteadOfOverflowing)
{
  CRegexPattern<char> pattern("a(?R)?");
  EXPECT_TRUE(pattern.MatchWhole("aaaa").IsMatched());

  const std::string longText(200000, 'a');
  CMatchState<char> state;
  EXPECT_FALSE(pattern.MatchWhole(longText.c_str(), &state).IsMatched());
  EXPECT_TRUE(state.IsAborted());

  CRegexPattern<WCHAR> endless(u"(?R)");  // recurses without consuming anything
  CMatchState<WCHAR> wideState;
  EXPECT_FALSE(endless.MatchWhole(u"", &wideState).IsMatched());
  EXPECT_TRUE(wideState.IsAborted());
}

TEST(RegexLimits, LongTextsNeedNoDeepRecursion)
{
  // Repeats and sequences iterate: a megabyte of text matches without nesting node calls.
  const std::string digits(1 << 20, '5');
  EXPECT_TRUE(CRegexPattern<char>("(\\d|x)*").MatchWhole(digits.c_str()).IsMatched());
  EXPECT_TRUE(CRegexPattern<char>("(?:\\d+?)+5").MatchWhole(digits.c_str()).IsMatched());
}

TEST(RegexLimits, PatternsNestedTooDeeplyNeverMatch)
{
  const int deep = 100000;
  const std::string tooDeep = std::string(deep, '(') + "a" + std::string(deep, ')');
  CRegexPattern<char> pattern(tooDeep.c_str());
  EXPECT_FALSE(pattern.MatchWhole("a").IsMatched());

  std::string brackets = "[";  // each "[:" in a class opens a nested set
  for (int i = 0; i < deep; ++i) {
    brackets += "[:";
  }
  brackets += "a";
  EXPECT_FALSE(CRegexPattern<char>(brackets.c_str()).MatchWhole("a").IsMatched());

  const int fine = 150;
  const std::string nested = std::string(fine, '(') + "a" + std::string(fine, ')');
  const CRegexMatch match = CRegexPattern<char>(nested.c_str()).MatchWhole("a");
  ASSERT_TRUE(match.IsMatched());
  EXPECT_EQ(match.GetGroupCount(), fine);
}

}  // namespace
