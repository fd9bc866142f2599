// The list view: owner-drawn fixed report rows (measured once, drawn per visible row with their
// state), its messages, keys and taps with NM_CLICK and NM_RETURN, the icon view's spacing,
// positions and arrow moves by position, image lists it owns, and painting.
#include "list_fixture.h"
#include "testing/screenshot.h"

namespace {

using ListView = ListControlsTest;

constexpr DWORD kOwnerDrawnReport =
    WS_TABSTOP | LVS_NOCOLUMNHEADER | LVS_NOSCROLL | LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_REPORT;

void AddColumn(HWND list, int index, int width, const char16_t* text = u"")
{
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.cx = width;
  column.pszText = const_cast<LPWSTR>(text);
  column.iSubItem = index;
  SendMessageW(list, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column));
}

LRESULT AddItem(HWND list, int index, const char16_t* text, LPARAM param = 0)
{
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<LPWSTR>(text);
  item.lParam = param;
  return SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void SetSubText(HWND list, int index, int sub, const char16_t* text)
{
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.iSubItem = sub;
  item.pszText = const_cast<LPWSTR>(text);
  SendMessageW(list, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

std::u16string TextOf(HWND list, int index, int sub = 0)
{
  WCHAR buffer[32] = {};
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.iSubItem = sub;
  item.pszText = buffer;
  item.cchTextMax = 32;
  return SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? buffer : u"(none)";
}

void SetState(HWND list, int index, UINT state, UINT mask)
{
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  SendMessageW(list, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item));
}

int Selected(HWND list)
{
  return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

RECT ItemRect(HWND list, int index, int portion)
{
  RECT rect{portion, 0, 0, 0};
  EXPECT_TRUE(SendMessageW(list, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect)));
  return rect;
}

POINT Position(HWND list, int index)
{
  POINT at{-1, -1};
  SendMessageW(list, LVM_GETITEMPOSITION, index, reinterpret_cast<LPARAM>(&at));
  return at;
}

TEST_F(ListView, OwnerDrawnRowsAreMeasuredOnceAndDrawnPerVisibleRow)
{
  rowHeight = 32;
  // The parent can reflect the request to the control it names: the control is its child by then.
  HWND foundWhileMeasuring = nullptr;
  onMeasure = [&](const MEASUREITEMSTRUCT& measure) { foundWhileMeasuring = GetDlgItem(parent, measure.CtlID); };
  HWND list = Make(WC_LISTVIEWW, kOwnerDrawnReport, {0, 0, 240, 100});
  ASSERT_EQ((std::vector<Heard>{{WM_MEASUREITEM, ODT_LISTVIEW}}), Take());
  EXPECT_EQ(100u, measured.at(0).CtlID);
  EXPECT_EQ(list, foundWhileMeasuring);
  AddColumn(list, 0, 10);
  AddColumn(list, 1, 150);
  AddColumn(list, 2, 80);
  for (int i = 0; i < 5; ++i)
    AddItem(list, i, u"", 0x100 + i);
  EXPECT_EQ(3, SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  SetFocus(list);
  SetState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  drawn.clear();
  Take();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  // Rows 0 to 2 and the part of row 3 that shows.
  EXPECT_EQ((std::vector<Heard>{{WM_DRAWITEM, 0}, {WM_DRAWITEM, 1}, {WM_DRAWITEM, 2}, {WM_DRAWITEM, 3}}), Take());
  ASSERT_EQ(4u, drawn.size());
  EXPECT_EQ(static_cast<UINT>(ODT_LISTVIEW), drawn[1].CtlType);
  EXPECT_EQ(static_cast<UINT>(ODS_SELECTED | ODS_FOCUS), drawn[1].itemState);
  EXPECT_EQ(0u, drawn[2].itemState);
  EXPECT_EQ(0x101u, drawn[1].itemData);
  EXPECT_EQ((RECT{0, 32, 240, 64}), drawn[1].rcItem);
  EXPECT_EQ(list, drawn[1].hwndItem);
  // The sub-item rectangles follow the columns.
  RECT cell{LVIR_BOUNDS, 1, 0, 0};
  ASSERT_TRUE(SendMessageW(list, LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&cell)));
  EXPECT_EQ((RECT{10, 64, 160, 96}), cell);
  // Losing the focus leaves the selection but not the focus state.
  SetFocus(parent);
  drawn.clear();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(static_cast<UINT>(ODS_SELECTED), drawn[1].itemState);
}

TEST_F(ListView, MovedIntoAnotherWindowItStillReportsToTheParentItWasMadeIn)
{
  rowHeight = 20;
  HWND list = Make(WC_LISTVIEWW, kOwnerDrawnReport, {0, 0, 200, 100});
  AddColumn(list, 0, 200);
  AddItem(list, 0, u"", 0x70);
  HWND holder = kvtest::CreateRecordingWindow(
      log, {.name = "holder", .style = WS_CHILD | WS_VISIBLE, .parent = parent, .rect = {0, 0, 200, 100}});
  SetParent(list, holder);
  Take();
  drawn.clear();
  ASSERT_TRUE(kvtest::TapWindow(list, POINT{50, 10}));
  EXPECT_EQ((std::vector<Heard>{Ntf(NM_SETFOCUS), Ntf(NM_CLICK)}), TakeNotifications());
  ASSERT_FALSE(drawn.empty()) << "the row is drawn by the first parent";
  EXPECT_EQ(list, drawn.back().hwndItem);

  // Once that parent is gone, the present one hears it.
  kvtest::MessageLog otherLog;
  HWND other = kvtest::CreateRecordingWindow(otherLog, {.name = "other"});
  SetParent(list, other);
  DestroyWindow(parent);
  otherLog.Clear();
  SendMessageW(list, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ("", otherLog.Mismatch({{"other", WM_NOTIFY, kvtest::sent}}, "enter"));
  DestroyWindow(other);
}

TEST_F(ListView, AnswersItsItemAndColumnMessages)
{
  INITCOMMONCONTROLSEX init{sizeof(init), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
  EXPECT_TRUE(InitCommonControlsEx(&init));
  HWND list = Make(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL, {0, 0, 200, 100});
  AddColumn(list, 0, 60, u"名称");
  AddColumn(list, 1, 90, u"金额");
  EXPECT_EQ(0, AddItem(list, 0, u"充值", 7));
  EXPECT_EQ(1, AddItem(list, 5, u"转账", 8));  // past the end: appended
  EXPECT_EQ(0, AddItem(list, 0, u"付款", 9));
  EXPECT_EQ(3, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  SetSubText(list, 1, 1, u"100.00");
  EXPECT_EQ(u"充值", TextOf(list, 1));
  EXPECT_EQ(u"100.00", TextOf(list, 1, 1));
  EXPECT_EQ(u"", TextOf(list, 2, 1));
  EXPECT_EQ(u"(none)", TextOf(list, 3));
  LVITEMW item{};
  item.mask = LVIF_PARAM | LVIF_STATE;
  item.iItem = 2;
  item.stateMask = LVIS_SELECTED;
  ASSERT_TRUE(SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  EXPECT_EQ(8, item.lParam);
  EXPECT_EQ(0u, item.state);
  // One selection at a time.
  EXPECT_EQ(-1, Selected(list));
  SetState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
  SetState(list, 2, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(2, Selected(list));
  EXPECT_EQ(-1, SendMessageW(list, LVM_GETNEXTITEM, 2, LVNI_SELECTED));
  EXPECT_EQ(static_cast<LRESULT>(LVIS_SELECTED), SendMessageW(list, LVM_GETITEMSTATE, 2, LVIS_SELECTED | LVIS_FOCUSED));
  SetState(list, -1, 0, LVIS_SELECTED);
  EXPECT_EQ(-1, Selected(list));
  // Columns.
  WCHAR text[8] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  column.pszText = text;
  column.cchTextMax = 8;
  ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(90, column.cx);
  EXPECT_EQ(1, column.iSubItem);
  EXPECT_EQ(u"金额", std::u16string(text));
  EXPECT_FALSE(SendMessageW(list, LVM_GETCOLUMNW, 2, reinterpret_cast<LPARAM>(&column)));
  EXPECT_TRUE(SendMessageW(list, LVM_DELETECOLUMN, 0, 0));
  EXPECT_FALSE(SendMessageW(list, LVM_DELETECOLUMN, 1, 0));
  ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
  EXPECT_EQ(90, column.cx);
  // Styles and colours.
  EXPECT_EQ(0, SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT));
  EXPECT_EQ(LVS_EX_FULLROWSELECT, SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, 0));
  EXPECT_EQ(static_cast<LRESULT>(GetSysColor(COLOR_WINDOWTEXT)), SendMessageW(list, LVM_GETTEXTCOLOR, 0, 0));
  // Deleting.
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEITEM, 0, 0));
  EXPECT_EQ(u"充值", TextOf(list, 0));
  EXPECT_FALSE(SendMessageW(list, LVM_DELETEITEM, 2, 0));
  EXPECT_TRUE(SendMessageW(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(0, SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_TRUE(Take().empty());
}

TEST_F(ListView, ScrollsByRowsToShowItems)
{
  rowHeight = 20;
  HWND list = Make(WC_LISTVIEWW, kOwnerDrawnReport, {0, 0, 200, 100});
  AddColumn(list, 0, 200);
  for (int i = 0; i < 12; ++i)
    AddItem(list, i, u"");
  EXPECT_EQ(5, SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 8, FALSE));
  EXPECT_EQ(4, SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  EXPECT_EQ((RECT{0, 80, 200, 100}), ItemRect(list, 8, LVIR_BOUNDS));
  EXPECT_TRUE(SendMessageW(list, LVM_SCROLL, 0, -40));
  EXPECT_EQ(2, SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  EXPECT_TRUE(SendMessageW(list, LVM_SCROLL, 0, 1000));  // no further than the last page
  EXPECT_EQ(7, SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 1, FALSE));
  EXPECT_EQ(1, SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  EXPECT_FALSE(SendMessageW(list, LVM_ENSUREVISIBLE, 12, FALSE));
}

TEST_F(ListView, ReachesTheLastRowWholeWhenTheClientIsNotWholeRowsHigh)
{
  rowHeight = 30;
  HWND list = Make(WC_LISTVIEWW, kOwnerDrawnReport, {0, 0, 200, 100});
  AddColumn(list, 0, 200);
  for (int i = 0; i < 12; ++i)
    AddItem(list, i, u"");
  ASSERT_EQ(3, SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, 11, FALSE));
  EXPECT_EQ(9, SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  EXPECT_EQ((RECT{0, 60, 200, 90}), ItemRect(list, 11, LVIR_BOUNDS));
  EXPECT_TRUE(SendMessageW(list, LVM_SCROLL, 0, -1000));
  EXPECT_TRUE(SendMessageW(list, LVM_SCROLL, 0, 1000));
  EXPECT_EQ(9, SendMessageW(list, LVM_GETTOPINDEX, 0, 0)) << "scrolling stops at the same last page";
}

TEST_F(ListView, KeysAndTapsMoveTheSelectionAndNotify)
{
  rowHeight = 20;
  HWND list = Make(WC_LISTVIEWW, kOwnerDrawnReport, {0, 0, 200, 100});
  AddColumn(list, 0, 200);
  for (int i = 0; i < 8; ++i)
    AddItem(list, i, u"", 0x50 + i);
  Take();
  struct Step {
    const char* what;
    std::function<bool()> act;
    std::vector<Heard> heard;
    int selected;
    int activated;  // the item of the last NM_CLICK or NM_RETURN; -2 for none
  };
  const Step steps[] = {
      {"tap on row 2", [&] { return kvtest::TapWindow(list, POINT{50, 50}); },
       {Ntf(NM_SETFOCUS), Ntf(NM_CLICK)}, 2, 2},
      {"down", [&] { return kvtest::PressKey(VK_DOWN); }, {}, 3, -2},
      {"up twice", [&] { return kvtest::PressKey(VK_UP) && kvtest::PressKey(VK_UP); }, {}, 1, -2},
      {"enter", [&] { return kvtest::PressKey(VK_RETURN); }, {Ntf(NM_RETURN)}, 1, 1},
      {"end scrolls the last row in", [&] { return kvtest::PressKey(VK_END); }, {}, 7, -2},
      {"home", [&] { return kvtest::PressKey(VK_HOME); }, {}, 0, -2},
      {"up on the first row stays", [&] { return kvtest::PressKey(VK_UP); }, {}, 0, -2},
  };
  for (const Step& step : steps) {
    activations.clear();
    ASSERT_TRUE(step.act()) << step.what;
    EXPECT_EQ(step.heard, TakeNotifications()) << step.what;
    EXPECT_EQ(step.selected, Selected(list)) << step.what;
    EXPECT_EQ(step.activated, activations.empty() ? -2 : activations.back().iItem) << step.what;
  }
  ASSERT_TRUE(kvtest::PressKey(VK_END));
  EXPECT_EQ(3, SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  // A tap past the last item clears the selection and reports no item.
  SendMessageW(list, LVM_DELETEITEM, 7, 0);
  SendMessageW(list, LVM_SCROLL, 0, -1000);
  SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
  AddItem(list, 0, u"", 1);
  SetState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
  activations.clear();
  ASSERT_TRUE(kvtest::TapWindow(list, POINT{50, 90}));
  EXPECT_EQ((std::vector<Heard>{Ntf(NM_CLICK)}), TakeNotifications());
  ASSERT_EQ(1u, activations.size());
  EXPECT_EQ(-1, activations[0].iItem);
  EXPECT_EQ(-1, Selected(list));
}

class IconView : public ListView {
 protected:
  // The desktop's grid: nine items of 70 x 75 in a 240-pixel-wide list, no scrolling.
  HWND MakeGrid(DWORD extraStyle = 0)
  {
    HWND list = Make(WC_LISTVIEWW, LVS_ICON | LVS_SINGLESEL | extraStyle, {0, 0, 240, 260});
    SendMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(70, 75));
    images = ImageList_Create(70, 75, 0, 0, 1);
    SendMessageW(list, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    for (int i = 0; i < 9; ++i)
      AddItem(list, i, u"", i);
    SetState(list, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | LVS_NOSCROLL);
    return list;
  }
  HIMAGELIST images = nullptr;
};

TEST_F(IconView, PlacesItemsOnTheSpacingGrid)
{
  HWND list = MakeGrid();
  EXPECT_EQ((POINT{0, 0}), Position(list, 0));
  EXPECT_EQ((POINT{140, 0}), Position(list, 2));
  EXPECT_EQ((POINT{70, 150}), Position(list, 7));
  EXPECT_EQ((RECT{70, 75, 140, 150}), ItemRect(list, 4, LVIR_BOUNDS));
  EXPECT_EQ((RECT{70, 75, 140, 150}), ItemRect(list, 4, LVIR_ICON));
  EXPECT_EQ(9, SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0));
  // The spacing answer is the former spacing; items follow the new one.
  EXPECT_EQ(MAKELONG(70, 75), SendMessageW(list, LVM_SETICONSPACING, 0, MAKELPARAM(80, 80)));
  EXPECT_EQ((POINT{80, 80}), Position(list, 4));
  // An item put somewhere keeps its place.
  EXPECT_TRUE(SendMessageW(list, LVM_SETITEMPOSITION, 8, MAKELPARAM(5, 170)));
  EXPECT_EQ((POINT{5, 170}), Position(list, 8));
}

TEST_F(IconView, ArrowKeysMoveToTheNearestItemByPosition)
{
  HWND list = MakeGrid();
  SetFocus(list);
  struct Step {
    UINT key;
    int selected;
  };
  const Step steps[] = {
      {VK_RIGHT, 1}, {VK_RIGHT, 2}, {VK_RIGHT, 2},  // no item further right on the row
      {VK_DOWN, 5},  {VK_DOWN, 8},  {VK_DOWN, 8},   {VK_LEFT, 7}, {VK_UP, 4}, {VK_LEFT, 3}, {VK_LEFT, 3},
  };
  for (const Step& step : steps) {
    ASSERT_TRUE(kvtest::PressKey(step.key));
    EXPECT_EQ(step.selected, Selected(list)) << step.key;
  }
  // Moved items are found where they are now: item 0 put between items 3 and 4.
  SendMessageW(list, LVM_SETITEMPOSITION, 0, MAKELPARAM(35, 75));
  ASSERT_TRUE(kvtest::PressKey(VK_RIGHT));
  EXPECT_EQ(0, Selected(list));
  Take();
  ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
  EXPECT_EQ((std::vector<Heard>{Ntf(NM_RETURN)}), TakeNotifications());
  EXPECT_EQ(0, activations.at(0).iItem);
}

TEST_F(IconView, TapsReportTheItemUnderThem)
{
  HWND list = MakeGrid();
  Take();
  ASSERT_TRUE(kvtest::TapWindow(list, POINT{180, 100}));
  EXPECT_EQ((std::vector<Heard>{Ntf(NM_SETFOCUS), Ntf(NM_CLICK)}), TakeNotifications());
  EXPECT_EQ(5, activations.at(0).iItem);
  EXPECT_EQ(5, activations.at(0).lParam);
  EXPECT_EQ(5, Selected(list));
}

TEST_F(IconView, DestroysItsImageListsUnlessShared)
{
  for (DWORD style : {DWORD{0}, DWORD{LVS_SHAREIMAGELISTS}}) {
    HWND list = MakeGrid(style);
    DestroyWindow(list);
    // A list it destroyed is gone; a shared one is still the caller's to destroy.
    EXPECT_EQ(style != 0, ImageList_Destroy(images) != FALSE) << style;
  }
}

TEST_F(ListView, PaintsReportRowsAndIcons)
{
  HWND report = Make(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_NOCOLUMNHEADER, {0, 0, 240, 100});
  SendMessageW(report, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  AddColumn(report, 0, 120);
  AddColumn(report, 1, 120);
  const char16_t* names[] = {u"手机充值", u"转账", u"交易查询"};
  for (int i = 0; i < 3; ++i) {
    AddItem(report, i, names[i]);
    SetSubText(report, i, 1, u"100.00元");
  }
  SetFocus(report);
  SetState(report, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  HWND icons = Make(WC_LISTVIEWW, LVS_ICON, {0, 110, 240, 320}, 101);
  HIMAGELIST images = ImageList_Create(32, 32, 0, 0, 1);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP strip = CreateCompatibleBitmap(screen, 64, 32);
  HGDIOBJ old = SelectObject(memory, strip);
  RECT left{0, 0, 32, 32}, right{32, 0, 64, 32};
  HBRUSH red = CreateSolidBrush(RGB(200, 40, 40)), blue = CreateSolidBrush(RGB(40, 40, 200));
  FillRect(memory, &left, red);
  FillRect(memory, &right, blue);
  SelectObject(memory, old);
  ImageList_Add(images, strip, nullptr);
  DeleteObject(red);
  DeleteObject(blue);
  DeleteObject(strip);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  SendMessageW(icons, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
  for (int i = 0; i < 4; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = i;
    item.iImage = i % 2;
    item.pszText = const_cast<LPWSTR>(names[i % 3]);
    SendMessageW(icons, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  ASSERT_TRUE(kvtest::RunUntilIdle());
  HDC dc = GetDC(report);
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, 230, ItemRect(report, 1, LVIR_BOUNDS).top + 1));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(dc, 230, 95));
  ReleaseDC(report, dc);
  RECT icon = ItemRect(icons, 1, LVIR_ICON);
  dc = GetDC(icons);
  EXPECT_EQ(RGB(40, 40, 200), GetPixel(dc, icon.left + 5, icon.top + 5));
  ReleaseDC(icons, dc);
  EXPECT_FALSE(kvtest::SaveScreenshot("list_view").empty());
}

// The program's own list classes are superclasses: the class record taken with GetClassInfo under a
// name of their own, their procedure in front of the list view's.
TEST_F(ListView, WorksAsTheBaseOfASuperclass)
{
  WNDCLASSW wc{};
  ASSERT_TRUE(GetClassInfoW(nullptr, WC_LISTVIEWW, &wc));
  WNDPROC base = wc.lpfnWndProc;
  std::vector<UINT> seen;
  WNDPROC front = MakeWindowProc([&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_CREATE)
      seen.push_back(message);
    return CallWindowProcW(base, hwnd, message, wParam, lParam);
  });
  wc.lpfnWndProc = front;
  wc.lpszClassName = u"SuperListView";
  ASSERT_TRUE(RegisterClassW(&wc));
  HWND list = Make(u"SuperListView", LVS_REPORT, {0, 0, 200, 100});
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(std::vector<UINT>{WM_CREATE}, seen);
  AddColumn(list, 0, 200);
  EXPECT_EQ(0, AddItem(list, 0, u"记录", 5));
  EXPECT_EQ(u"记录", TextOf(list, 0));
  DestroyWindow(list);
  UnregisterClassW(u"SuperListView", nullptr);
  FreeWindowProc(front);
}

}  // namespace
