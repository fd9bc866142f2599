// Scroll bars: the control's values and the codes its input sends, and the bars of any window.
#include "controls_fixture.h"

namespace {

using namespace kvtest;
using ScrollBarControl = ControlsTest;
using WindowScrollBars = ControlsTest;

Note Scroll(WORD code, int position = 0)
{
  return Note{WM_VSCROLL, MAKEWPARAM(code, position), 0};
}

TEST_F(ScrollBarControl, KeepsPageAndPositionWithinTheRange)
{
  struct Case {
    SCROLLINFO set;
    int min, max;
    UINT page;
    int pos;
  };
  const Case cases[] = {
      {{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 50, 0}, 0, 100, 10, 50},
      {{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 95, 0}, 0, 100, 10, 91},
      {{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, -5, 0}, 0, 100, 10, 0},
      {{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 500, 0, 0}, 0, 100, 101, 0},
      {{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 10, 20, 0, 30, 0}, 10, 20, 0, 20},
      {{sizeof(SCROLLINFO), SIF_RANGE, 5, 2, 0, 0, 0}, 5, 5, 0, 5},
  };
  HWND bar = Make(WC_SCROLLBARW, u"", SBS_VERT, {200, 0, 213, 200});
  for (const Case& c : cases) {
    int returned = SetScrollInfo(bar, SB_CTL, &c.set, TRUE);
    SCROLLINFO got{sizeof got, SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &got));
    EXPECT_EQ(c.pos, returned);
    EXPECT_EQ(c.min, got.nMin);
    EXPECT_EQ(c.max, got.nMax);
    EXPECT_EQ(c.page, got.nPage);
    EXPECT_EQ(c.pos, got.nPos);
  }
  EXPECT_EQ(5, SendMessageW(bar, SBM_SETPOS, 9, FALSE));
  EXPECT_EQ(5, SendMessageW(bar, SBM_GETPOS, 0, 0));
  EXPECT_EQ(5, SendMessageW(bar, SBM_SETRANGE, 0, 50));
  EXPECT_EQ(7, SetScrollPos(bar, SB_CTL, 7, FALSE) + 2);
  int low = -1, high = -1;
  ASSERT_TRUE(GetScrollRange(bar, SB_CTL, &low, &high));
  EXPECT_EQ(0, low);
  EXPECT_EQ(50, high);
}

class ScrollBarInput : public ControlsTest {
 protected:
  void SetUp() override
  {
    ControlsTest::SetUp();
    // 13 wide, 200 high at the parent's right: arrows of 13, a track of 174, a thumb of 17 for
    // a page of 10 out of 101.
    bar = Make(WC_SCROLLBARW, u"", SBS_VERT, {200, 0, 213, 200});
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
    SetScrollInfo(bar, SB_CTL, &info, FALSE);
    TakeNotes();
  }
  POINT At(int y) { return POINT{206, y}; }
  HWND bar = nullptr;
};

TEST_F(ScrollBarInput, TapsSendTheCodeOfThePartAndEndScroll)
{
  struct Case {
    int y;
    WORD code;
  };
  const Case cases[] = {{5, SB_LINEUP}, {195, SB_LINEDOWN}, {100, SB_PAGEDOWN}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Tap(At(c.y)));
    EXPECT_EQ((std::vector<Note>{Scroll(c.code), Scroll(SB_ENDSCROLL)}), TakeNotes()) << c.y;
  }
  SetScrollPos(bar, SB_CTL, 90, FALSE);
  ASSERT_TRUE(Tap(At(30)));
  EXPECT_EQ((std::vector<Note>{Scroll(SB_PAGEUP), Scroll(SB_ENDSCROLL)}), TakeNotes());
  // The bar leaves its position to its owner.
  EXPECT_EQ(90, GetScrollPos(bar, SB_CTL));
}

TEST_F(ScrollBarInput, TheThumbShowsThePositionItsOwnerSets)
{
  RunUntilIdle();
  HDC dc = GetDC(bar);
  const COLORREF thumb = GetPixel(dc, 6, 20);  // at 13 to 30 for the position 0
  SetScrollPos(bar, SB_CTL, 90, TRUE);
  RunUntilIdle();
  // 157 pixels of room for 91 positions: the thumb now lies at 168 to 185.
  EXPECT_EQ(thumb, GetPixel(dc, 6, 176));
  EXPECT_NE(thumb, GetPixel(dc, 6, 20));
  ReleaseDC(bar, dc);
}

TEST_F(ScrollBarInput, HeldArrowRepeatsAfterADelay)
{
  UseVirtualTime();
  ASSERT_TRUE(PointerDown(At(195)));
  ASSERT_TRUE(AdvanceTime(399));
  EXPECT_EQ(std::vector<Note>{Scroll(SB_LINEDOWN)}, TakeNotes());
  ASSERT_TRUE(AdvanceTime(1 + 300));
  EXPECT_EQ(std::vector<Note>(4, Scroll(SB_LINEDOWN)), TakeNotes());
  ASSERT_TRUE(PointerUp(At(195)));
  ASSERT_TRUE(AdvanceTime(500));
  EXPECT_EQ(std::vector<Note>{Scroll(SB_ENDSCROLL)}, TakeNotes());
}

TEST_F(ScrollBarInput, DraggedThumbTracksThenSetsThePosition)
{
  // The thumb lies at 13 to 30; 157 pixels of room stand for 91 positions.
  ASSERT_TRUE(PointerDown(At(20)));
  ASSERT_TRUE(PointerMove(At(20)));
  EXPECT_EQ(std::vector<Note>{}, TakeNotes());
  ASSERT_TRUE(PointerMove(At(20 + 157 / 2)));
  ASSERT_TRUE(PointerMove(At(400)));
  ASSERT_TRUE(PointerUp(At(400)));
  EXPECT_EQ((std::vector<Note>{Scroll(SB_THUMBTRACK, 45), Scroll(SB_THUMBTRACK, 91), Scroll(SB_THUMBPOSITION, 91),
                               Scroll(SB_ENDSCROLL)}),
            TakeNotes());
  SCROLLINFO info{sizeof info, SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &info);
  EXPECT_EQ(0, info.nPos);
}

TEST_F(WindowScrollBars, ComeAndGoWithTheRangeAndTakeTheirRoomFromTheClientArea)
{
  HWND list = CreateRecordingWindow(log, {.name = "list", .style = WS_CHILD | WS_VISIBLE, .parent = parent,
                                          .rect = {0, 0, 200, 100}});
  int bar = GetSystemMetrics(SM_CXVSCROLL);
  auto clientWidth = [&] {
    RECT r;
    GetClientRect(list, &r);
    return r.right;
  };
  log.Clear();
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, 49, 10, 0, 0};
  SetScrollInfo(list, SB_VERT, &info, TRUE);
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(200 - bar, clientWidth());
  std::string mismatch = log.Mismatch({{"list", WM_STYLECHANGING, sent | optional},
                                       {"list", WM_STYLECHANGED, sent | optional},
                                       {"list", WM_WINDOWPOSCHANGING, sent},
                                       {"list", WM_WINDOWPOSCHANGED, sent},
                                       {"list", WM_SIZE, sent | wparam | lparam, SIZE_RESTORED, MAKELPARAM(200 - bar, 100)}},
                                      "a scrollable range shows the bar");
  EXPECT_TRUE(mismatch.empty()) << mismatch;

  EXPECT_EQ(0, SetScrollPos(list, SB_VERT, 45, TRUE));
  EXPECT_EQ(40, GetScrollPos(list, SB_VERT));

  info = {sizeof info, SIF_RANGE | SIF_PAGE, 0, 9, 10, 0, 0};
  SetScrollInfo(list, SB_VERT, &info, TRUE);
  EXPECT_FALSE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  EXPECT_EQ(200, clientWidth());
  EXPECT_EQ(0, GetScrollPos(list, SB_VERT));

  info.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(list, SB_VERT, &info, TRUE);
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);

  ASSERT_TRUE(ShowScrollBar(list, SB_BOTH, TRUE));
  RECT r;
  GetClientRect(list, &r);
  EXPECT_EQ(100 - GetSystemMetrics(SM_CYHSCROLL), r.bottom);
  ASSERT_TRUE(ShowScrollBar(list, SB_BOTH, FALSE));
  EXPECT_EQ(200, clientWidth());
  EXPECT_FALSE(ShowScrollBar(reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234)), SB_VERT, TRUE));
}

TEST_F(WindowScrollBars, StartWithTheRangeZeroToHundred)
{
  int low = -1, high = -1;
  ASSERT_TRUE(GetScrollRange(parent, SB_HORZ, &low, &high));
  EXPECT_EQ(0, low);
  EXPECT_EQ(100, high);
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  EXPECT_FALSE(GetScrollInfo(parent, 7, &info));
}

}  // namespace
