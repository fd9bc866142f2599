// Cutting a dialog's content into pages and finding the page of a control: pages never split a
// control, the last page scrolls only as far as the content needs, a control taller than the
// view counts as tall as the view.
#include <gtest/gtest.h>

#include "content_pages.h"

namespace {

// A control of the given vertical extent (x does not matter).
RECT Band(int top, int bottom)
{
  return RECT{8, top, 100, bottom};
}

// The view between a 26-pixel title strip and a soft-key bar: 26 to 294.
constexpr RECT kVisible{0, 26, 240, 294};

TEST(ContentPages, NeverSplitAControl)
{
  struct Case {
    const char* name;
    std::vector<RECT> controls;
    std::vector<int> pages;
  };
  const Case cases[] = {
      {"everything fits", {Band(30, 60), Band(100, 294)}, {0}},
      {"one pixel below: a second page, shortened to the content", {Band(30, 60), Band(270, 295)}, {0, 1}},
      {"the page starts at the first control that does not fit",
       {Band(30, 60), Band(200, 280), Band(290, 320), Band(400, 430)},
       {0, 136}},
      {"three pages", {Band(30, 60), Band(280, 310), Band(560, 600)}, {0, 254, 52}},
      {"a control inside another's band adds nothing", {Band(30, 60), Band(250, 400), Band(300, 320)}, {0, 106}},
      {"a control taller than the view counts as tall as the view", {Band(30, 60), Band(100, 900)}, {0, 74}},
      {"content over the title starts no page", {Band(10, 40), Band(100, 200)}, {0}},
      {"no controls", {}, {0}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.pages, BuildContentPages(c.controls, kVisible)) << c.name;
}

TEST(ContentPages, TheTargetsPageIsTheFirstWhoseViewHoldsIt)
{
  std::vector<RECT> controls{Band(30, 60), Band(280, 310), Band(560, 600)};
  std::vector<int> pages = BuildContentPages(controls, kVisible);
  ASSERT_EQ((std::vector<int>{0, 254, 52}), pages);
  struct Case {
    RECT target;
    int page;
  };
  const Case cases[] = {
      {Band(30, 60), 0},
      {Band(280, 310), 1},  // view 280..548
      {Band(300, 540), 1},
      {Band(560, 600), 2},  // view 332..600
      {Band(500, 560), 2},
      {Band(20, 40), 0},     // in no view: the first page
      {Band(280, 1000), 1},  // cut to the view's height: 280..548
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.page, FindContentPage(pages, kVisible, c.target)) << c.target.top << ".." << c.target.bottom;
}

TEST(ContentPages, PositionsAreRunningSums)
{
  std::vector<int> pages{0, 254, 52};
  EXPECT_EQ(0, ContentPagePosition(pages, 0));
  EXPECT_EQ(254, ContentPagePosition(pages, 1));
  EXPECT_EQ(306, ContentPagePosition(pages, 2));
  struct Case {
    int position;
    int page;
  };
  for (Case c : {Case{0, 0}, Case{1, 1}, Case{254, 1}, Case{255, 2}, Case{306, 2}, Case{400, 2}})
    EXPECT_EQ(c.page, ContentPageAt(pages, c.position)) << c.position;
}

}  // namespace
