// The layout string: four numbers and a title, in any spacing of commas.
#include <gtest/gtest.h>

#include "testing/ui_harness.h"
#include "title_layout.h"

namespace {

TEST(TitleLayout, ReadsFourNumbersAndATitle)
{
  struct Case {
    const char16_t* text;
    int numbers[4];
    const char16_t* title;
  };
  const Case cases[] = {
      {u"120,6,160,4,Korvex 钱包", {120, 6, 160, 4}, u"Korvex 钱包"},
      {u"120,,6,,,160,4,,标题", {120, 6, 160, 4}, u"标题"},  // runs of commas count as one
      {u",120,6,160,4,标题,", {120, 6, 160, 4}, u"标题"},
      {u"120,6,160,4", {120, 6, 160, 4}, u""},  // no title: the window text serves
      {u"120,6,160,4,", {120, 6, 160, 4}, u""},
      {u"120,6", {120, 6, 0, 0}, u""},
      {u"", {0, 0, 0, 0}, u""},  // no string
      {u"x,6,160,4,标题,再一段", {0, 6, 160, 4}, u"标题"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(kvtest::Narrow(c.text));
    TitleLayout layout = ParseTitleLayout(c.text);
    EXPECT_EQ(c.numbers[0], layout.portraitCenterX);
    EXPECT_EQ(c.numbers[1], layout.portraitTop);
    EXPECT_EQ(c.numbers[2], layout.landscapeCenterX);
    EXPECT_EQ(c.numbers[3], layout.landscapeTop);
    EXPECT_EQ(CStringW(c.title), layout.title);
  }
}

TEST(TitleLayout, SquareScreensTakeTheLandscapePlace)
{
  TitleLayout layout = ParseTitleLayout(u"120,6,160,4,标题");
  EXPECT_EQ(120, layout.CenterX(1));
  EXPECT_EQ(6, layout.Top(1));
  for (int orientation : {-1, 0}) {
    EXPECT_EQ(160, layout.CenterX(orientation));
    EXPECT_EQ(4, layout.Top(orientation));
  }
}

}  // namespace
