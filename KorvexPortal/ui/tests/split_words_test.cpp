// Splitting the command line: words at blanks, tabs and line ends; key and value at a colon.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "split_words.h"
#include "testing/ui_harness.h"

namespace {

std::vector<std::string> Narrowed(const std::vector<CStringW>& pieces)
{
  std::vector<std::string> out;
  for (const CStringW& piece : pieces)
    out.push_back(kvtest::Narrow(std::u16string(piece.GetString(), piece.GetLength())));
  return out;
}

using Pieces = std::vector<std::string>;

TEST(SplitOnChar, CutsAtTheSeparatorUpToTheMaximum)
{
  struct Case {
    const char16_t* text;
    int maxCount;
    Pieces expected;
  };
  const Case cases[] = {
      {u"a:b:c", 2, {"a", "b:c"}},
      {u"a:b:c", -1, {"a", "b", "c"}},
      {u"a:b:c", 1, {"a:b:c"}},
      {u":a", -1, {"", "a"}},
      {u"a:", -1, {"a"}},
      {u"a:", 2, {"a", ""}},
      {u"a::b", -1, {"a", "", "b"}},
      {u"abc", 2, {"abc"}},
      {u"", 2, {}},
      {u"/ORDERPAY:out_trade_no=1&a=b:c", 2, {"/ORDERPAY", "out_trade_no=1&a=b:c"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, Narrowed(SplitOnChar(c.text, u':', c.maxCount)))
        << kvtest::Narrow(c.text) << " max " << c.maxCount;
}

TEST(SplitWords, CutsAtRunsOfBlanksTabsAndLineEnds)
{
  struct Case {
    const char16_t* text;
    int maxCount;
    Pieces expected;
  };
  const Case cases[] = {
      {u"/ORDERPAY:x /LANG:zh", -1, {"/ORDERPAY:x", "/LANG:zh"}},
      {u"a\tb\r\nc", -1, {"a", "b", "c"}},
      {u"a   b", -1, {"a", "b"}},
      {u" a", -1, {"", "a"}},
      {u"a b ", -1, {"a", "b"}},
      {u"a b c", 2, {"a", "b c"}},
      {u"a ", 2, {"a", ""}},
      {u"word", -1, {"word"}},
      {u"", -1, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.expected, Narrowed(SplitWords(c.text, c.maxCount))) << kvtest::Narrow(c.text) << " max " << c.maxCount;
}

}  // namespace
