// Scroll bars: the control's values and the codes its input sends, and the bars of any window:
// their values, and taps on them that the window itself receives as scroll codes.
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

// A window's own bars take taps as the control does, and the window itself hears the codes
// (lParam 0). The window's bars: 13 wide; the vertical one 200 high beside a client area of
// 187 x 200, with a thumb of 17 for a page of 10 out of 101; the horizontal one 187 long below it.
class WindowBarTaps : public ControlsTest {
 protected:
  void SetUp() override
  {
    ControlsTest::SetUp();
    UseVirtualTime();  // the repeat timer moves only when a test says
    window = CreateRecordingWindow(log, {.name = "window", .style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL,
                                         .parent = parent, .rect = {0, 0, 200, 213}});
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
    SetScrollInfo(window, SB_VERT, &info, FALSE);
    SetScrollInfo(window, SB_HORZ, &info, FALSE);
    for (UINT ignored : {WM_PAINT, WM_ERASEBKGND, WM_NCPAINT})
      log.Ignore(ignored);
    ASSERT_TRUE(RunUntilIdle());
    log.Clear();
  }
  // The codes of one kind the window heard, with their positions, and forgets the log.
  std::vector<Note> Heard(UINT kind)
  {
    std::vector<Note> heard;
    for (const RecordedMessage& m : log.Messages())
      if (m.window == "window" && m.message == kind)
        heard.push_back(Note{m.message, m.wParam, m.lParam});
    log.Clear();
    return heard;
  }
  static constexpr POINT kDownArrow{193, 195};
  static constexpr POINT kThumb{193, 20};
  HWND window = nullptr;
};

TEST_F(WindowBarTaps, TheWindowHearsTheCodeOfThePartThenEndScroll)
{
  struct Case {
    POINT at;
    int hit;
    UINT kind;
    WORD code;
  };
  const Case cases[] = {
      {{193, 5}, HTVSCROLL, WM_VSCROLL, SB_LINEUP},
      {kDownArrow, HTVSCROLL, WM_VSCROLL, SB_LINEDOWN},
      {{193, 100}, HTVSCROLL, WM_VSCROLL, SB_PAGEDOWN},
      {{180, 206}, HTHSCROLL, WM_HSCROLL, SB_LINEDOWN},
      {{100, 206}, HTHSCROLL, WM_HSCROLL, SB_PAGEDOWN},
  };
  for (const Case& c : cases) {
    log.Clear();
    ASSERT_TRUE(Tap(c.at));
    LPARAM at = MAKELPARAM(c.at.x, c.at.y);
    std::string mismatch = log.Mismatch(
        {
            {"window", WM_NCHITTEST, sent | lparam, 0, at},
            {"window", WM_NCLBUTTONDOWN, posted | wparam | lparam, static_cast<WPARAM>(c.hit), at},
            {"window", c.kind, sent | defwinproc | wparam | lparam, c.code, 0},
            {"window", WM_NCLBUTTONUP, posted | wparam | lparam, static_cast<WPARAM>(c.hit), at},
            {"window", WM_CAPTURECHANGED, sent | defwinproc},
            {"window", c.kind, sent | defwinproc | wparam | lparam, SB_ENDSCROLL, 0},
        },
        "a tap on the window's own bar");
    EXPECT_TRUE(mismatch.empty()) << mismatch;
  }
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_EQ(0, GetScrollPos(window, SB_VERT)) << "the window moves its bar, not the bar itself";
}

TEST_F(WindowBarTaps, AHeldArrowRepeatsOnTheClockWhileThePointerStaysOnIt)
{
  ASSERT_TRUE(PointerDown(kDownArrow));
  ASSERT_TRUE(AdvanceTime(399));
  EXPECT_EQ(std::vector<Note>{Scroll(SB_LINEDOWN)}, Heard(WM_VSCROLL));
  ASSERT_TRUE(AdvanceTime(1 + 300));
  EXPECT_EQ(std::vector<Note>(4, Scroll(SB_LINEDOWN)), Heard(WM_VSCROLL));
  ASSERT_TRUE(PointerMove({193, 100}));  // off the arrow: held, but quiet
  ASSERT_TRUE(AdvanceTime(300));
  EXPECT_EQ(std::vector<Note>{}, Heard(WM_VSCROLL));
  ASSERT_TRUE(PointerUp({193, 100}));
  ASSERT_TRUE(AdvanceTime(500));
  EXPECT_EQ(std::vector<Note>{Scroll(SB_ENDSCROLL)}, Heard(WM_VSCROLL));
}

TEST_F(WindowBarTaps, TheDraggedThumbTracksThenSetsThePositionAndTheClientHearsNothing)
{
  // 157 pixels of room stand for 91 positions.
  ASSERT_TRUE(PointerDown(kThumb));
  ASSERT_TRUE(PointerMove({193, kThumb.y + 157 / 2}));
  SCROLLINFO info{sizeof info, SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
  GetScrollInfo(window, SB_VERT, &info);
  EXPECT_EQ(45, info.nTrackPos);
  ASSERT_TRUE(PointerMove({193, 400}));  // below the window: the bar still holds the pointer
  ASSERT_TRUE(PointerUp({193, 400}));
  std::vector<RecordedMessage> messages = log.Messages();
  EXPECT_EQ((std::vector<Note>{Scroll(SB_THUMBTRACK, 45), Scroll(SB_THUMBTRACK, 91), Scroll(SB_THUMBPOSITION, 91),
                               Scroll(SB_ENDSCROLL)}),
            Heard(WM_VSCROLL));
  for (const RecordedMessage& m : messages)
    EXPECT_TRUE(m.message != WM_LBUTTONDOWN && m.message != WM_MOUSEMOVE && m.message != WM_LBUTTONUP)
        << MessageName(m.message);
  EXPECT_EQ(nullptr, GetCapture());
}

// The controls that show a bar of their own scroll by it: a tap below the thumb shows the next
// page, and neither the focus nor the selection moves.
TEST_F(ControlsTest, EditsAndListsScrollByTheirOwnBars)
{
  HWND button = Make(WC_BUTTONW, u"OK", BS_PUSHBUTTON, {10, 250, 80, 280}, 1);
  std::u16string lines;
  for (int i = 0; i < 30; ++i)
    lines += u"第" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + u"行\r\n";
  HWND edit = Make(WC_EDITW, lines.c_str(), ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER, {0, 0, 120, 100}, 2);
  HWND list = Make(WC_LISTBOXW, u"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER, {120, 0, 240, 100}, 3);
  for (int i = 0; i < 30; ++i)
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"张三"));
  struct Case {
    HWND control;
    UINT visibleQuery;  // the first line or item shown
  };
  const Case cases[] = {{edit, EM_GETFIRSTVISIBLELINE}, {list, LB_GETTOPINDEX}};
  for (const Case& c : cases) {
    SetFocus(button);
    TakeNotes();
    RECT bar;
    GetWindowRect(c.control, &bar);
    POINT belowTheThumb{bar.right - 4, bar.bottom - 25};
    ASSERT_TRUE(Tap(belowTheThumb));
    int count = c.control == edit ? static_cast<int>(SendMessageW(edit, EM_GETLINECOUNT, 0, 0)) : 30;
    SCROLLINFO info{sizeof info, SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(c.control, SB_VERT, &info);
    ASSERT_LT(static_cast<int>(info.nPage), count);
    EXPECT_EQ(static_cast<LRESULT>(info.nPage), SendMessageW(c.control, c.visibleQuery, 0, 0));
    EXPECT_EQ(button, GetFocus());
    EXPECT_EQ(std::vector<Note>{}, TakeNotes());
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0));
  }
}

}  // namespace
