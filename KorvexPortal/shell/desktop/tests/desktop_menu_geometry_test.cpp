// The icon grid's arithmetic: places by screen size, the scroll steps, the key-up rules.
#include <gtest/gtest.h>

#include "desktop_menu_geometry.h"

namespace {

using namespace desktop_menu;

TEST(DesktopMenuGeometry, PlacesTheEntriesByScreenSize)
{
  struct Case {
    int width, height, scale;
    int columns;
    POINT fifth;  // entry 4
    POINT last;   // entry 8
    int content;
  } cases[] = {
      {240, 320, 1, 3, {70, 77}, {140, 152}, 227},
      {480, 640, 2, 3, {140, 154}, {280, 304}, 454},
      {320, 240, 1, 4, {0, 77}, {0, 152}, 227},
      {640, 480, 2, 4, {0, 154}, {0, 304}, 454},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    int s = c.scale;
    int columns = Columns(c.width, c.height);
    EXPECT_EQ(c.columns, columns);
    POINT first = EntryPosition(0, columns, s);
    EXPECT_EQ(0, first.x);
    EXPECT_EQ(2 * s, first.y);
    EXPECT_EQ(c.fifth.x, EntryPosition(4, columns, s).x);
    EXPECT_EQ(c.fifth.y, EntryPosition(4, columns, s).y);
    EXPECT_EQ(c.last.x, EntryPosition(8, columns, s).x);
    EXPECT_EQ(c.last.y, EntryPosition(8, columns, s).y);
    EXPECT_EQ(c.content, ContentHeight(columns, s));
  }
}

TEST(DesktopMenuGeometry, ScrollStepsStayInTheRange)
{
  // A landscape grid of 227 pixels in a list 164 high: positions 0 .. 63.
  struct Case {
    int code;
    int position;
    int thumb;
    int expected;
  } cases[] = {
      {SB_LINEDOWN, 0, 0, 10},    {SB_LINEDOWN, 60, 0, 63},   {SB_LINEDOWN, 63, 0, 63},
      {SB_LINEUP, 0, 0, 0},       {SB_LINEUP, 5, 0, 0},       {SB_PAGEDOWN, 0, 0, 20},
      {SB_PAGEUP, 30, 0, 10},     {SB_THUMBTRACK, 0, 40, 40}, {SB_THUMBPOSITION, 0, 500, 63},
      {kRowDown, 0, 0, 63},       {kRowDown, 63, 0, 63},      {kRowUp, 63, 0, 0},
      {kRowUp, 0, 0, 0},          {SB_ENDSCROLL, 30, 0, 30},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("code " + std::to_string(c.code) + " at " + std::to_string(c.position));
    ScrollState state{0, 227, 164, c.position};
    EXPECT_EQ(c.expected, NextPosition(state, c.code, c.thumb, 1));
  }
  // One row down moves at most a row (75 s) and only from the first row's reach.
  ScrollState tall{0, 454, 200, 0};
  EXPECT_EQ(150, NextPosition(tall, kRowDown, 0, 2));
  EXPECT_EQ(300, NextPosition({0, 454, 100, 150}, kRowDown, 0, 2));
  EXPECT_EQ(151, NextPosition({0, 454, 100, 151}, kRowDown, 0, 2)) << "past the first row's reach";
  EXPECT_EQ(0, NextPosition({0, 454, 100, 100}, kRowUp, 0, 2));
}

TEST(DesktopMenuGeometry, KeyUpsScrollByRows)
{
  struct Case {
    UINT key;
    int selected, previous, columns;
    int code;
    bool remember;
  } cases[] = {
      {VK_UP, 0, 3, 3, kRowUp, false},   {VK_UP, 3, 6, 3, kRowUp, true},    {VK_DOWN, 3, 0, 3, kRowDown, true},
      {VK_DOWN, 1, 0, 3, 0, true},       {VK_DOWN, 5, 8, 3, kRowUp, true},  {VK_DOWN, 8, 4, 4, kRowDown, true},
      {VK_DOWN, 8, 8, 4, 0, false},      {VK_LEFT, 2, 3, 3, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("key " + std::to_string(c.key) + " sel " + std::to_string(c.selected) + " prev " +
                 std::to_string(c.previous));
    KeyUpStep step = KeyUpScroll(c.key, c.selected, c.previous, c.columns);
    EXPECT_EQ(c.code, step.code);
    EXPECT_EQ(c.remember, step.remember);
  }
  EXPECT_EQ(3, KeyColumns(240, 1));
  EXPECT_EQ(4, KeyColumns(320, 1));
  EXPECT_EQ(3, KeyColumns(480, 2));
  EXPECT_EQ(4, KeyColumns(640, 2));
}

}  // namespace
