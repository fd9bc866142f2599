// COMBOBOX: its messages, sorting by the style of the moment, the drop-down height, the order
// of its notifications for taps, keys and messages, and a subclass of the box that sees the
// list's notifications first.
#include <algorithm>

#include "list_fixture.h"
#include "testing/screenshot.h"

namespace {

using ComboBox = ListControlsTest;

LPARAM Text(const char16_t* text) { return reinterpret_cast<LPARAM>(text); }

std::u16string LbText(HWND combo, int index)
{
  WCHAR buffer[64] = {};
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer));
  return buffer;
}

std::u16string WindowText(HWND hwnd)
{
  WCHAR buffer[64] = {};
  GetWindowTextW(hwnd, buffer, 64);
  return buffer;
}

int Height(HWND hwnd)
{
  RECT rect;
  GetWindowRect(hwnd, &rect);
  return rect.bottom - rect.top;
}

class ComboFixture : public ComboBox {
 protected:
  // A drop-down list of five entries, 150 pixels high with its list.
  HWND MakeFilled(DWORD style = CBS_DROPDOWNLIST)
  {
    HWND combo = Make(WC_COMBOBOXW, style | WS_VSCROLL, {10, 10, 150, 160});
    for (const char16_t* text : {u"近一周", u"近一月", u"近三月", u"近半年", u"近一年"})
      SendMessageW(combo, CB_ADDSTRING, 0, Text(text));
    SendMessageW(combo, CB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0));
    Take();
    return combo;
  }
  // The dropped list holds the pointer capture.
  static HWND DroppedList(HWND combo)
  {
    return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) ? GetCapture() : nullptr;
  }
  static bool TapItem(HWND list, int index) { return kvtest::TapWindow(list, POINT{20, index * 20 + 10}); }
};

TEST_F(ComboFixture, AnswersItsMessagesInOrder)
{
  HWND combo = Make(WC_COMBOBOXW, CBS_DROPDOWNLIST);
  const MessageStep steps[] = {
      {CB_GETCOUNT, 0, 0, 0},
      {CB_GETCURSEL, 0, 0, CB_ERR},
      {CB_ADDSTRING, 0, Text(u"50"), 0},
      {CB_ADDSTRING, 0, Text(u"100"), 1},
      {CB_INSERTSTRING, 0, Text(u"30"), 0},
      {CB_INSERTSTRING, 8, Text(u"x"), CB_ERR},
      {CB_GETLBTEXTLEN, 2, 0, 3},
      {CB_GETLBTEXTLEN, 3, 0, CB_ERR},
      {CB_SETITEMDATA, 1, 77, TRUE},
      {CB_GETITEMDATA, 1, 0, 77},
      {CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), Text(u"100"), 2},
      {CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), Text(u"10"), CB_ERR},
      {CB_SETCURSEL, 2, 0, 2},
      {CB_GETCURSEL, 0, 0, 2},
      {CB_SETCURSEL, 5, 0, CB_ERR},
      {CB_GETCURSEL, 0, 0, CB_ERR},
      {CB_SETCURSEL, 1, 0, 1},
      {CB_DELETESTRING, 0, 0, 2},
      {CB_GETCURSEL, 0, 0, 0},
      {CB_GETDROPPEDSTATE, 0, 0, FALSE},
      {CB_SETITEMHEIGHT, 0, MAKELPARAM(24, 0), CB_OKAY},
      {CB_GETITEMHEIGHT, 0, 0, 24},
      {CB_SETITEMHEIGHT, 0, MAKELPARAM(0, 0), CB_ERR},
      {CB_RESETCONTENT, 0, 0, CB_OKAY},
      {CB_GETCOUNT, 0, 0, 0},
      {CB_GETCURSEL, 0, 0, CB_ERR},
  };
  ExpectAnswers(combo, steps);
}

TEST_F(ComboFixture, ShowsTheSelectionAsItsText)
{
  HWND list = MakeFilled();
  SendMessageW(list, CB_SETCURSEL, 1, 0);
  EXPECT_EQ(u"近一月", WindowText(list));
  HWND withEdit = MakeFilled(CBS_DROPDOWN);
  SendMessageW(withEdit, CB_SETCURSEL, 3, 0);
  HWND edit = GetDlgItem(withEdit, CB_EDIT_ID);
  ASSERT_NE(nullptr, edit);
  EXPECT_EQ(u"近半年", WindowText(edit));
  EXPECT_EQ(u"近半年", WindowText(withEdit));
}

TEST_F(ComboFixture, SortsByTheStyleAtEachAddition)
{
  HWND combo = Make(WC_COMBOBOXW, CBS_DROPDOWNLIST | CBS_SORT);
  for (const char16_t* text : {u"300", u"100", u"200"})
    SendMessageW(combo, CB_ADDSTRING, 0, Text(text));
  EXPECT_EQ(u"100", LbText(combo, 0));
  EXPECT_EQ(u"300", LbText(combo, 2));
  SetWindowLongW(combo, GWL_STYLE, GetWindowLongW(combo, GWL_STYLE) & ~CBS_SORT);
  EXPECT_EQ(3, SendMessageW(combo, CB_ADDSTRING, 0, Text(u"50")));
  EXPECT_EQ(u"50", LbText(combo, 3));
}

TEST_F(ComboFixture, TakesTheDropDownHeightFromTheCreationHeight)
{
  HWND combo = MakeFilled();
  int box = Height(combo);
  EXPECT_LT(box, 40);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  HWND list = DroppedList(combo);
  ASSERT_NE(nullptr, list);
  // Five rows of 20 and a frame fit in the 150 pixels less the box.
  EXPECT_EQ(102, Height(list));
  SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
  // A later size names a new total height; the box keeps its own.
  MoveWindow(combo, 10, 10, 140, box + 62, TRUE);
  EXPECT_EQ(box, Height(combo));
  // A taller font makes a taller field; the total height stays.
  LOGFONTW big{};
  big.lfHeight = -40;
  HFONT font = CreateFontIndirectW(&big);
  SendMessageW(combo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  EXPECT_GT(Height(combo), box + 20);
  SendMessageW(combo, WM_SETFONT, 0, FALSE);
  EXPECT_EQ(box, Height(combo));
  SendMessageW(combo, CB_SETITEMHEIGHT, 0, MAKELPARAM(20, 0));
  DeleteObject(font);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_EQ(62, Height(DroppedList(combo)));
  RECT rect;
  SendMessageW(combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&rect));
  EXPECT_EQ(box + 62, rect.bottom - rect.top);
}

TEST_F(ComboFixture, PaintsTheBoxAndItsDroppedList)
{
  HWND combo = MakeFilled();
  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(kvtest::SaveScreenshot("combo_box_closed").empty());
  ASSERT_TRUE(kvtest::TapWindow(combo));
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  HWND list = DroppedList(combo);
  ASSERT_NE(nullptr, list);
  HDC dc = GetDC(list);
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, 100, 50));  // item 2, selected
  EXPECT_EQ(RGB(0xF0, 0xF0, 0xE0), GetPixel(dc, 100, 70));         // the parent's brush
  ReleaseDC(list, dc);
  EXPECT_FALSE(kvtest::SaveScreenshot("combo_box_dropped").empty());
}

// The dropped list holds the pointer; a tap on its own bar still works the bar as on any window,
// and the list keeps the pointer after it: a tap outside then closes it.
TEST_F(ComboFixture, TapsOnTheDroppedListsScrollBarScrollItAndKeepItOpen)
{
  HWND combo = MakeFilled();
  MoveWindow(combo, 10, 10, 140, Height(combo) + 62, TRUE);  // room for three rows
  ASSERT_TRUE(kvtest::TapWindow(combo));
  HWND list = DroppedList(combo);
  ASSERT_NE(nullptr, list);
  ASSERT_TRUE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL);
  Take();
  RECT window;
  GetWindowRect(list, &window);
  const int x = window.right - 3;
  struct Case {
    const char* part;
    int y;
    int top;
  };
  const Case cases[] = {
      {"the lower arrow", window.bottom - 6, 1},
      {"the upper arrow", window.top + 6, 0},
      {"the track below the thumb", window.bottom - 18, 2},  // a page of three, as far as it goes
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(kvtest::Tap(POINT{x, c.y}));
    EXPECT_EQ(c.top, SendMessageW(list, LB_GETTOPINDEX, 0, 0)) << c.part;
    EXPECT_TRUE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0)) << c.part;
    EXPECT_EQ(list, GetCapture()) << c.part;
  }
  EXPECT_TRUE(TakeNotifications().empty());
  EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_GETCURSEL, 0, 0)) << "nothing chosen";
  ASSERT_TRUE(kvtest::Tap(POINT{window.right + 20, window.top + 6}));
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
}

TEST_F(ComboFixture, NotifiesInThePlatformsOrder)
{
  struct Case {
    const char* what;
    std::function<void(HWND combo)> act;
    std::vector<Heard> heard;
    int selected;
  };
  auto open = [](HWND combo) { ASSERT_TRUE(kvtest::TapWindow(combo)); };
  const Case cases[] = {
      {"a tap opens", open, {Cmd(CBN_SETFOCUS), Cmd(CBN_DROPDOWN)}, 0},
      {"a tap on an item chooses it",
       [&](HWND combo) {
         open(combo);
         Take();
         ASSERT_TRUE(TapItem(DroppedList(combo), 2));
       },
       {Cmd(CBN_SELCHANGE), Cmd(CBN_SELENDOK), Cmd(CBN_CLOSEUP)}, 2},
      {"a tap on the chosen item closes",
       [&](HWND combo) {
         open(combo);
         Take();
         ASSERT_TRUE(TapItem(DroppedList(combo), 0));
       },
       {Cmd(CBN_SELENDOK), Cmd(CBN_CLOSEUP)}, 0},
      {"a tap outside cancels",
       [&](HWND combo) {
         open(combo);
         Take();
         ASSERT_TRUE(kvtest::Tap(POINT{200, 300}));
       },
       {Cmd(CBN_SELENDCANCEL), Cmd(CBN_CLOSEUP)}, 0},
      {"arrows in the open list, then Enter",
       [&](HWND combo) {
         open(combo);
         Take();
         ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
         ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
       },
       {Cmd(CBN_SELCHANGE), Cmd(CBN_SELENDOK), Cmd(CBN_CLOSEUP)}, 1},
      {"Escape closes without choosing",
       [&](HWND combo) {
         open(combo);
         Take();
         ASSERT_TRUE(kvtest::PressKey(VK_ESCAPE));
       },
       {Cmd(CBN_SELENDCANCEL), Cmd(CBN_CLOSEUP)}, 0},
      {"arrows on the closed box",
       [&](HWND combo) {
         SetFocus(combo);
         Take();
         ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
         ASSERT_TRUE(kvtest::PressKey(VK_UP));
         ASSERT_TRUE(kvtest::PressKey(VK_UP));
       },
       {Cmd(CBN_SELCHANGE), Cmd(CBN_SELCHANGE)}, 0},
      {"by message",
       [&](HWND combo) {
         SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
         SendMessageW(combo, CB_SETCURSEL, 3, 0);
         SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
       },
       {Cmd(CBN_DROPDOWN), Cmd(CBN_SELENDCANCEL), Cmd(CBN_CLOSEUP)}, 3},
      {"losing the focus closes",
       [&](HWND combo) {
         open(combo);
         Take();
         SetFocus(parent);
       },
       {Cmd(CBN_SELENDCANCEL), Cmd(CBN_CLOSEUP), Cmd(CBN_KILLFOCUS)}, 0},
  };
  for (const Case& c : cases) {
    HWND combo = MakeFilled();
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    Take();
    c.act(combo);
    EXPECT_EQ(c.heard, Take()) << c.what;
    EXPECT_EQ(c.selected, SendMessageW(combo, CB_GETCURSEL, 0, 0)) << c.what;
    SetFocus(parent);
    DestroyWindow(combo);
    Take();
  }
}

// A subclass of the box that closes the list itself on the list's LBN_SELCHANGE and lets the
// notification go on, as the program's skinned combo boxes do.
TEST_F(ComboFixture, SubclassSeesTheListsNotificationsAndColourRequestsFirst)
{
  HWND combo = MakeFilled();
  std::vector<UINT> seen;
  int selectedAtCloseUp = -2;
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(combo, GWLP_WNDPROC));
  WNDPROC subclass = MakeWindowProc([&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_CTLCOLORLISTBOX)
      seen.push_back(message);
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE) {
      seen.push_back(LBN_SELCHANGE);
      ShowWindow(reinterpret_cast<HWND>(lParam), SW_HIDE);
      SendMessageW(hwnd, CB_SHOWDROPDOWN, FALSE, 0);
    }
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
  });
  SetWindowLongPtrW(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass));
  ASSERT_TRUE(kvtest::TapWindow(combo));
  HWND list = DroppedList(combo);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(WM_CTLCOLORLISTBOX, seen.at(0));
  // The parent answers the list's colour request after the box passed it on.
  std::vector<Heard> opening = Take(true);
  EXPECT_NE(opening.end(), std::find(opening.begin(), opening.end(), Heard{WM_CTLCOLORLISTBOX, 0}));
  onCommand = [&](int code, HWND control) {
    if (code == CBN_CLOSEUP)
      selectedAtCloseUp = static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0));
  };
  ASSERT_TRUE(TapItem(list, 4));
  EXPECT_EQ((std::vector<Heard>{Cmd(CBN_SELENDCANCEL), Cmd(CBN_CLOSEUP), Cmd(CBN_SELCHANGE)}), Take());
  EXPECT_EQ(4, selectedAtCloseUp);
  EXPECT_EQ(4, SendMessageW(combo, CB_GETCURSEL, 0, 0));
  EXPECT_FALSE(SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_FALSE(IsWindowVisible(list));
  SetWindowLongPtrW(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  FreeWindowProc(subclass);
}

// A subclass that swallows the list's LBN_SELCHANGE while an arrow is held keeps the list open
// and the parent unaware; the choice still arrives whole when the list closes.
TEST_F(ComboFixture, SelectionKeptFromTheBoxStillReachesItsFieldOnClosing)
{
  HWND combo = MakeFilled(CBS_DROPDOWN);
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(combo, GWLP_WNDPROC));
  WNDPROC subclass = MakeWindowProc([&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_COMMAND && HIWORD(wParam) == LBN_SELCHANGE)
      return 0;
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
  });
  SetWindowLongPtrW(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass));
  SetFocus(combo);
  SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
  Take();
  // The edit has the focus; the box takes the keys from its dialog as a dropped box does.
  for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN})
    SendMessageW(combo, WM_KEYDOWN, key, 0);
  EXPECT_EQ((std::vector<Heard>{Cmd(CBN_SELENDOK), Cmd(CBN_CLOSEUP)}), Take());
  EXPECT_EQ(1, SendMessageW(combo, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(u"近一月", WindowText(GetDlgItem(combo, CB_EDIT_ID)));
  SetWindowLongPtrW(combo, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  FreeWindowProc(subclass);
}

TEST_F(ComboFixture, DropDownTakesKeysAndTextThroughItsEdit)
{
  HWND combo = MakeFilled(CBS_DROPDOWN);
  HWND edit = GetDlgItem(combo, CB_EDIT_ID);
  struct Step {
    const char* what;
    std::function<bool()> act;
    std::vector<Heard> heard;
    std::u16string text;
  };
  const Step steps[] = {
      {"tap on the edit", [&] { return kvtest::TapWindow(edit); }, {Cmd(CBN_SETFOCUS)}, u""},
      {"down", [&] { return kvtest::PressKey(VK_DOWN); }, {Cmd(CBN_SELCHANGE)}, u"近一周"},
      {"F4 opens", [&] { return kvtest::PressKey(VK_F4); }, {Cmd(CBN_DROPDOWN)}, u"近一周"},
      {"down in the list", [&] { return kvtest::PressKey(VK_DOWN); }, {Cmd(CBN_SELCHANGE)}, u"近一月"},
      {"enter chooses", [&] { return kvtest::PressKey(VK_RETURN); }, {Cmd(CBN_SELENDOK), Cmd(CBN_CLOSEUP)}, u"近一月"},
      {"typing replaces the chosen text", [&] { return kvtest::TypeText(u"x"); },
       {Cmd(CBN_EDITUPDATE), Cmd(CBN_EDITCHANGE)}, u"x"},
      {"focus elsewhere", [&] { SetFocus(parent); return kvtest::RunUntilIdle(); }, {Cmd(CBN_KILLFOCUS)}, u"x"},
  };
  Take();
  for (const Step& step : steps) {
    ASSERT_TRUE(step.act()) << step.what;
    EXPECT_EQ(step.heard, TakeNotifications()) << step.what;
    EXPECT_EQ(step.text, WindowText(edit)) << step.what;
  }
}

}  // namespace
