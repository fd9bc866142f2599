// The tab control: its messages, one row of tabs sized by text along the top or the bottom,
// taps with TCN_SELCHANGING and TCN_SELCHANGE (and a parent that keeps the current tab), painting.
#include "list_fixture.h"
#include "testing/screenshot.h"

namespace {

using TabControl = ListControlsTest;

LRESULT InsertTab(HWND tabs, WPARAM index, const char16_t* text, LPARAM param = 0)
{
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_PARAM;
  item.pszText = const_cast<LPWSTR>(text);
  item.lParam = param;
  return SendMessageW(tabs, TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
}

std::u16string TabText(HWND tabs, int index)
{
  WCHAR buffer[32] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = buffer;
  item.cchTextMax = 32;
  return SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item)) ? buffer : u"(none)";
}

RECT TabRect(HWND tabs, int index)
{
  RECT rect{};
  SendMessageW(tabs, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
  return rect;
}

TEST_F(TabControl, AnswersItsMessagesInOrder)
{
  HWND tabs = Make(WC_TABCONTROLW, 0, {0, 0, 240, 200});
  EXPECT_EQ(-1, SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
  EXPECT_EQ(0, InsertTab(tabs, 0x8000, u"余额", 11));
  EXPECT_EQ(0, SendMessageW(tabs, TCM_GETCURSEL, 0, 0));  // the first tab becomes current
  EXPECT_EQ(1, InsertTab(tabs, 0x8000, u"交易记录", 22));
  EXPECT_EQ(0, InsertTab(tabs, 0, u"信息", 33));
  EXPECT_EQ(1, SendMessageW(tabs, TCM_GETCURSEL, 0, 0));  // the current tab moved along
  EXPECT_EQ(3, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ(1, SendMessageW(tabs, TCM_GETROWCOUNT, 0, 0));
  EXPECT_EQ(u"信息", TabText(tabs, 0));
  EXPECT_EQ(u"交易记录", TabText(tabs, 2));
  EXPECT_EQ(u"(none)", TabText(tabs, 3));
  TCITEMW item{};
  item.mask = TCIF_PARAM;
  ASSERT_TRUE(SendMessageW(tabs, TCM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(11, item.lParam);
  // A short text for the room makes a cut copy.
  WCHAR small[3] = {};
  item = TCITEMW{TCIF_TEXT, 0, 0, small, 3, 0, 0};
  SendMessageW(tabs, TCM_GETITEMW, 2, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(u"交易", std::u16string(small));
  EXPECT_EQ(1, SendMessageW(tabs, TCM_SETCURSEL, 2, 0));
  EXPECT_EQ(-1, SendMessageW(tabs, TCM_SETCURSEL, 3, 0));
  EXPECT_EQ(2, SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
  EXPECT_TRUE(SendMessageW(tabs, TCM_DELETEITEM, 0, 0));
  EXPECT_EQ(1, SendMessageW(tabs, TCM_GETCURSEL, 0, 0));
  EXPECT_TRUE(SendMessageW(tabs, TCM_DELETEITEM, 1, 0));
  EXPECT_EQ(-1, SendMessageW(tabs, TCM_GETCURSEL, 0, 0));  // the current tab went
  EXPECT_FALSE(SendMessageW(tabs, TCM_DELETEITEM, 5, 0));
  EXPECT_TRUE(Take().empty());
}

TEST_F(TabControl, LaysOutOneRowSizedByTextAtTheTopOrBottom)
{
  for (DWORD style : {DWORD{0}, DWORD{TCS_BOTTOM}}) {
    HWND tabs = Make(WC_TABCONTROLW, style, {0, 0, 240, 200});
    InsertTab(tabs, 0x8000, u"余额");
    InsertTab(tabs, 0x8000, u"交易记录");
    RECT first = TabRect(tabs, 0);
    RECT second = TabRect(tabs, 1);
    EXPECT_EQ(0, first.left);
    EXPECT_EQ(first.right, second.left);
    EXPECT_EQ(first.top, second.top);
    EXPECT_GT(second.right - second.left, first.right - first.left);  // four characters against two
    if (style & TCS_BOTTOM)
      EXPECT_EQ(200, first.bottom);
    else
      EXPECT_EQ(0, first.top);
    EXPECT_FALSE(SendMessageW(tabs, TCM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&first)));
    DestroyWindow(tabs);
  }
}

TEST_F(TabControl, TapNotifiesTheParentWhichMayKeepTheCurrentTab)
{
  struct Case {
    bool veto;
    int tapped;
    std::vector<Heard> heard;
    int current;
  };
  const Case cases[] = {
      {false, 1, {Ntf(TCN_SELCHANGING), Ntf(TCN_SELCHANGE)}, 1},
      {false, 0, {}, 0},  // the current tab
      {true, 2, {Ntf(TCN_SELCHANGING)}, 0},
  };
  for (const Case& c : cases) {
    HWND tabs = Make(WC_TABCONTROLW, TCS_BOTTOM, {0, 0, 240, 200});
    for (const char16_t* text : {u"一", u"二", u"三"})
      InsertTab(tabs, 0x8000, text);
    vetoTabs = c.veto;
    RECT rect = TabRect(tabs, c.tapped);
    ASSERT_TRUE(kvtest::TapWindow(tabs, POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}));
    EXPECT_EQ(c.heard, Take()) << c.tapped;
    EXPECT_EQ(c.current, SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) << c.tapped;
    DestroyWindow(tabs);
  }
}

TEST_F(TabControl, PaintsTheCurrentTabJoinedToThePage)
{
  HWND tabs = Make(WC_TABCONTROLW, 0, {0, 0, 240, 120});
  for (const char16_t* text : {u"余额", u"交易记录", u"信息"})
    InsertTab(tabs, 0x8000, text);
  SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  RECT current = TabRect(tabs, 1);
  RECT other = TabRect(tabs, 0);
  HDC dc = GetDC(tabs);
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(dc, current.left + 2, current.bottom - 2));
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), GetPixel(dc, other.left + 2, other.bottom - 2));
  ReleaseDC(tabs, dc);
  EXPECT_FALSE(kvtest::SaveScreenshot("tab_control", tabs).empty());
}

}  // namespace
