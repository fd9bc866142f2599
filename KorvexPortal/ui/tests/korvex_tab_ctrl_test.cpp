// The tab control with a page per tab: which page shows (visible, enabled, focused) as pages
// are added, selected and removed, the display rectangle on each side of the tabs, and a tap on
// a tab switching pages through the reflected selection change.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "korvex_tab_ctrl.h"
#include "toolkit_fixture.h"

namespace {

using kvtest::Edges;

class TabCtrlTest : public kvtest::ToolkitTest {
 protected:
  // The control over the parent's top part, with pages "A", "B" and "C"; C was disabled when it
  // was added.
  void MakeTabs(DWORD style = 0)
  {
    ASSERT_TRUE(tabs.Create(parent, RECT{0, 0, 240, 200}, nullptr,
                            WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | style));
    for (const char16_t* name : {u"A", u"B", u"C"}) {
      DWORD disabled = name == std::u16string(u"C") ? WS_DISABLED : 0;
      HWND page = CreateWindowExW(0, WC_STATICW, name, WS_CHILD | WS_VISIBLE | disabled, 0, 0, 10, 10, tabs,
                                  nullptr, nullptr, nullptr);
      pages.push_back(page);
      tabs.AddPage(name, page);
    }
  }

  // The captions of the tabs, in order.
  std::u16string Captions()
  {
    std::u16string captions;
    for (int i = 0; i < tabs.GetItemCount(); ++i) {
      WCHAR text[8] = {0};
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text;
      item.cchTextMax = 8;
      tabs.GetItem(i, &item);
      captions += text;
    }
    return captions;
  }

  CKorvexTabCtrl tabs;
  std::vector<HWND> pages;  // A, B, C
};

TEST_F(TabCtrlTest, OneShownPageFollowsAddingSelectingAndDeleting)
{
  struct Case {
    const char* name;
    std::function<void(CKorvexTabCtrl&, const std::vector<HWND>&)> act;
    int current;            // expected current tab
    std::u16string tabs;    // captions left
    int shown;              // the page (0 A, 1 B, 2 C) shown, -1 none
  };
  auto select = [](int index) { return [index](CKorvexTabCtrl& t, const std::vector<HWND>&) { t.SetCurSel(index); }; };
  auto remove = [](int index, int page) {
    return [index, page](CKorvexTabCtrl& t, const std::vector<HWND>& p) {
      EXPECT_EQ(page < 0 ? nullptr : p[static_cast<size_t>(page)], t.DeletePage(index));
    };
  };
  auto then = [](auto first, auto second) {
    return [first, second](CKorvexTabCtrl& t, const std::vector<HWND>& p) {
      first(t, p);
      second(t, p);
    };
  };
  const Case cases[] = {
      {"the first page is selected unasked", [](CKorvexTabCtrl&, const std::vector<HWND>&) {}, 0, u"ABC", 0},
      {"a page added with select", [](CKorvexTabCtrl& t, const std::vector<HWND>&) {
         HWND d = CreateWindowExW(0, WC_STATICW, u"D", WS_CHILD, 0, 0, 10, 10, t, nullptr, nullptr, nullptr);
         EXPECT_EQ(3, t.AddPage(u"D", d, TRUE));
       }, 3, u"ABCD", -1},
      {"select a tab", select(1), 1, u"ABC", 1},
      {"a page added disabled stays disabled", select(2), 2, u"ABC", 2},
      {"indexes out of range", then(select(3), select(-1)), 0, u"ABC", 0},
      {"delete a tab after the current one", remove(2, 2), 0, u"AB", 0},
      {"delete a tab before the current one", then(select(1), remove(0, 0)), 0, u"BC", 1},
      {"delete the current tab: the one before", then(select(2), remove(2, 2)), 1, u"AB", 1},
      {"delete the current first tab: the next one", remove(0, 0), 0, u"BC", 1},
      {"delete every tab", [](CKorvexTabCtrl& t, const std::vector<HWND>&) { t.DeleteAllPages(); }, -1, u"", -1},
      {"delete a bad index", remove(3, -1), 0, u"ABC", 0},
  };
  for (const Case& c : cases) {
    MakeTabs();
    c.act(tabs, pages);
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(c.current, tabs.GetCurSel()) << c.name;
    EXPECT_EQ(c.current, tabs.TabCtrlGetCurSel()) << c.name << ": the control agrees";
    EXPECT_EQ(c.tabs, Captions()) << c.name;
    HWND shown = c.shown < 0 ? nullptr : pages[static_cast<size_t>(c.shown)];
    if (c.shown >= 0) {
      EXPECT_EQ(shown, tabs.GetCurrentPage()) << c.name;
      EXPECT_EQ(shown, GetFocus()) << c.name;
    }
    for (size_t i = 0; i < pages.size(); ++i) {
      bool isShown = pages[i] == shown;
      EXPECT_EQ(isShown, IsWindowVisible(pages[i]) != FALSE) << c.name << ": page " << i;
      EXPECT_EQ(isShown && i != 2, IsWindowEnabled(pages[i]) != FALSE) << c.name << ": page " << i;
    }
    tabs.DestroyWindow();
    pages.clear();
  }
}

TEST_F(TabCtrlTest, SelectingTheCurrentTabAgainChangesNothing)
{
  MakeTabs();
  SetFocus(parent);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  tabs.SetCurSel(0);
  EXPECT_EQ(parent.m_hWnd, GetFocus());
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(pages[0], &update, FALSE)) << "no repaint asked";
}

TEST_F(TabCtrlTest, PagesFillTheDisplayRectangleOnTheSideAwayFromTheTabs)
{
  struct Case {
    const char* name;
    DWORD style;
  };
  for (const Case& c : {Case{"top", 0}, Case{"bottom", TCS_BOTTOM}, Case{"left", TCS_VERTICAL},
                        Case{"right", TCS_VERTICAL | TCS_BOTTOM}}) {
    MakeTabs(c.style);
    RECT tab{};
    ASSERT_TRUE(tabs.GetItemRect(0, &tab));
    int h = tab.bottom - tab.top, w = tab.right - tab.left;
    RECT expected = c.style == 0                               ? RECT{3, 5 + h, 237, 197}
                    : c.style == TCS_BOTTOM                    ? RECT{3, 3, 237, 195 - h}
                    : c.style == TCS_VERTICAL                  ? RECT{5 + w, 3, 237, 197}
                                                               : RECT{3, 3, 235 - w, 197};
    EXPECT_EQ(Edges(expected), Edges(tabs.GetDisplayRect())) << c.name;

    // A new size moves every page there.
    tabs.SetWindowPos(nullptr, 0, 0, 240, 300, SWP_NOZORDER | SWP_NOMOVE);
    RECT display = tabs.GetDisplayRect();
    for (HWND page : pages) {
      RECT rect;
      GetWindowRect(page, &rect);
      MapWindowPoints(nullptr, tabs, reinterpret_cast<POINT*>(&rect), 2);
      EXPECT_EQ(Edges(display), Edges(rect)) << c.name;
    }
    tabs.DestroyWindow();
    pages.clear();
  }
  // The margins grow with the screen.
  kvtest::SetScreenSize(480, 640);
  MakeTabs();
  RECT tab{};
  ASSERT_TRUE(tabs.GetItemRect(0, &tab));
  EXPECT_EQ(Edges(RECT{6, 10 + tab.bottom - tab.top, 234, 194}), Edges(tabs.GetDisplayRect())) << "480 wide";
  tabs.DestroyWindow();

  ASSERT_TRUE(tabs.Create(parent, RECT{0, 0, 0, 0}));
  EXPECT_EQ(Edges(RECT{0, 0, 0, 0}), Edges(tabs.GetDisplayRect())) << "an empty client stays as it is";
}

TEST_F(TabCtrlTest, ATapOnATabShowsItsPage)
{
  MakeTabs();
  RECT second{};
  ASSERT_TRUE(tabs.GetItemRect(1, &second));
  ASSERT_TRUE(kvtest::TapWindow(tabs, POINT{(second.left + second.right) / 2, (second.top + second.bottom) / 2}));
  EXPECT_EQ(1, tabs.GetCurSel());
  EXPECT_TRUE(IsWindowVisible(pages[1]));
  EXPECT_FALSE(IsWindowVisible(pages[0]));
  EXPECT_EQ(pages[1], GetFocus());
}

}  // namespace
