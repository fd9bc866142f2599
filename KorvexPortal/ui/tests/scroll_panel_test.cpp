// The scroll panel: a control moves into a viewport inside a container in its place, skinned
// bars lie over its own and follow it, their codes scroll it, and it comes back on detach.
#include "scroll_panel.h"

#include "app_services.h"
#include "scroll_skin_fixture.h"
#include "test_resource_library.h"
#include "testing/screenshot.h"

namespace {

using namespace kvtest;
using namespace scrolltest;

constexpr int K = 13;  // the skin's cells, as wide as the platform's own scroll bars at 240 x 320

class ScrollPanelTest : public ScrollFixture {
 protected:
  void SetUp() override
  {
    ScrollFixture::SetUp();
    HMODULE library = MakeResourceLibrary(root, "PanelRes", "229 BITMAP \"scroll.bmp\"\n", {{"scroll.bmp", SkinBmp(K)}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
    UseVirtualTime();
  }

  // A list of 40 rows; LBS_DISABLENOSCROLL keeps its bar while it is still empty.
  HWND MakeList(RECT rect, DWORD style = WS_VSCROLL | WS_BORDER | LBS_DISABLENOSCROLL)
  {
    HWND list = CreateWindowExW(0, WC_LISTBOXW, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, rect.left,
                                rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(300)), nullptr, nullptr);
    for (int i = 0; i < 40; ++i) {
      std::u16string text = u"第" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"行";
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    return list;
  }
  // A plain window with the bars of its style, each able to scroll.
  HWND MakeScrollingWindow(DWORD style, DWORD exStyle)
  {
    HWND window = CreateRecordingWindow(log, {.name = "control", .style = WS_CHILD | WS_VISIBLE | style,
                                              .exStyle = exStyle, .parent = parent, .rect = {20, 20, 160, 160},
                                              .id = 301});
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 100, 20, 0, 0};
    if (style & WS_VSCROLL)
      SetScrollInfo(window, SB_VERT, &info, FALSE);
    if (style & WS_HSCROLL)
      SetScrollInfo(window, SB_HORZ, &info, FALSE);
    return window;
  }
  static RECT RectIn(HWND window, HWND frame)
  {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, frame, reinterpret_cast<LPPOINT>(&rect), 2);
    return rect;
  }
  static SCROLLINFO ControlInfo(HWND control)
  {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(control, SB_VERT, &info);
    return info;
  }
  HWND Container() const { return panel.GetContainer(); }
  HWND Bar(int id) const { return GetDlgItem(Container(), id); }

  CKorvexPortalApp app;
  CScrollPanel panel;
};

// The skin is the resource library's in use: a panel made after the library changed (another
// screen size's) has that library's cells.
TEST_F(ScrollPanelTest, APanelTakesTheSkinOfTheLibraryInUse)
{
  ASSERT_TRUE(panel.Attach(MakeList({10, 20, 210, 220})));
  HMODULE wide = MakeResourceLibrary(root, "WidePanelRes", "229 BITMAP \"scroll.bmp\"\n", {{"scroll.bmp", SkinBmp(2 * K)}});
  ASSERT_NE(nullptr, wide);
  app.SetResourceLibrary(wide);
  CScrollPanel second;
  ASSERT_TRUE(second.Attach(MakeScrollingWindow(WS_VSCROLL, 0)));
  ASSERT_TRUE(RunUntilIdle());
  RECT bar = RectIn(GetDlgItem(second.GetContainer(), CScrollPanel::kVerticalBarId), second.GetContainer());
  EXPECT_EQ(2 * K, bar.right - bar.left);
  bar = RectIn(Bar(CScrollPanel::kVerticalBarId), Container());
  EXPECT_EQ(K, bar.right - bar.left) << "the first panel keeps its cells";
}

TEST_F(ScrollPanelTest, TakesTheControlsPlaceWithASkinnedBarOverItsOwn)
{
  HWND list = MakeList({10, 20, 210, 220});
  ASSERT_TRUE(panel.Attach(list));
  ASSERT_TRUE(RunUntilIdle());

  ASSERT_EQ(Container(), GetDlgItem(parent, 300)) << "the container has the control's id\n" << DumpWindowTree(parent);
  EXPECT_EQ(std::make_tuple(10L, 20L, 209L, 218L), std::make_tuple(RectIn(Container(), parent).left,
                                                                   RectIn(Container(), parent).top,
                                                                   RectIn(Container(), parent).right,
                                                                   RectIn(Container(), parent).bottom))
      << "the frame moved to the container";
  EXPECT_TRUE(GetWindowLongW(Container(), GWL_STYLE) & WS_BORDER);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_BORDER);

  HWND viewport = GetDlgItem(Container(), CScrollPanel::kViewportId);
  ASSERT_EQ(viewport, GetParent(list));
  RECT inner;
  GetClientRect(Container(), &inner);
  RECT view = RectIn(viewport, Container());
  EXPECT_EQ(std::make_tuple(0L, 0L, inner.right - K, inner.bottom), std::make_tuple(view.left, view.top, view.right, view.bottom))
      << "the viewport leaves the control's own bar outside";
  EXPECT_EQ(0, RectIn(list, viewport).left);
  EXPECT_EQ(list, GetNextDlgTabItem(parent, nullptr, FALSE)) << "Tab still stops at the control";

  HWND vertical = Bar(CScrollPanel::kVerticalBarId);
  EXPECT_TRUE(IsWindowVisible(vertical));
  EXPECT_FALSE(IsWindowVisible(Bar(CScrollPanel::kHorizontalBarId)));
  RECT bar = RectIn(vertical, Container());
  EXPECT_EQ(std::make_tuple(inner.right - K, 0L, inner.right, inner.bottom), std::make_tuple(bar.left, bar.top, bar.right, bar.bottom));

  ASSERT_TRUE(AdvanceTime(500));
  SCROLLINFO own = ControlInfo(list), skinned = InfoOf(vertical);
  EXPECT_EQ(std::make_tuple(own.nMin, own.nMax, own.nPage, own.nPos),
            std::make_tuple(skinned.nMin, skinned.nMax, skinned.nPage, skinned.nPos));
  EXPECT_GT(skinned.nMax, static_cast<int>(skinned.nPage));
  EXPECT_EQ(SkinColour(0, 0), PixelAt(vertical, 6, 6)) << "the bar is drawn from the library's skin";
  SaveScreenshot("ui_scroll_panel", parent);
}

TEST_F(ScrollPanelTest, TheContainerKeepsTheControlsPlaceWhenItIsShownOrSizedBeforeTheLayoutRuns)
{
  HWND list = MakeList({10, 20, 210, 220}, WS_VSCROLL);
  panel.Attach(list);
  // The dialog moves the control, then hides, shows and sizes it before the panel lays it out
  // again in its viewport.
  SetWindowPos(list, nullptr, 30, 40, 200, 200, SWP_NOZORDER);
  ShowWindow(list, SW_HIDE);
  ShowWindow(list, SW_SHOW);
  SetWindowPos(list, nullptr, 0, 0, 150, 120, SWP_NOZORDER | SWP_NOMOVE);
  ASSERT_TRUE(RunUntilIdle());
  RECT place = RectIn(Container(), parent);
  EXPECT_EQ(std::make_tuple(30L, 40L, 180L, 160L), std::make_tuple(place.left, place.top, place.right, place.bottom));
  EXPECT_TRUE(IsWindowVisible(Container()));
  EXPECT_EQ(0, RectIn(list, GetParent(list)).left);
}

TEST_F(ScrollPanelTest, TheBarFollowsTheControlAndItsCodesScrollIt)
{
  HWND list = MakeList({10, 20, 210, 220});
  panel.Attach(list);
  ASSERT_TRUE(AdvanceTime(500));
  HWND vertical = Bar(CScrollPanel::kVerticalBarId);

  SendMessageW(list, LB_SETTOPINDEX, 10, 0);
  ASSERT_TRUE(AdvanceTime(500));
  EXPECT_EQ(10, InfoOf(vertical).nPos) << "the control's own scrolling shows within 500 ms";

  RECT bar;
  GetWindowRect(vertical, &bar);
  ASSERT_TRUE(Tap(POINT{bar.left + K / 2, bar.bottom - K / 2}));
  EXPECT_EQ(11, SendMessageW(list, LB_GETTOPINDEX, 0, 0)) << "the down arrow scrolls the control a line";
  ASSERT_TRUE(AdvanceTime(500));
  EXPECT_EQ(11, InfoOf(vertical).nPos);
}

TEST_F(ScrollPanelTest, ADraggedThumbIsNotOverwrittenByMirroring)
{
  HWND list = MakeList({10, 20, 210, 220});
  panel.Attach(list);
  ASSERT_TRUE(AdvanceTime(500));
  HWND vertical = Bar(CScrollPanel::kVerticalBarId);
  RECT thumb;
  GetWindowRect(vertical, &thumb);
  POINT grip{thumb.left + K / 2, thumb.top + K + 3};
  ASSERT_TRUE(PointerDown(grip));
  ASSERT_TRUE(PointerMove(POINT{grip.x, grip.y + 60}));
  int tracked = InfoOf(vertical).nTrackPos;
  ASSERT_GT(tracked, 0);
  EXPECT_EQ(tracked, SendMessageW(list, LB_GETTOPINDEX, 0, 0)) << "the control follows the thumb";
  ASSERT_TRUE(AdvanceTime(1500));
  EXPECT_EQ(tracked, InfoOf(vertical).nTrackPos) << "while the drag lasts the thumb stays where it is dragged";
  ASSERT_TRUE(PointerMove(POINT{grip.x, grip.y + 61}));
  EXPECT_EQ(tracked, InfoOf(vertical).nTrackPos) << "and the drag goes on from where it began";
  ASSERT_TRUE(PointerUp(POINT{grip.x, grip.y + 60}));
  ASSERT_TRUE(AdvanceTime(500));
  EXPECT_EQ(tracked, InfoOf(vertical).nPos);
}

TEST_F(ScrollPanelTest, BarsAndCornerFollowTheControlsBars)
{
  struct Case {
    const char* what;
    DWORD style, exStyle;
    bool vertical, horizontal;
    int cornerX;  // in the container's client area, -1: no corner square
    COLORREF corner;
  };
  const Case cases[] = {
      {"no bars", 0, 0, false, false, -1, 0},
      {"both, vertical on the right", WS_VSCROLL | WS_HSCROLL, 0, true, true, 140 - K, SkinColour(8, 0)},
      {"both, vertical on the left", WS_VSCROLL | WS_HSCROLL, WS_EX_LEFTSCROLLBAR, true, true, 0, SkinColour(8, 1)},
  };
  for (const Case& c : cases) {
    HWND control = MakeScrollingWindow(c.style, c.exStyle);
    CScrollPanel local;
    local.Attach(control);
    ASSERT_TRUE(RunUntilIdle());
    HWND container = local.GetContainer();
    EXPECT_EQ(c.vertical, IsWindowVisible(GetDlgItem(container, CScrollPanel::kVerticalBarId)) != FALSE) << c.what;
    EXPECT_EQ(c.horizontal, IsWindowVisible(GetDlgItem(container, CScrollPanel::kHorizontalBarId)) != FALSE) << c.what;
    if (c.cornerX >= 0) {
      EXPECT_EQ(c.corner, PixelAt(container, c.cornerX + K / 2, 140 - K / 2)) << c.what;
      RECT vertical = RectIn(GetDlgItem(container, CScrollPanel::kVerticalBarId), container);
      EXPECT_EQ(c.exStyle ? 0 : 140 - K, vertical.left) << c.what;
      EXPECT_EQ(140 - K, vertical.bottom) << c.what << ": the bar stops above the corner";
    } else {
      EXPECT_NE(SkinColour(8, 0), PixelAt(container, 140 - K / 2, 140 - K / 2)) << c.what;
    }
    DestroyWindow(container);
    DestroyWindow(control);
  }
}

TEST_F(ScrollPanelTest, PrivateMessagesOfTheControlReachTheDialog)
{
  HWND control = MakeScrollingWindow(WS_VSCROLL, 0);
  panel.Attach(control);
  ASSERT_TRUE(RunUntilIdle());
  log.Clear();
  SendMessageW(GetParent(control), 0x610, 7, 8);
  SendMessageW(GetParent(control), 0x640, 1, 2);
  EXPECT_EQ("", log.Mismatch({{"parent", 0x610, sent | wparam | lparam, 7, 8}}, "through viewport and container"));
}

TEST_F(ScrollPanelTest, DetachesOnceWhicheverIsDestroyedFirst)
{
  HWND list = MakeList({10, 20, 210, 220});
  auto ownProc = GetWindowLongPtrW(list, GWLP_WNDPROC);
  panel.Attach(list);
  ASSERT_TRUE(RunUntilIdle());
  HWND container = Container();
  ASSERT_TRUE(DestroyWindow(list));
  EXPECT_EQ(nullptr, GetWindow(container, GW_CHILD)) << "viewport and bars are gone";
  ASSERT_TRUE(DestroyWindow(container));
  ASSERT_TRUE(AdvanceTime(1000));

  // The other order: the control comes back to the dialog at the container's place.
  HWND again = MakeList({10, 20, 210, 220});
  SetWindowLongPtrW(again, GWLP_USERDATA, 1234);
  CScrollPanel second;
  second.Attach(again);
  ASSERT_TRUE(RunUntilIdle());
  RECT place = RectIn(second.GetContainer(), parent);
  ASSERT_TRUE(DestroyWindow(second.GetContainer()));
  ASSERT_TRUE(IsWindow(again));
  EXPECT_EQ(parent, GetParent(again));
  EXPECT_EQ(ownProc, GetWindowLongPtrW(again, GWLP_WNDPROC));
  EXPECT_EQ(1234, GetWindowLongPtrW(again, GWLP_USERDATA)) << "the control's user data stays its own";
  RECT back = RectIn(again, parent);
  EXPECT_EQ(std::make_tuple(place.left, place.top, place.right, place.bottom),
            std::make_tuple(back.left, back.top, back.right, back.bottom));
  ASSERT_TRUE(AdvanceTime(1000));
}

}  // namespace
