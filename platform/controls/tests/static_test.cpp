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
  TakeNotes();
  SendMessageW(label, WM_PRINTCLIENT, 0, 0);
  EXPECT_EQ((std::vector<Note>{Note{WM_CTLCOLORSTATIC, 0, 0}}), TakeNotes());
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
