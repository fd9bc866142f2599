// The skinned scroll bar: its geometry, what it paints from the skin, and the scroll codes that
// taps, held presses and drags send to its parent.
#include "skin_scroll_bar.h"

#include "scroll_skin_fixture.h"
#include "testing/screenshot.h"

namespace {

using namespace kvtest;
using namespace scrolltest;

class SkinScrollBarTest : public ScrollFixture {
 protected:
  // A bar at the parent's right, 200 long, skinned with 12-pixel cells.
  HWND MakeBar(CSkinScrollBar& bar, DWORD style = SBS_VERT, RECT rect = {200, 0, 220, 200})
  {
    HWND hwnd = CreateWindowExW(0, WC_SCROLLBARW, u"", WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(77)), nullptr, nullptr);
    EXPECT_TRUE(bar.SubclassWindow(hwnd));
    bar.SetBitmap(skin);
    return hwnd;
  }
  static POINT At(int y) { return POINT{206, y}; }
  static Note Down(WORD code, WORD position = 0) { return Note{WM_VSCROLL, code, position}; }

  // Members, so that they outlive their windows, which the tear-down destroys.
  CSkinScrollBar bar;
  CSkinScrollBar across;
};

TEST_F(SkinScrollBarTest, TakesTheThicknessOfOneCellAndKeepsScrollInformationAsGiven)
{
  HWND hwnd = MakeBar(bar);
  RECT rect;
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(kCell, rect.right - rect.left);
  EXPECT_EQ(200, rect.bottom - rect.top);

  SCROLLINFO set{sizeof set, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 50, 80, 70, 0};
  EXPECT_EQ(1, SetScrollInfo(hwnd, SB_CTL, &set, FALSE));
  SCROLLINFO got = InfoOf(hwnd);
  EXPECT_EQ((std::vector<int>{0, 50, 80, 70, -1}),
            (std::vector<int>{got.nMin, got.nMax, static_cast<int>(got.nPage), got.nPos, got.nTrackPos}))
      << "values are not clamped; the track position is -1 while nothing is dragged";
  set = {sizeof set, SIF_POS, 0, 0, 0, -4, 0};
  SetScrollInfo(hwnd, SB_CTL, &set, FALSE);
  EXPECT_EQ(70, InfoOf(hwnd).nPos) << "a negative position is ignored";
}

TEST_F(SkinScrollBarTest, PartsFollowTheTrackPageAndPosition)
{
  struct Case {
    const char* what;
    int length, min, max;
    UINT page;
    int pos;
    int thumbStart, thumbEnd;  // painted
    int hitAt, hitPart;
  };
  const Case cases[] = {
      {"176-pixel track, 17-pixel thumb at 12 + 159 x 45 / 90", 200, 0, 99, 10, 45, 91, 108, 91, 5},
      {"just before the thumb", 200, 0, 99, 10, 45, 91, 108, 90, 2},
      {"just after the thumb", 200, 0, 99, 10, 45, 91, 108, 108, 3},
      {"the range may start anywhere", 200, 100, 199, 10, 145, 91, 108, 100, 5},
      {"a short thumb is drawn 6 long", 200, 0, 999, 1, 0, 12, 18, 17, 5},
      {"a track shorter than 6 shows no thumb", 29, 0, 99, 10, 0, 12, 12, 13, 3},
      {"a page over the whole range paints no thumb", 200, 0, 9, 10, 0, 100, 100, 100, 5},
      {"arrows", 200, 0, 99, 10, 45, 91, 108, 11, 0},
      {"second arrow", 200, 0, 99, 10, 45, 91, 108, 188, 1},
      {"a bar shorter than two cells is all arrows", 20, 0, 99, 10, 0, 10, 10, 10, 1},
  };
  HWND hwnd = MakeBar(bar);
  for (const Case& c : cases) {
    MoveWindow(hwnd, 200, 0, kCell, c.length, FALSE);
    SetInfo(hwnd, c.min, c.max, c.page, c.pos, FALSE);
    RECT thumb = bar.GetPartRect(CSkinScrollBar::kThumb);
    EXPECT_EQ((std::vector<LONG>{0, c.thumbStart, kCell, c.thumbEnd}),
              (std::vector<LONG>{thumb.left, thumb.top, thumb.right, thumb.bottom}))
        << c.what;
    EXPECT_EQ(c.hitPart, bar.HitTest(5, c.hitAt)) << c.what;
  }
  EXPECT_EQ(CSkinScrollBar::kNone, bar.HitTest(5, -1));
}

TEST_F(SkinScrollBarTest, PaintsEveryPartFromItsCell)
{
  HWND hwnd = MakeBar(bar);
  SetInfo(hwnd, 0, 99, 10, 45);
  ASSERT_TRUE(RunUntilIdle());
  struct Probe {
    int y;
    COLORREF colour;
  };
  const Probe probes[] = {
      {5, SkinColour(0, 0)},       {195, SkinColour(1, 0)},     {50, SkinColour(3, 0)},
      {150, SkinColour(3, 0)},     {92, SkinColour(2, 0, 0)},   {100, SkinColour(2, 0, 1)},
      {106, SkinColour(2, 0, 2)},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(p.colour, PixelAt(hwnd, 6, p.y)) << "y " << p.y;
  SaveScreenshot("ui_skin_scroll_bar", hwnd);

  HWND horizontal = MakeBar(across, SBS_HORZ, {0, 250, 200, 270});
  SetInfo(horizontal, 0, 99, 10, 0);
  ASSERT_TRUE(RunUntilIdle());
  RECT rect;
  GetWindowRect(horizontal, &rect);
  EXPECT_EQ(kCell, rect.bottom - rect.top);
  EXPECT_EQ(SkinColour(4, 0), PixelAt(horizontal, 5, 6));
  EXPECT_EQ(SkinColour(5, 0), PixelAt(horizontal, 195, 6));
  EXPECT_EQ(SkinColour(6, 0, 0), PixelAt(horizontal, 13, 6));
  EXPECT_EQ(SkinColour(7, 0), PixelAt(horizontal, 100, 6));
}

TEST_F(SkinScrollBarTest, HeldArrowRepeatsUntilTheEndAndPausesOffTheArrow)
{
  HWND hwnd = MakeBar(bar);
  SetInfo(hwnd, 0, 5, 0, 0);
  owning = true;
  UseVirtualTime();
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(PointerDown(At(195)));
  EXPECT_EQ(SkinColour(1, 2), PixelAt(hwnd, 6, 195)) << "the held arrow is drawn pressed";
  ASSERT_TRUE(AdvanceTime(499));
  EXPECT_EQ(std::vector<Note>{Down(SB_LINEDOWN)}, TakeNotes()) << "one at once";
  ASSERT_TRUE(AdvanceTime(1));
  EXPECT_EQ(std::vector<Note>{Down(SB_LINEDOWN)}, TakeNotes()) << "the next after 500 ms";
  ASSERT_TRUE(AdvanceTime(100));
  EXPECT_EQ(std::vector<Note>{Down(SB_LINEDOWN)}, TakeNotes()) << "then every 100 ms";

  ASSERT_TRUE(PointerMove(At(100)));
  EXPECT_EQ(SkinColour(1, 0), PixelAt(hwnd, 6, 195)) << "off the arrow it looks normal";
  ASSERT_TRUE(AdvanceTime(500));
  EXPECT_EQ(std::vector<Note>{}, TakeNotes()) << "and the repeat pauses";
  ASSERT_TRUE(PointerMove(At(195)));
  ASSERT_TRUE(AdvanceTime(1000));
  EXPECT_EQ(std::vector<Note>(2, Down(SB_LINEDOWN)), TakeNotes()) << "it goes on until nPos reaches nMax";
  EXPECT_EQ(5, InfoOf(hwnd).nPos);

  ASSERT_TRUE(PointerUp(At(195)));
  ASSERT_TRUE(AdvanceTime(1000));
  EXPECT_EQ(std::vector<Note>{}, TakeNotes()) << "no end-of-scroll code";
  EXPECT_EQ(SkinColour(1, 0), PixelAt(hwnd, 6, 195));
}

TEST_F(SkinScrollBarTest, HeldTrackPagesUntilTheThumbReachesThePointer)
{
  HWND hwnd = MakeBar(bar);
  SetInfo(hwnd, 0, 99, 10, 0);
  owning = true;
  UseVirtualTime();
  ASSERT_TRUE(PointerDown(At(150)));
  ASSERT_TRUE(AdvanceTime(3000));
  ASSERT_TRUE(PointerUp(At(150)));
  // Positions 10 to 70: the thumb at 70 lies from 135 to 152.
  EXPECT_EQ(std::vector<Note>(7, Down(SB_PAGEDOWN)), TakeNotes());
  EXPECT_EQ(70, InfoOf(hwnd).nPos);
  EXPECT_EQ(CSkinScrollBar::kThumb, bar.HitTest(6, 150));
}

TEST_F(SkinScrollBarTest, DragTracksOnEveryNewPositionAndSetsItOnRelease)
{
  HWND hwnd = MakeBar(bar);
  SetInfo(hwnd, 0, 99, 10, 0);
  owning = true;
  // The thumb lies at 12 to 29; 159 pixels of room stand for 90 positions.
  ASSERT_TRUE(PointerDown(At(20)));
  ASSERT_TRUE(PointerMove(At(21)));
  EXPECT_EQ(std::vector<Note>{}, TakeNotes()) << "a move that keeps the position sends nothing";
  ASSERT_TRUE(PointerMove(At(100)));
  ASSERT_TRUE(PointerMove(At(101)));
  EXPECT_EQ(std::vector<Note>{Down(SB_THUMBTRACK, 45)}, TakeNotes());
  EXPECT_EQ(45, InfoOf(hwnd).nTrackPos);
  EXPECT_EQ(SkinColour(2, 2), PixelAt(hwnd, 6, 100)) << "the tracked thumb is drawn pressed at 91";
  EXPECT_EQ(SkinColour(3, 0), PixelAt(hwnd, 6, 20)) << "the track comes back where it was";

  ASSERT_TRUE(PointerMove(At(300)));
  ASSERT_TRUE(PointerUp(At(300)));
  EXPECT_EQ((std::vector<Note>{Down(SB_THUMBTRACK, 90), Down(SB_THUMBPOSITION, 90)}), TakeNotes());
  SCROLLINFO info = InfoOf(hwnd);
  EXPECT_EQ(90, info.nPos);
  EXPECT_EQ(-1, info.nTrackPos);
  EXPECT_EQ(SkinColour(2, 0), PixelAt(hwnd, 6, 180)) << "the thumb rests normal at the end";
}

}  // namespace
