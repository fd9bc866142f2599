// STATIC: taps with and without SS_NOTIFY, the colour request, the text.
#include "controls_fixture.h"

namespace {

using StaticControl = ControlsTest;
constexpr int kId = 100;

TEST_F(StaticControl, ReportsTapsOnlyWithNotify)
{
  struct Case {
    DWORD style;
    std::vector<Note> notes;
    bool parentGetsTap;
  };
  const Case cases[] = {
      {SS_LEFT, {}, true},
      {SS_CENTER | SS_NOTIFY, {Command(kId, STN_CLICKED)}, false},
  };
  for (const Case& c : cases) {
    HWND label = Make(WC_STATICW, u"label", c.style);
    log.Clear();
    ASSERT_TRUE(kvtest::TapWindow(label));
    EXPECT_EQ(c.notes, TakeNotes()) << std::hex << c.style;
    bool parentTapped = false;
    for (const auto& m : log.Messages())
      parentTapped |= m.window == "parent" && m.message == WM_LBUTTONDOWN;
    EXPECT_EQ(c.parentGetsTap, parentTapped) << std::hex << c.style;
    DestroyWindow(label);
  }
}

TEST_F(StaticControl, AsksItsParentForColoursWhenPainted)
{
  HWND label = Make(WC_STATICW, u"label", SS_RIGHT);
  noteColours = true;
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ((std::vector<Note>{Note{WM_CTLCOLORSTATIC, 0, 0}}), TakeNotes());
  // The background is the parent's brush; the right-aligned text leaves the left edge alone.
  HDC dc = GetDC(label);
  EXPECT_EQ(kParentColour, GetPixel(dc, 1, 1));
  EXPECT_EQ(kParentColour, GetPixel(dc, 1, 28));
  ReleaseDC(label, dc);
}

// A subclass that shows a text of its own keeps the window's text empty and answers WM_GETTEXT
// itself; the static then fills its background and draws nothing else.
TEST_F(StaticControl, DrawsItsOwnWindowTextNotWhatASubclassAnswers)
{
  HWND label = Make(WC_STATICW, u"", SS_LEFT);
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(label, GWLP_WNDPROC));
  WNDPROC answering = MakeWindowProc([original](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_GETTEXT && w > 4) {
      std::char_traits<char16_t>::copy(reinterpret_cast<LPWSTR>(l), u"WWWW", 5);
      return 4;
    }
    if (m == WM_GETTEXTLENGTH)
      return 4;
    return CallWindowProcW(original, h, m, w, l);
  });
  SetWindowLongPtrW(label, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(answering));
  InvalidateRect(label, nullptr, TRUE);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  HDC dc = GetDC(label);
  int inked = 0;
  for (int x = 0; x < 100; ++x)
    for (int y = 0; y < 30; ++y)
      inked += GetPixel(dc, x, y) != kParentColour;
  ReleaseDC(label, dc);
  EXPECT_EQ(0, inked);
  DestroyWindow(label);
  FreeWindowProc(answering);
}

TEST_F(StaticControl, KeepsItsTextAndFont)
{
  HWND label = Make(WC_STATICW, u"first", SS_LEFT);
  EXPECT_EQ(u"first", TextOf(label));
  SetWindowTextW(label, u"余额");
  EXPECT_EQ(u"余额", TextOf(label));
  HFONT font = reinterpret_cast<HFONT>(static_cast<uintptr_t>(0x77));
  SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EXPECT_EQ(reinterpret_cast<LRESULT>(font), SendMessageW(label, WM_GETFONT, 0, 0));
  EXPECT_EQ(DLGC_STATIC, SendMessageW(label, WM_GETDLGCODE, 0, 0));
}

}  // namespace
