// The dialog base's content paging and the soft input panel: content taller than the band
// between the title strip and the soft-key bar scrolls by whole pages with the skinned bar, and
// the field being edited stays above the input panel; the layout comes back when the panel goes.
#include "base_dlg_fixture.h"
#include "testing/screen_rotation.h"
#include "testing/screenshot.h"

using namespace basedlgtest;
using namespace kvtest;

namespace {

constexpr int kBarWidth = 12;  // string 135 and the skin's cell

class BaseDlgPaging : public BaseDlgTest {
 protected:
  // A dialog shown with the input panel down.
  HWND ShowWithoutPanel(TestDlg& dialog)
  {
    HWND hwnd = Show(dialog);
    ui.Invoke([] { SipShowIM(SIPF_OFF); });
    EXPECT_TRUE(RunUntilIdle());
    return hwnd;
  }
  // The recorded controls' windows and where they stand now.
  std::vector<RECT> Places(TestDlg& dialog)
  {
    std::vector<RECT> places;
    for (const ControlLayout& layout : dialog.m_layouts)
      places.push_back(RectIn(*layout.window, dialog.m_hWnd));
    return places;
  }
  SCROLLINFO Info(TestDlg& dialog)
  {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    ui.Invoke([&] { GetScrollInfo(dialog.m_scrollBar, SB_CTL, &info); });
    return info;
  }
  void Scroll(TestDlg& dialog, int code, HWND bar = nullptr)
  {
    ui.Invoke([&] {
      SendMessageW(dialog.m_hWnd, WM_VSCROLL, MAKEWPARAM(code, 0),
                   reinterpret_cast<LPARAM>(bar ? bar : dialog.m_scrollBar.m_hWnd));
    });
  }
  static bool Shows(RECT control, RECT band) { return control.top >= band.top && control.bottom <= band.bottom; }
};

// Every place moved by the same offset from the first; the offset.
POINT CommonShift(const std::vector<RECT>& from, const std::vector<RECT>& to)
{
  POINT shift{to[0].left - from[0].left, to[0].top - from[0].top};
  for (size_t i = 0; i < from.size(); ++i) {
    EXPECT_EQ(shift.x, to[i].left - from[i].left) << i;
    EXPECT_EQ(shift.y, to[i].top - from[i].top) << i;
  }
  return shift;
}

TEST_F(BaseDlgPaging, ContentThatFitsGetsNoBarAndNeitherDoesADialogWithoutASecondLabel)
{
  struct Case {
    const char* name;
    Look look;
  };
  const Case cases[] = {
      {"everything fits above the bar", Look{}},
      {"no second label", Look{.portrait = kTall, .secondLabel = FALSE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDlg& dialog = NewDialog(c.look);
    ShowWithoutPanel(dialog);
    EXPECT_FALSE(dialog.m_scrollBar.IsWindow() && dialog.m_scrollBar.IsWindowVisible());
    ui.Invoke([&] { dialog.CloseDialog(0, FALSE); });
  }
}

TEST_F(BaseDlgPaging, TallContentScrollsByWholePagesAndTheThumbSnapsBack)
{
  TestDlg& dialog = NewDialog(Look{.portrait = kTall});
  HWND hwnd = ShowWithoutPanel(dialog);
  const RECT band{0, kStrip, 240, 320 - kStrip};
  ASSERT_TRUE(dialog.m_scrollBar.IsWindowVisible());
  EXPECT_EQ(Edges(RECT{240 - kBarWidth, band.top, 240, band.bottom}), Edges(RectIn(dialog.m_scrollBar, hwnd)));
  std::vector<RECT> initial;
  for (const ControlLayout& layout : dialog.m_layouts)
    initial.push_back(layout.initial);
  std::vector<RECT> first = Places(dialog);
  EXPECT_EQ((POINT{-kBarWidth / 2, 0}).x, CommonShift(initial, first).x) << "left by half the bar";
  EXPECT_EQ(0, Info(dialog).nPos);

  // Down a page: the content moves up exactly as far as the position goes.
  Scroll(dialog, SB_PAGEDOWN);
  std::vector<RECT> second = Places(dialog);
  int moved = -CommonShift(first, second).y;
  EXPECT_GT(moved, 0);
  EXPECT_EQ(moved, Info(dialog).nPos);
  // The page starts at the first control that did not fit.
  size_t firstHidden = 0;
  while (firstHidden < first.size() && Shows(first[firstHidden], band))
    ++firstHidden;
  ASSERT_LT(firstHidden, first.size());
  EXPECT_EQ(band.top, second[firstHidden].top);

  // A line is a page too; at the last page nothing moves.
  Scroll(dialog, SB_LINEDOWN);
  std::vector<RECT> last = Places(dialog);
  EXPECT_EQ(-CommonShift(first, last).y, Info(dialog).nPos);
  EXPECT_EQ(band.bottom, std::max_element(last.begin(), last.end(), [](const RECT& a, const RECT& b) {
                           return a.bottom < b.bottom;
                         })->bottom) << "the last page ends with the content";
  Scroll(dialog, SB_LINEDOWN);
  EXPECT_EQ(Edges(last[0]), Edges(Places(dialog)[0]));

  // Dragging the thumb moves nothing; the thumb snaps back to the page's start.
  int atLast = Info(dialog).nPos;
  RECT thumb = dialog.m_scrollBar.GetPartRect(CSkinScrollBar::kThumb);
  POINT from{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
  ClientToScreen(dialog.m_scrollBar, &from);
  ASSERT_TRUE(Drag(from, POINT{from.x, from.y - 80}));
  EXPECT_EQ(Edges(last[0]), Edges(Places(dialog)[0]));
  EXPECT_EQ(atLast, Info(dialog).nPos);

  // Another scroll bar's messages are not the dialog's.
  HWND other = nullptr;
  ui.Invoke([&] {
    other = CreateWindowExW(0, WC_SCROLLBARW, nullptr, WS_CHILD | SBS_VERT, 0, 0, 10, 100, hwnd, nullptr, nullptr,
                            nullptr);
  });
  std::vector<RECT> before = Places(dialog);
  Scroll(dialog, SB_PAGEUP, other);
  EXPECT_EQ(Edges(before[0]), Edges(Places(dialog)[0]));

  Scroll(dialog, SB_PAGEUP);
  Scroll(dialog, SB_PAGEUP);
  Scroll(dialog, SB_PAGEUP);
  EXPECT_EQ(Edges(first[0]), Edges(Places(dialog)[0])) << "back at the top";
  EXPECT_EQ(0, Info(dialog).nPos);
}

TEST_F(BaseDlgPaging, TheEditedFieldStaysAboveTheInputPanelAndTheLayoutComesBack)
{
  TestDlg& dialog = NewDialog();
  dialog.focusId = kButton;
  dialog.attachControls = true;  // the note's edit is laid out by the base
  HWND hwnd = ShowWithoutPanel(dialog);
  HWND note = GetDlgItem(hwnd, kEditNote);
  std::vector<RECT> normal = Places(dialog);
  ASSERT_FALSE(dialog.m_scrollBar.IsWindow() && dialog.m_scrollBar.IsWindowVisible());

  // Focusing the field in the lower half raises the panel, which would cover it.
  ui.Invoke([&] { SetFocus(note); });
  ASSERT_TRUE(RunUntilIdle());
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  ASSERT_TRUE(SipGetInfo(&sip));
  ASSERT_TRUE(sip.fdwFlags & SIPF_ON) << "the panel is up";
  RECT field = RectIn(note, hwnd);
  EXPECT_LE(field.bottom, sip.rcSipRect.top) << "the field shows above the panel";
  EXPECT_GE(field.top, kStrip);
  EXPECT_TRUE(dialog.m_scrollBar.IsWindowVisible());
  SaveScreenshot("base_dialog_input_panel");

  // Another edit keeps the panel up; a button lowers it, and the controls go back.
  ui.Invoke([&] { SetFocus(GetDlgItem(hwnd, kEditAccount)); });
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(SipGetInfo(&sip));
  EXPECT_TRUE(sip.fdwFlags & SIPF_ON);
  ui.Invoke([&] { SetFocus(GetDlgItem(hwnd, kButton)); });
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(SipGetInfo(&sip));
  EXPECT_FALSE(sip.fdwFlags & SIPF_ON);
  std::vector<RECT> after = Places(dialog);
  for (size_t i = 0; i < normal.size(); ++i)
    EXPECT_EQ(Edges(normal[i]), Edges(after[i])) << i;
  EXPECT_FALSE(dialog.m_scrollBar.IsWindowVisible());
}

TEST_F(BaseDlgPaging, ADialogTurnedWhileInactivePagesItsContentWhenActivated)
{
  // Its content fits in portrait; in landscape the note's edit lies below the band.
  TestDlg& below = NewDialog(Look{.portrait = kPortrait, .landscape = kTall});
  below.focusId = kButton;
  below.attachControls = true;
  ShowWithoutPanel(below);
  ASSERT_FALSE(below.m_scrollBar.IsWindow());
  TestDlg& above = NewDialog();
  above.focusId = kButton;
  ShowWithoutPanel(above);
  ui.Invoke([] { RotateScreen(); });
  ASSERT_TRUE(RunUntilIdle());
  ui.Invoke([&] { above.CloseDialog(0, FALSE); });
  ASSERT_TRUE(RunUntilIdle());
  ui.Invoke([&] { EXPECT_EQ(below.m_hWnd, GetActiveWindow()); });
  // Landscape: the band between the strips is 240 - 2 * 26 high, on a 320-pixel-wide screen.
  ASSERT_TRUE(below.m_scrollBar.IsWindow());
  EXPECT_TRUE(below.m_scrollBar.IsWindowVisible());
  EXPECT_EQ(Edges(RECT{320 - kBarWidth, kStrip, 320, 240 - kStrip}), Edges(RectIn(below.m_scrollBar, below.m_hWnd)));
  ui.Invoke([] { RotateScreen(); });
  ASSERT_TRUE(RunUntilIdle());
}

}  // namespace
