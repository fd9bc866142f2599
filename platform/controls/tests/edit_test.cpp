// EDIT: typing and its notifications, limits, digits only, read-only, selection and replacement,
// keys, composed text, password masks, the multi-line scroll bar.
#include "../edit_text.h"
#include "controls_fixture.h"

namespace {

using namespace kvtest;
using Edit = ControlsTest;
constexpr int kId = 100;

struct Selection {
  DWORD start;
  DWORD end;
  bool operator==(const Selection&) const = default;
};

Selection SelectionOf(HWND edit)
{
  Selection s{};
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s.start), reinterpret_cast<LPARAM>(&s.end));
  return s;
}

std::ostream& operator<<(std::ostream& out, const Selection& s)
{
  return out << "[" << s.start << ", " << s.end << ")";
}

TEST_F(Edit, TypedTextArrivesWithUpdateThenChangeForEachCharacter)
{
  HWND edit = Make(WC_EDITW, u"", ES_AUTOHSCROLL);
  TakeNotes();
  SetFocus(edit);
  ASSERT_TRUE(TypeText(u"ab"));
  ASSERT_TRUE(PressKey(VK_BACK));
  SetFocus(parent);
  EXPECT_EQ((std::vector<Note>{Command(kId, EN_SETFOCUS), Command(kId, EN_UPDATE), Command(kId, EN_CHANGE),
                               Command(kId, EN_UPDATE), Command(kId, EN_CHANGE), Command(kId, EN_UPDATE),
                               Command(kId, EN_CHANGE), Command(kId, EN_KILLFOCUS)}),
            TakeNotes());
  EXPECT_EQ(u"a", TextOf(edit));
  EXPECT_EQ(1, GetWindowTextLengthW(edit));
  EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
}

TEST_F(Edit, SetTextIsNotLimitedAndNotifiesASingleLineEditOnly)
{
  HWND single = Make(WC_EDITW, u"", 0, {10, 10, 110, 40}, 1);
  HWND multi = Make(WC_EDITW, u"", ES_MULTILINE, {10, 50, 110, 150}, 2);
  SendMessageW(single, EM_LIMITTEXT, 2, 0);
  TakeNotes();
  SetWindowTextW(single, u"12345");
  SetWindowTextW(multi, u"line");
  EXPECT_EQ((std::vector<Note>{Command(1, EN_UPDATE), Command(1, EN_CHANGE)}), TakeNotes());
  EXPECT_EQ(u"12345", TextOf(single));
  EXPECT_EQ((Selection{0, 0}), SelectionOf(single));
  EXPECT_FALSE(SendMessageW(single, EM_GETMODIFY, 0, 0));
}

TEST_F(Edit, LimitStopsTypingAndReplacing)
{
  HWND edit = Make(WC_EDITW, u"", 0);
  EXPECT_EQ(0x7FFF, SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
  SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);
  EXPECT_EQ(0x7FFFFFFE, SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
  SendMessageW(edit, EM_LIMITTEXT, 4, 0);
  EXPECT_EQ(4, SendMessageW(edit, EM_GETLIMITTEXT, 0, 0));
  SetFocus(edit);
  ASSERT_TRUE(TypeText(u"abc"));
  TakeNotes();
  ASSERT_TRUE(TypeText(u"de"));
  EXPECT_EQ(u"abcd", TextOf(edit));
  EXPECT_EQ((std::vector<Note>{Command(kId, EN_UPDATE), Command(kId, EN_CHANGE), Command(kId, EN_MAXTEXT)}),
            TakeNotes());
  // Replacing takes what fits; over a selection the selection's room counts.
  SendMessageW(edit, EM_SETSEL, 1, 3);
  SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"XYZ"));
  EXPECT_EQ(u"aXYd", TextOf(edit));
  EXPECT_EQ((Selection{3, 3}), SelectionOf(edit));
  ASSERT_TRUE(PressKey(VK_BACK));
  ASSERT_TRUE(TypeText(u"!"));
  EXPECT_EQ(u"aX!d", TextOf(edit));
}

TEST_F(Edit, StylesDecideWhichCharactersAreTaken)
{
  struct Case {
    DWORD style;
    std::u16string typed;
    std::u16string text;
  };
  const Case cases[] = {
      {0, u"a1 .\t", u"a1 ."},
      {ES_NUMBER, u"a1b2.3", u"123"},
      {ES_READONLY, u"abc", u"seed"},
      {ES_MULTILINE, u"a\rb", u"a\r\nb"},
      {0, u"a\rb", u"ab"},
  };
  for (const Case& c : cases) {
    HWND edit = Make(WC_EDITW, (c.style & ES_READONLY) ? u"seed" : u"", c.style);
    SetFocus(edit);
    ASSERT_TRUE(TypeText(c.typed));
    EXPECT_EQ(Narrow(c.text), Narrow(TextOf(edit))) << std::hex << c.style;
    DestroyWindow(edit);
  }
}

TEST_F(Edit, ReadOnlyCanBeSwitchedAndPaintsAsAStatic)
{
  HWND edit = Make(WC_EDITW, u"", 0);
  SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
  EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY);
  SetFocus(edit);
  ASSERT_TRUE(TypeText(u"x"));
  EXPECT_EQ(u"", TextOf(edit));
  noteColours = true;
  TakeNotes();
  SendMessageW(edit, WM_PRINTCLIENT, 0, 0);
  EXPECT_EQ((std::vector<Note>{Note{WM_CTLCOLORSTATIC, 0, 0}}), TakeNotes());
  SendMessageW(edit, EM_SETREADONLY, FALSE, 0);
  ASSERT_TRUE(TypeText(u"x"));
  EXPECT_EQ(u"x", TextOf(edit));
  TakeNotes();
  SendMessageW(edit, WM_PRINTCLIENT, 0, 0);
  EXPECT_EQ((std::vector<Note>{Note{WM_CTLCOLOREDIT, 0, 0}}), TakeNotes());
}

TEST_F(Edit, SetSelKeepsWithinTheText)
{
  HWND edit = Make(WC_EDITW, u"abcdef", 0);
  struct Case {
    WPARAM start;
    LPARAM end;
    Selection selection;
  };
  const Case cases[] = {
      {1, 3, {1, 3}},
      {4, 2, {2, 4}},                        // reversed: the caret stays at 2
      {0, -1, {0, 6}},                       // -1 as the end: the whole text
      {2, 100, {2, 6}},
      {static_cast<WPARAM>(-1), 0, {6, 6}},  // -1 as the start: no selection, caret kept
  };
  SendMessageW(edit, EM_SETSEL, 5, 2);
  for (const Case& c : cases) {
    SendMessageW(edit, EM_SETSEL, c.start, c.end);
    EXPECT_EQ(c.selection, SelectionOf(edit)) << c.start << "," << c.end;
  }
  EXPECT_EQ(MAKELRESULT(6, 6), SendMessageW(edit, EM_GETSEL, 0, 0));
}

TEST_F(Edit, KeysMoveTheCaretAndDelete)
{
  struct Case {
    const char* keys;
    std::vector<UINT> sequence;
    std::u16string text;
    Selection selection;
  };
  const Case cases[] = {
      {"Home, Delete", {VK_HOME, VK_DELETE}, u"bcd", {0, 0}},
      {"Left, Back", {VK_LEFT, VK_BACK}, u"abd", {2, 2}},
      {"Home, Right, Right, Back", {VK_HOME, VK_RIGHT, VK_RIGHT, VK_BACK}, u"acd", {1, 1}},
      {"End, Delete", {VK_END, VK_DELETE}, u"abcd", {4, 4}},
      {"Home, Back", {VK_HOME, VK_BACK}, u"abcd", {0, 0}},
  };
  for (const Case& c : cases) {
    HWND edit = Make(WC_EDITW, u"abcd", 0);
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 4, 4);
    for (UINT key : c.sequence)
      ASSERT_TRUE(PressKey(key));
    EXPECT_EQ(Narrow(c.text), Narrow(TextOf(edit))) << c.keys;
    EXPECT_EQ(c.selection, SelectionOf(edit)) << c.keys;
    DestroyWindow(edit);
  }
}

TEST_F(Edit, ShiftExtendsTheSelectionAndTypingReplacesIt)
{
  HWND edit = Make(WC_EDITW, u"abcd", 0);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 1, 1);
  ASSERT_TRUE(KeyDown(VK_SHIFT));
  ASSERT_TRUE(PressKey(VK_RIGHT));
  ASSERT_TRUE(PressKey(VK_RIGHT));
  ASSERT_TRUE(KeyUp(VK_SHIFT));
  EXPECT_EQ((Selection{1, 3}), SelectionOf(edit));
  ASSERT_TRUE(TypeText(u"Z"));
  EXPECT_EQ(u"aZd", TextOf(edit));
}

TEST_F(Edit, ComposedTextArrivesWithOrWithoutAnInputContext)
{
  for (bool withContext : {true, false}) {
    HWND edit = Make(WC_EDITW, u"", 0);
    if (!withContext)
      ImmAssociateContext(edit, nullptr);
    SetFocus(edit);
    ASSERT_TRUE(TypeImeText(u"付款"));
    EXPECT_EQ(u"付款", TextOf(edit)) << withContext;
    DestroyWindow(edit);
  }
}

// A password edit masks what it shows; its text is still the typed one (keeping it secret is the
// secure-input library's part).
TEST_F(Edit, PasswordCharacterComesAndGoesWithTheStyle)
{
  HWND edit = Make(WC_EDITW, u"", ES_PASSWORD);
  EXPECT_EQ(u'*', SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
  SetFocus(edit);
  ASSERT_TRUE(TypeText(u"pw1"));
  EXPECT_EQ(u"pw1", TextOf(edit));
  SendMessageW(edit, EM_SETPASSWORDCHAR, u'#', 0);
  EXPECT_EQ(u'#', SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
  SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
  EXPECT_FALSE(GetWindowLongW(edit, GWL_STYLE) & ES_PASSWORD);
  EXPECT_EQ(0, SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0));
}

TEST_F(Edit, DialogCodesSayWhatTheEditWants)
{
  HWND single = Make(WC_EDITW, u"", 0);
  HWND multi = Make(WC_EDITW, u"", ES_MULTILINE);
  EXPECT_EQ(DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS, SendMessageW(single, WM_GETDLGCODE, 0, 0));
  EXPECT_EQ(DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS,
            SendMessageW(multi, WM_GETDLGCODE, 0, 0));
}

TEST_F(Edit, MultiLineEditScrollsByLinesWithItsScrollBar)
{
  HWND edit = Make(WC_EDITW, u"", ES_MULTILINE | WS_VSCROLL, {10, 10, 150, 110});
  SetWindowTextW(edit, u"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10");
  EXPECT_EQ(10, SendMessageW(edit, EM_GETLINECOUNT, 0, 0));
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  ASSERT_TRUE(GetScrollInfo(edit, SB_VERT, &info));
  EXPECT_EQ(0, info.nMin);
  EXPECT_EQ(9, info.nMax);
  int shown = static_cast<int>(info.nPage);  // lines that fit 100 pixels in the font
  ASSERT_GT(shown, 2);
  ASSERT_LT(shown, 9);
  EXPECT_EQ(0, info.nPos);
  SendMessageW(edit, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(1, SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
  EXPECT_EQ(1, GetScrollPos(edit, SB_VERT));
  SendMessageW(edit, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(10 - shown, SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
  SendMessageW(edit, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 2), 0);
  EXPECT_EQ(2, GetScrollPos(edit, SB_VERT));
  // The caret going to the first line brings it into view; Down goes to the same column below.
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 1, 1);
  EXPECT_EQ(0, SendMessageW(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
  ASSERT_TRUE(PressKey(VK_DOWN));
  EXPECT_EQ((Selection{4, 4}), SelectionOf(edit));
  EXPECT_EQ(1, SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0));
  EXPECT_EQ(2, SendMessageW(edit, EM_LINELENGTH, 27, 0));
  // A short text keeps the bar, with nothing to scroll.
  SetWindowTextW(edit, u"one");
  EXPECT_TRUE(GetWindowLongW(edit, GWL_STYLE) & WS_VSCROLL);
}

}  // namespace

namespace {

// A focused edit shows its caret after the text in the text colour; the background is the
// parent's brush.
TEST_F(ControlsTest, FocusedEditPaintsItsTextAndCaretOnTheParentsBrush)
{
  HWND edit = Make(WC_EDITW, u"", 0, {10, 10, 150, 40});
  SetFocus(edit);
  ASSERT_TRUE(kvtest::TypeText(u"88"));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  HDC dc = GetDC(edit);
  EXPECT_EQ(kParentColour, GetPixel(dc, 130, 2));
  int inked = 0;
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 30; ++y)
      inked += GetPixel(dc, x, y) != kParentColour;
  EXPECT_GT(inked, 20);  // two digits and a caret
  ReleaseDC(edit, dc);
  SetFocus(parent);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  SetWindowTextW(edit, u"");
  ASSERT_TRUE(kvtest::RunUntilIdle());
  dc = GetDC(edit);
  int left = 0;
  for (int x = 0; x < 60; ++x)
    for (int y = 0; y < 30; ++y)
      left += GetPixel(dc, x, y) != kParentColour;
  EXPECT_EQ(0, left);  // empty and unfocused: nothing but the background
  ReleaseDC(edit, dc);
}

// The text of an edit (a password too) leaves nothing behind in memory once wiped, not even what
// a deletion left past the text's end.
TEST(EditTextMemory, WipeClearsEverythingTheTextEverHeld)
{
  controls_detail::EditText text;
  bool truncated = false;
  text.ReplaceSelection(u"Secret-Passw0rd", 100, truncated);
  text.Select(0, 7);
  text.DeleteBackward();  // the rest moves to the front; its old copy stays past the end
  ASSERT_EQ(text.Text(), u"Passw0rd");
  const char16_t* memory = text.Text().data();
  const size_t capacity = text.Text().capacity();
  text.Wipe();
  ASSERT_EQ(text.Text().data(), memory);  // wiped in place
  for (size_t i = 0; i < capacity; ++i)
    EXPECT_EQ(memory[i], u'\0') << "unit " << i;
}

}  // namespace
