// BUTTON: the click rule, check boxes, radio groups, states, dialog codes, owner drawing.
#include "controls_fixture.h"
#include "testing/canvas.h"

namespace {

using namespace kvtest;
using Button = ControlsTest;
constexpr int kId = 100;

POINT Centre(HWND hwnd)
{
  RECT rect;
  GetWindowRect(hwnd, &rect);
  return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

TEST_F(Button, ClicksOnlyWhenReleasedOverItWhilePushed)
{
  HWND button = Make(WC_BUTTONW, u"OK", BS_PUSHBUTTON);
  POINT inside = Centre(button);
  POINT outside{inside.x, inside.y + 100};
  struct Case {
    const char* gesture;
    std::vector<POINT> moves;  // between the press at the centre and the release
    POINT release;
    bool clicks;
  };
  const Case cases[] = {
      {"tap", {}, inside, true},
      {"press, drag out, release", {outside}, outside, false},
      {"press, drag out and back, release", {outside, inside}, inside, true},
      {"press, drag out, move back only to release outside", {outside, inside, outside}, outside, false},
  };
  for (const Case& c : cases) {
    TakeNotes();
    ASSERT_TRUE(PointerDown(inside));
    EXPECT_EQ(BST_PUSHED | BST_FOCUS, SendMessageW(button, BM_GETSTATE, 0, 0)) << c.gesture;
    for (POINT p : c.moves)
      ASSERT_TRUE(PointerMove(p));
    ASSERT_TRUE(PointerUp(c.release));
    std::vector<Note> expected;
    if (c.clicks)
      expected.push_back(Command(kId, BN_CLICKED));
    EXPECT_EQ(expected, TakeNotes()) << c.gesture;
    EXPECT_EQ(BST_FOCUS, SendMessageW(button, BM_GETSTATE, 0, 0)) << c.gesture;
    EXPECT_EQ(nullptr, GetCapture()) << c.gesture;
  }
}

TEST_F(Button, PressSendsItselfBmSetStateAndReleaseUndoesIt)
{
  HWND button = Make(WC_BUTTONW, u"OK", BS_PUSHBUTTON);
  log.Watch(button, "button");
  for (UINT ignored : {WM_PAINT, WM_ERASEBKGND, WM_NCHITTEST, WM_MOUSEMOVE, WM_SETCURSOR, WM_CTLCOLORBTN})
    log.Ignore(ignored);
  SetFocus(button);
  log.Clear();
  ASSERT_TRUE(TapWindow(button));
  std::vector<ExpectedMessage> expected = {
      {"button", WM_LBUTTONDOWN, posted},
      {"button", BM_SETSTATE, sent | wparam, TRUE},
      {"button", WM_LBUTTONUP, posted},
      {"button", BM_SETSTATE, sent | wparam, FALSE},
      {"button", WM_CAPTURECHANGED, sent},
      {"button", BM_GETCHECK, sent},
      {"parent", WM_COMMAND, sent | wparam, MAKEWPARAM(kId, BN_CLICKED)},
  };
  std::string mismatch = log.Mismatch(expected, "tap on a focused button");
  EXPECT_TRUE(mismatch.empty()) << mismatch;
}

TEST_F(Button, SubclassThatKeepsBmSetStateSuppressesTheClick)
{
  HWND button = Make(WC_BUTTONW, u"OK", BS_PUSHBUTTON);
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_WNDPROC));
  WNDPROC keeper = MakeWindowProc([original](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == BM_SETSTATE)
      return 0;
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
  });
  SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(keeper));
  TakeNotes();
  ASSERT_TRUE(TapWindow(button));
  SendMessageW(button, BM_CLICK, 0, 0);
  ASSERT_TRUE(PressKey(VK_SPACE));
  EXPECT_EQ(std::vector<Note>{}, TakeNotes());
  // Through the button's own procedure the same press clicks.
  SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  ASSERT_TRUE(TapWindow(button));
  EXPECT_EQ(std::vector<Note>{Command(kId, BN_CLICKED)}, TakeNotes());
  FreeWindowProc(keeper);
}

TEST_F(Button, SpaceKeyAndBmClickClick)
{
  HWND button = Make(WC_BUTTONW, u"OK", BS_DEFPUSHBUTTON);
  SetFocus(button);
  TakeNotes();
  ASSERT_TRUE(KeyDown(VK_SPACE));
  EXPECT_EQ(std::vector<Note>{}, TakeNotes());
  EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  ASSERT_TRUE(KeyUp(VK_SPACE));
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ((std::vector<Note>{Command(kId, BN_CLICKED), Command(kId, BN_CLICKED)}), TakeNotes());
}

TEST_F(Button, LosingThePointerEndsThePressWithoutAClick)
{
  HWND button = Make(WC_BUTTONW, u"OK", BS_PUSHBUTTON);
  TakeNotes();
  ASSERT_TRUE(PointerDown(Centre(button)));
  SetCapture(parent);
  EXPECT_EQ(0, SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
  ReleaseCapture();
  ASSERT_TRUE(PointerUp(Centre(button)));
  EXPECT_EQ(std::vector<Note>{}, TakeNotes());
}

TEST_F(Button, CheckBoxesToggleAsTheirTypeSays)
{
  struct Case {
    DWORD type;
    std::vector<LRESULT> checksAfterTaps;
  };
  const Case cases[] = {
      {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
      {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED, BST_UNCHECKED}},
      {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
  };
  for (const Case& c : cases) {
    HWND box = Make(WC_BUTTONW, u"remember", c.type);
    TakeNotes();
    for (LRESULT check : c.checksAfterTaps) {
      ASSERT_TRUE(TapWindow(box));
      EXPECT_EQ(check, SendMessageW(box, BM_GETCHECK, 0, 0)) << c.type;
    }
    EXPECT_EQ(std::vector<Note>(3, Command(kId, BN_CLICKED)), TakeNotes()) << c.type;
    DestroyWindow(box);
  }
}

TEST_F(Button, SetCheckKeepsToWhatTheTypeCanShow)
{
  struct Case {
    DWORD type;
    WPARAM set;
    LRESULT got;
  };
  const Case cases[] = {
      {BS_PUSHBUTTON, BST_CHECKED, BST_UNCHECKED},
      {BS_OWNERDRAW, BST_CHECKED, BST_UNCHECKED},
      {BS_CHECKBOX, BST_CHECKED, BST_CHECKED},
      {BS_CHECKBOX, BST_INDETERMINATE, BST_CHECKED},
      {BS_3STATE, BST_INDETERMINATE, BST_INDETERMINATE},
      {BS_RADIOBUTTON, BST_CHECKED, BST_CHECKED},
  };
  for (const Case& c : cases) {
    HWND button = Make(WC_BUTTONW, u"b", c.type);
    SendMessageW(button, BM_SETCHECK, c.set, 0);
    EXPECT_EQ(c.got, SendMessageW(button, BM_GETCHECK, 0, 0)) << c.type << " " << c.set;
    DestroyWindow(button);
  }
}

TEST_F(Button, AutoRadioButtonsCheckOnePerGroup)
{
  // Group A: 1000 to 1002; group B: 1003 and 1004.
  HWND radios[5];
  for (int i = 0; i < 5; ++i) {
    DWORD group = (i == 0 || i == 3) ? WS_GROUP : 0;
    radios[i] = Make(WC_BUTTONW, u"bank", BS_AUTORADIOBUTTON | group, {20, 20 + 22 * i, 120, 40 + 22 * i}, 1000 + i);
  }
  SendMessageW(radios[0], BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(radios[3], BM_SETCHECK, BST_CHECKED, 0);
  TakeNotes();
  ASSERT_TRUE(TapWindow(radios[2]));
  const LRESULT expected[5] = {BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED, BST_CHECKED, BST_UNCHECKED};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(expected[i], SendMessageW(radios[i], BM_GETCHECK, 0, 0)) << i;
    // Tab navigation enters a group at its checked button.
    EXPECT_EQ(expected[i] == BST_CHECKED, (GetWindowLongW(radios[i], GWL_STYLE) & WS_TABSTOP) != 0) << i;
  }
  EXPECT_EQ(std::vector<Note>{Command(1002, BN_CLICKED)}, TakeNotes());
  ASSERT_TRUE(TapWindow(radios[2]));
  EXPECT_EQ(BST_CHECKED, SendMessageW(radios[2], BM_GETCHECK, 0, 0));
}

TEST_F(Button, DialogCodesFollowTheStyle)
{
  struct Case {
    DWORD style;
    LRESULT code;
  };
  const Case cases[] = {
      {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
      {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
      {BS_AUTOCHECKBOX, DLGC_BUTTON},
      {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
      {BS_GROUPBOX, DLGC_STATIC},
      {BS_OWNERDRAW, DLGC_BUTTON},
  };
  for (const Case& c : cases) {
    HWND button = Make(WC_BUTTONW, u"b", c.style);
    EXPECT_EQ(c.code, SendMessageW(button, WM_GETDLGCODE, 0, 0)) << c.style;
    DestroyWindow(button);
  }
  HWND button = Make(WC_BUTTONW, u"b", BS_DEFPUSHBUTTON | BS_NOTIFY);
  SendMessageW(button, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
  EXPECT_EQ(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, SendMessageW(button, WM_GETDLGCODE, 0, 0));
  EXPECT_TRUE(GetWindowLongW(button, GWL_STYLE) & BS_NOTIFY);
}

TEST_F(Button, FocusIsReportedOnlyWithNotify)
{
  HWND quiet = Make(WC_BUTTONW, u"a", BS_PUSHBUTTON, {10, 10, 60, 40}, 1);
  HWND noisy = Make(WC_BUTTONW, u"b", BS_PUSHBUTTON | BS_NOTIFY, {70, 10, 120, 40}, 2);
  TakeNotes();
  SetFocus(quiet);
  SetFocus(noisy);
  SetFocus(quiet);
  EXPECT_EQ((std::vector<Note>{Command(2, BN_SETFOCUS), Command(2, BN_KILLFOCUS)}), TakeNotes());
}

TEST_F(Button, OwnerDrawnButtonIsDrawnByTheParentWithItsState)
{
  HWND button = Make(WC_BUTTONW, u"", BS_OWNERDRAW);
  struct Case {
    const char* state;
    std::function<void()> arrange;
    UINT itemState;
  };
  const Case cases[] = {
      {"plain", [] {}, 0},
      {"focused", [&] { SetFocus(button); }, ODS_FOCUS},
      {"pushed and focused", [&] { SendMessageW(button, BM_SETSTATE, TRUE, 0); }, ODS_SELECTED | ODS_FOCUS},
      {"disabled", [&] { SendMessageW(button, BM_SETSTATE, FALSE, 0); SetFocus(parent); EnableWindow(button, FALSE); },
       ODS_DISABLED},
  };
  HDC dc = GetDC(button);
  noteColours = true;
  for (const Case& c : cases) {
    c.arrange();
    TakeNotes();
    drawn.clear();
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ((std::vector<Note>{Note{WM_CTLCOLORBTN, 0, 0}, Note{WM_DRAWITEM, kId, 0}}), TakeNotes()) << c.state;
    ASSERT_EQ(1u, drawn.size());
    EXPECT_EQ(static_cast<UINT>(ODT_BUTTON), drawn[0].CtlType);
    EXPECT_EQ(static_cast<UINT>(kId), drawn[0].CtlID);
    EXPECT_EQ(static_cast<UINT>(ODA_DRAWENTIRE), drawn[0].itemAction);
    EXPECT_EQ(c.itemState, drawn[0].itemState) << c.state;
    EXPECT_EQ(button, drawn[0].hwndItem);
    EXPECT_EQ(dc, drawn[0].hDC);
    EXPECT_EQ(100, drawn[0].rcItem.right);
    EXPECT_EQ(30, drawn[0].rcItem.bottom);
  }
  ReleaseDC(button, dc);
}

TEST_F(Button, RadioButtonsAreRoundAndCheckBoxesSquare)
{
  // The box stands at the left, 13 pixels high at this screen size, centred in the 30-pixel height.
  constexpr int kBox = 13;
  constexpr int kTop = (30 - kBox) / 2;
  struct Case {
    DWORD type;
    bool checked;
    bool focused;
  };
  const Case cases[] = {
      {BS_AUTORADIOBUTTON, false, false}, {BS_AUTORADIOBUTTON, true, false}, {BS_AUTORADIOBUTTON, true, true},
      {BS_RADIOBUTTON, true, false},      {BS_AUTOCHECKBOX, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "type " << c.type << " checked " << c.checked << " focused " << c.focused);
    HWND button = Make(WC_BUTTONW, u"建设银行", c.type, {10, 10, 150, 40});
    SendMessageW(button, BM_SETCHECK, c.checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (c.focused)
      SetFocus(button);
    ASSERT_TRUE(RunUntilIdle());
    kvtest::Canvas canvas(140, 30, RGB(0, 255, 0));
    SendMessageW(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc), 0);
    bool round = c.type != BS_AUTOCHECKBOX;
    COLORREF frame = GetSysColor(COLOR_WINDOWFRAME);
    for (POINT corner : {POINT{0, kTop}, POINT{kBox - 1, kTop}, POINT{0, kTop + kBox - 1}, POINT{kBox - 1, kTop + kBox - 1}})
      EXPECT_EQ(round ? kParentColour : frame, canvas.At(corner.x, corner.y)) << "corner " << corner.x << "," << corner.y;
    // The ring crosses the middle of each side.
    for (POINT side : {POINT{0, kTop + kBox / 2}, POINT{kBox / 2, kTop}, POINT{kBox - 1, kTop + kBox / 2}})
      EXPECT_EQ(frame, canvas.At(side.x, side.y)) << "side " << side.x << "," << side.y;
    EXPECT_EQ(GetSysColor(c.checked ? COLOR_WINDOWTEXT : COLOR_WINDOW), canvas.At(kBox / 2, kTop + kBox / 2)) << "centre";
    if (round && c.checked) {
      // A dot, not a square: the corner of the mark's square is the box's inside.
      EXPECT_EQ(GetSysColor(COLOR_WINDOW), canvas.At(3, kTop + 3));
    }
    DestroyWindow(button);
  }
}

}  // namespace
