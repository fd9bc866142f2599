// The skinned combo box: its scale on larger screens, the closed box without a choice, the
// taken-over list that stays open under the arrow keys and closes on a tap, and a box that
// outlives its control.
#include <gtest/gtest.h>

#include <memory>

#include "bitmap_file.h"
#include "scroll_form_ctrl.h"
#include "test_resource_library.h"
#include "testing/screenshot.h"
#include "toolkit_fixture.h"

namespace {

constexpr COLORREF kArrow = 0x8E8E8E;

class ScrollFormCtrlTest : public kvtest::ToolkitTest {
 protected:
  void SetUp() override
  {
    ToolkitTest::SetUp();
    HMODULE library = kvtest::MakeResourceLibrary(root, "ComboRes",
                                                  "223 BITMAP \"223.bmp\"\n224 BITMAP \"224.bmp\"\n"
                                                  "225 BITMAP \"225.bmp\"\n",
                                                  {{"223.bmp", kvtest::BmpFile(2, 20, RGB(0, 160, 0))},
                                                   {"224.bmp", kvtest::BmpFile(2, 20, RGB(255, 0, 0))},
                                                   {"225.bmp", kvtest::BmpFile(1, 20, RGB(200, 220, 255))}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }
  void TearDown() override
  {
    ToolkitTest::TearDown();
    kvtest::SetScreenSize(240, 320);
  }

  // A drop-down list box with three items, taken over; nothing selected.
  HWND MakeBox()
  {
    box = CreateWindowExW(0, WC_COMBOBOXW, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWNLIST, 10, 10,
                          200, 200, parent, reinterpret_cast<HMENU>(100), nullptr, nullptr);
    for (const char16_t* item : {u"充值卡", u"网上银行", u"银行卡"})
      SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    control = std::make_unique<CScrollFormCtrl>();
    EXPECT_TRUE(control->SubclassWindow(box));
    InvalidateRect(box, nullptr, TRUE);
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return box;
  }
  static int CountInRow(HWND window, int y, int from, int to, COLORREF colour)
  {
    HDC dc = GetWindowDC(window);
    int count = 0;
    for (int x = from; x < to; ++x)
      count += GetPixel(dc, x, y) == colour;
    ReleaseDC(window, dc);
    return count;
  }

  HWND box = nullptr;
  std::unique_ptr<CScrollFormCtrl> control;  // outlives the windows
};

// The arrow has its upright shape on a turned screen too: 5 pixels high per unit of scale, its top
// as wide as 10.
TEST_F(ScrollFormCtrlTest, ItemHeightAndArrowFollowTheScreenSize)
{
  struct Case {
    int width, height, itemHeight, arrowScale;
  };
  for (const Case& c : {Case{240, 320, 27, 1}, Case{480, 640, 54, 2}, Case{320, 240, 27, 1}, Case{640, 480, 54, 2}}) {
    kvtest::SetScreenSize(c.width, c.height);
    MakeBox();
    EXPECT_EQ(c.itemHeight, SendMessageW(box, CB_GETITEMHEIGHT, 0, 0)) << c.width;
    RECT client;
    GetClientRect(box, &client);
    int right = client.right + 2 * (c.width / 240);
    int arrowWidth = 10 * c.arrowScale;
    int arrowTop = 6 * c.arrowScale;
    int arrow = CountInRow(box, arrowTop, right - arrowWidth - 8, right, kArrow);
    EXPECT_GE(arrow, arrowWidth) << c.width;
    EXPECT_LE(arrow, arrowWidth + 1) << c.width;
    EXPECT_GT(CountInRow(box, arrowTop + 4 * c.arrowScale, right - arrowWidth - 8, right, kArrow), 0)
        << c.width << ": the arrow has its height";
    DestroyWindow(box);
    control.reset();
  }
}

TEST_F(ScrollFormCtrlTest, ShowsTheChosenTextOnly)
{
  MakeBox();
  RECT client;
  GetClientRect(box, &client);
  auto inked = [&] {
    int count = 0;
    for (int y = 3; y < client.bottom - 2; ++y)  // inside the frame
      count += (client.right - 25 - 5) - CountInRow(box, y, 5, client.right - 25, 0xFFFFFF);
    return count;
  };
  EXPECT_EQ(0, inked()) << "no selection, no text";
  SendMessageW(box, CB_SETCURSEL, 1, 0);
  InvalidateRect(box, nullptr, TRUE);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_GT(inked(), 0);
  kvtest::SaveScreenshot("scroll_form_ctrl", parent);
}

TEST_F(ScrollFormCtrlTest, FocusedClosedBoxIsHighlighted)
{
  MakeBox();
  struct Case {
    bool focused, dropped;
    COLORREF fill, frame;
  };
  for (const Case& c : {Case{false, false, 0xFFFFFF, 0xCCCCCC}, Case{true, false, 0xFFF0EE, 0x903A36},
                        Case{true, true, 0xFFFFFF, 0xCCCCCC}}) {
    SetFocus(c.focused ? box : parent.m_hWnd);
    SendMessageW(box, CB_SHOWDROPDOWN, c.dropped, 0);
    ASSERT_TRUE(kvtest::RunUntilIdle());
    InvalidateRect(box, nullptr, FALSE);
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(1, CountInRow(box, 2, 2, 3, c.fill)) << "focused " << c.focused << " dropped " << c.dropped;
    EXPECT_EQ(1, CountInRow(box, 0, 60, 61, c.frame)) << "focused " << c.focused << " dropped " << c.dropped;
  }
}

TEST_F(ScrollFormCtrlTest, TheBoxAndItsListShowTheirWholeFrame)
{
  MakeBox();
  SetFocus(parent);
  SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  RECT field;
  GetWindowRect(box, &field);
  HWND list = WindowFromPoint(POINT{field.left + 30, field.bottom + 10});
  ASSERT_NE(nullptr, list);
  ASSERT_NE(box, list);
  RECT dropped;
  GetWindowRect(list, &dropped);
  auto pixel = [](HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
  };
  int w = field.right - field.left, h = field.bottom - field.top;
  int lw = dropped.right - dropped.left, lh = dropped.bottom - dropped.top;
  struct Case {
    const char* where;
    HWND window;
    int x, y;
    COLORREF colour;
  } cases[] = {
      {"box, right frame", box, w - 2, h / 2, 0xCCCCCC}, {"box, right shadow", box, w - 1, h / 2, 0xBBBBBB},
      {"box, bottom frame", box, w / 2, h - 2, 0xCCCCCC}, {"box, bottom shadow", box, w / 2, h - 1, 0xBBBBBB},
      {"list, right frame", list, lw - 1, lh / 2, 0xCCCCCC}, {"list, bottom frame", list, lw / 2, lh - 1, 0xCCCCCC},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.colour, pixel(c.window, c.x, c.y)) << c.where;
}

TEST_F(ScrollFormCtrlTest, EditPartGetsAFlatFramedBackground)
{
  HWND editable = CreateWindowExW(0, WC_COMBOBOXW, nullptr, WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 10, 50, 200, 200,
                                  parent, reinterpret_cast<HMENU>(101), nullptr, nullptr);
  control = std::make_unique<CScrollFormCtrl>();
  ASSERT_TRUE(control->SubclassWindow(editable));
  HWND edit = GetWindow(editable, GW_CHILD);
  ASSERT_NE(nullptr, edit);
  RECT client;
  GetClientRect(edit, &client);
  kvtest::Canvas canvas(client.right, client.bottom);
  auto dc = reinterpret_cast<WPARAM>(canvas.dc);
  LRESULT brush = SendMessageW(editable, WM_CTLCOLOREDIT, dc, reinterpret_cast<LPARAM>(edit));
  EXPECT_NE(0, brush);
  EXPECT_EQ(0x7E7E7Eu, canvas.At(0, 0));
  EXPECT_EQ(0x7E7E7Eu, canvas.At(client.right - 1, client.bottom - 1));
  EXPECT_EQ(0xF5F5F5u, canvas.At(2, 2));
  EXPECT_EQ(brush, SendMessageW(editable, WM_CTLCOLOREDIT, dc, reinterpret_cast<LPARAM>(edit)))
      << "one brush, kept until the box goes";
}

TEST_F(ScrollFormCtrlTest, ArrowsKeepTheListOpenAndATapClosesIt)
{
  MakeBox();
  SetFocus(box);
  SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(control->IsListTakenOver());
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  EXPECT_EQ(1, SendMessageW(box, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(1, SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) << "the arrows leave the list open";
  kvtest::SaveScreenshot("scroll_form_list", parent);

  RECT field;
  GetWindowRect(box, &field);
  ASSERT_TRUE(kvtest::Tap(POINT{field.left + 30, field.bottom + 27 * 2 + 13}));
  EXPECT_EQ(2, SendMessageW(box, CB_GETCURSEL, 0, 0));
  EXPECT_EQ(0, SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) << "a tap on an item closes the list";
}

// A dialog object may go before its window: the box and its list then answer as the platform's
// own controls, not as windows without a procedure.
TEST_F(ScrollFormCtrlTest, ABoxThatOutlivesItsControlKeepsWorking)
{
  MakeBox();
  SendMessageW(box, CB_SHOWDROPDOWN, TRUE, 0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  ASSERT_TRUE(control->IsListTakenOver());
  control.reset();
  EXPECT_EQ(3, SendMessageW(box, CB_GETCOUNT, 0, 0));
  EXPECT_EQ(TRUE, SendMessageW(box, CB_SHOWDROPDOWN, FALSE, 0));
  EXPECT_EQ(0, SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0));
  EXPECT_EQ(1, SendMessageW(box, CB_SETCURSEL, 1, 0));
  EXPECT_EQ(1, SendMessageW(box, CB_GETCURSEL, 0, 0));
}

}  // namespace
