// LISTBOX: its messages step by step, sorting by the style of the moment, the selection as items
// come and go, notifications from keys and taps, owner drawing and painting.
#include "list_fixture.h"
#include "testing/screenshot.h"

namespace {

using ListBox = ListControlsTest;

LPARAM Text(const char16_t* text) { return reinterpret_cast<LPARAM>(text); }

std::u16string ItemText(HWND list, int index)
{
  WCHAR buffer[64] = {};
  SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::vector<std::u16string> Items(HWND list)
{
  std::vector<std::u16string> items;
  for (int i = 0; i < SendMessageW(list, LB_GETCOUNT, 0, 0); ++i)
    items.push_back(ItemText(list, i));
  return items;
}

TEST_F(ListBox, AnswersItsMessagesInOrder)
{
  HWND list = Make(WC_LISTBOXW, LBS_HASSTRINGS);
  const MessageStep steps[] = {
      {LB_GETCOUNT, 0, 0, 0},
      {LB_GETCURSEL, 0, 0, LB_ERR},
      {LB_ADDSTRING, 0, Text(u"充值"), 0},
      {LB_ADDSTRING, 0, Text(u"转账"), 1},
      {LB_INSERTSTRING, 0, Text(u"付款"), 0},
      {LB_INSERTSTRING, static_cast<WPARAM>(-1), Text(u"查询"), 3},
      {LB_INSERTSTRING, 9, Text(u"too far"), LB_ERR},
      {LB_GETCOUNT, 0, 0, 4},
      {LB_GETTEXTLEN, 1, 0, 2},
      {LB_GETTEXTLEN, 4, 0, LB_ERR},
      {LB_SETITEMDATA, 2, 0x1234, TRUE},
      {LB_GETITEMDATA, 2, 0, 0x1234},
      {LB_GETITEMDATA, 7, 0, LB_ERR},
      {LB_SETCURSEL, 2, 0, 2},
      {LB_GETCURSEL, 0, 0, 2},
      {LB_SETCURSEL, 4, 0, LB_ERR},
      {LB_GETCURSEL, 0, 0, LB_ERR},
      {LB_SETCURSEL, 1, 0, 1},
      {LB_DELETESTRING, 0, 0, 3},  // before the selection: it moves up with its item
      {LB_GETCURSEL, 0, 0, 0},
      {LB_DELETESTRING, 0, 0, 2},  // the selected item: no selection left
      {LB_GETCURSEL, 0, 0, LB_ERR},
      {LB_DELETESTRING, 5, 0, LB_ERR},
      {LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), Text(u"查询"), 1},
      {LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), Text(u"查"), LB_ERR},
      {LB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0), LB_OKAY},
      {LB_GETITEMHEIGHT, 0, 0, 20},
      {LB_SETITEMHEIGHT, 0, MAKELPARAM(300, 0), LB_ERR},
      {LB_RESETCONTENT, 0, 0, LB_OKAY},
      {LB_GETCOUNT, 0, 0, 0},
      {LB_GETTEXTLEN, 0, 0, LB_ERR},
  };
  ExpectAnswers(list, steps);
}

TEST_F(ListBox, KeepsTextsAndTellsItemRectangles)
{
  HWND list = Make(WC_LISTBOXW, 0);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(18, 0));
  for (const char16_t* text : {u"a", u"b", u"c", u"d", u"e", u"f", u"g"})
    SendMessageW(list, LB_ADDSTRING, 0, Text(text));
  EXPECT_EQ((std::vector<std::u16string>{u"a", u"b", u"c", u"d", u"e", u"f", u"g"}), Items(list));
  RECT rect{};
  ASSERT_EQ(1, SendMessageW(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rect)));
  EXPECT_EQ((RECT{0, 36, 140, 54}), rect);
  // Selecting an item below the visible ones scrolls it into view: 100 pixels show 5 rows.
  SendMessageW(list, LB_SETCURSEL, 6, 0);
  EXPECT_EQ(2, SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  SendMessageW(list, LB_GETITEMRECT, 6, reinterpret_cast<LPARAM>(&rect));
  EXPECT_EQ((RECT{0, 72, 140, 90}), rect);
  EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETITEMRECT, 7, reinterpret_cast<LPARAM>(&rect)));
}

TEST_F(ListBox, ScrollBarComesAndGoesWithTheItems)
{
  HWND list = Make(WC_LISTBOXW, WS_VSCROLL);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0));
  auto hasBar = [&] { return (GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) != 0; };
  EXPECT_FALSE(hasBar());
  for (int i = 0; i < 7; ++i)
    SendMessageW(list, LB_ADDSTRING, 0, Text(u"行"));
  EXPECT_TRUE(hasBar());
  SendMessageW(list, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(2, SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  EXPECT_FALSE(hasBar());
  SendMessageW(list, LB_ADDSTRING, 0, Text(u"行"));
  for (int i = 0; i < 6; ++i)
    SendMessageW(list, LB_ADDSTRING, 0, Text(u"行"));
  EXPECT_TRUE(hasBar());
}

TEST_F(ListBox, SortsByTheStyleAtEachAddition)
{
  HWND list = Make(WC_LISTBOXW, LBS_SORT);
  for (const char16_t* text : {u"pear", u"Apple", u"fig"})
    SendMessageW(list, LB_ADDSTRING, 0, Text(text));
  EXPECT_EQ((std::vector<std::u16string>{u"Apple", u"fig", u"pear"}), Items(list));
  SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) & ~LBS_SORT);
  EXPECT_EQ(3, SendMessageW(list, LB_ADDSTRING, 0, Text(u"banana")));
  EXPECT_EQ((std::vector<std::u16string>{u"Apple", u"fig", u"pear", u"banana"}), Items(list));
}

TEST_F(ListBox, NotifiesTapsAndKeysOnlyWithNotifyStyle)
{
  struct Case {
    DWORD style;
    std::vector<Heard> afterTap;
    std::vector<Heard> afterSecondTap;
    std::vector<Heard> afterKeys;
  };
  const Case cases[] = {
      {LBS_NOTIFY, {Cmd(LBN_SETFOCUS), Cmd(LBN_SELCHANGE)}, {Cmd(LBN_DBLCLK)}, {Cmd(LBN_SELCHANGE), Cmd(LBN_SELCHANGE)}},
      {0, {}, {}, {}},
  };
  for (const Case& c : cases) {
    HWND list = Make(WC_LISTBOXW, c.style);
    SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0));
    for (const char16_t* text : {u"一", u"二", u"三"})
      SendMessageW(list, LB_ADDSTRING, 0, Text(text));
    Take();
    ASSERT_TRUE(kvtest::TapWindow(list, POINT{30, 25}));
    EXPECT_EQ(c.afterTap, Take()) << c.style;
    EXPECT_EQ(1, SendMessageW(list, LB_GETCURSEL, 0, 0));
    // The same item again is a double tap; setting by message never notifies.
    ASSERT_TRUE(kvtest::TapWindow(list, POINT{30, 25}));
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    EXPECT_EQ(c.afterSecondTap, Take()) << c.style;
    // Down twice: to 1, to 2; a third time at the end does nothing.
    for (int i = 0; i < 3; ++i)
      ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
    EXPECT_EQ(c.afterKeys, Take()) << c.style;
    EXPECT_EQ(2, SendMessageW(list, LB_GETCURSEL, 0, 0));
    ASSERT_TRUE(kvtest::PressKey(VK_HOME));
    EXPECT_EQ(0, SendMessageW(list, LB_GETCURSEL, 0, 0));
    DestroyWindow(list);
    Take();
  }
}

TEST_F(ListBox, OwnerDrawnListMeasuresOnceAndDrawsEachVisibleItem)
{
  rowHeight = 30;
  HWND list = Make(WC_LISTBOXW, LBS_OWNERDRAWFIXED, {10, 10, 150, 80});
  EXPECT_EQ((std::vector<Heard>{{WM_MEASUREITEM, ODT_LISTBOX}}), Take());
  EXPECT_EQ(30, SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  // Without LBS_HASSTRINGS the list keeps the caller's value as item data.
  for (LPARAM data : {11, 22, 33, 44})
    SendMessageW(list, LB_ADDSTRING, 0, data);
  EXPECT_EQ(33, SendMessageW(list, LB_GETITEMDATA, 2, 0));
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  drawn.clear();
  Take();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  // 70 pixels show rows 0, 1 and part of 2; the colour request comes first.
  EXPECT_EQ((std::vector<Heard>{{WM_CTLCOLORLISTBOX, 0}, {WM_DRAWITEM, 0}, {WM_DRAWITEM, 1}, {WM_DRAWITEM, 2}}),
            Take(true));
  ASSERT_EQ(3u, drawn.size());
  EXPECT_EQ(static_cast<UINT>(ODT_LISTBOX), drawn[1].CtlType);
  EXPECT_EQ(100u, drawn[1].CtlID);
  EXPECT_EQ(static_cast<UINT>(ODS_SELECTED), drawn[1].itemState);
  EXPECT_EQ(0u, drawn[0].itemState);
  EXPECT_EQ(22u, drawn[1].itemData);
  EXPECT_EQ((RECT{0, 30, 140, 60}), drawn[1].rcItem);
}

TEST_F(ListBox, PaintsTheParentsBackgroundAndTheSelection)
{
  HWND list = Make(WC_LISTBOXW, 0);
  SendMessageW(list, LB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0));
  for (const char16_t* text : {u"余额", u"明细"})
    SendMessageW(list, LB_ADDSTRING, 0, Text(text));
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  HDC dc = GetDC(list);
  EXPECT_EQ(RGB(0xF0, 0xF0, 0xE0), GetPixel(dc, 130, 90));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, 130, 25));
  ReleaseDC(list, dc);
  EXPECT_FALSE(kvtest::SaveScreenshot("list_box", list).empty());
}

}  // namespace
