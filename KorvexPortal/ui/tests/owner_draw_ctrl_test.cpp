// The owner-drawn controls laid over dialog items: text runs with an icon and a focus frame,
// the separator, the text block cut into lines, and the skinned tab strip.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "bitmap_file.h"
#include "owner_draw_ctrl_a.h"
#include "owner_draw_ctrl_b.h"
#include "owner_draw_ctrl_c.h"
#include "owner_draw_ctrl_d.h"
#include "owner_draw_ctrl_e.h"
#include "test_resource_library.h"
#include "testing/message_log.h"
#include "testing/screenshot.h"
#include "toolkit_fixture.h"

namespace {

constexpr COLORREF kLineBackground = 0xFEF6ED;
constexpr COLORREF kCapLeft = RGB(255, 0, 0);
constexpr COLORREF kCapMiddle = RGB(200, 220, 255);
constexpr COLORREF kCapRight = RGB(0, 160, 0);

using InkTest = std::function<bool(COLORREF)>;
bool RedInk(COLORREF c) { return GetRValue(c) > 150 && GetRValue(c) - GetGValue(c) > 60; }
bool DarkInk(COLORREF c) { return GetRValue(c) < 110 && GetGValue(c) < 110 && GetBValue(c) < 110; }

class OwnerDrawTest : public kvtest::ToolkitTest {
 protected:
  void SetUp() override
  {
    ToolkitTest::SetUp();
    HMODULE library = kvtest::MakeResourceLibrary(
        root, "DrawRes",
        "223 BITMAP \"223.bmp\"\n224 BITMAP \"224.bmp\"\n225 BITMAP \"225.bmp\"\n"
        "1028 BITMAP \"1028.bmp\"\n1029 BITMAP \"1029.bmp\"\n1030 BITMAP \"1030.bmp\"\n",
        {{"223.bmp", kvtest::BmpFile(2, 20, kCapRight)},
         {"224.bmp", kvtest::BmpFile(2, 20, kCapLeft)},
         {"225.bmp", kvtest::BmpFile(1, 20, kCapMiddle)},
         // The selected tab's images, as tall as a tab on this screen.
         {"1028.bmp", kvtest::BmpFile(3, 20, kCapLeft)},
         {"1029.bmp", kvtest::BmpFile(1, 20, kCapMiddle)},
         {"1030.bmp", kvtest::BmpFile(3, 20, kCapRight)}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }

  HWND MakeItem(LPCWSTR cls, LPCWSTR text, RECT rect, int id = 100, DWORD style = 0)
  {
    return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(id)),
                           nullptr, nullptr);
  }
  static COLORREF Pixel(HWND window, int x, int y)
  {
    HDC dc = GetDC(window);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return colour;
  }
  // The first column (from the left) of the rectangle holding a pixel that passes the test; -1
  // when none does. With fromRight, the last such column.
  static int InkColumn(HWND window, RECT rect, const InkTest& ink, bool fromRight = false)
  {
    HDC dc = GetDC(window);
    int found = -1;
    for (int i = 0; i < rect.right - rect.left && found < 0; ++i) {
      int x = fromRight ? rect.right - 1 - i : rect.left + i;
      for (int y = rect.top; y < rect.bottom && found < 0; ++y)
        if (ink(GetPixel(dc, x, y)))
          found = x;
    }
    ReleaseDC(window, dc);
    return found;
  }
  // The width of a text in the window's default font.
  static int TextWidth(HWND window, const std::u16string& text)
  {
    HDC dc = GetDC(window);
    SIZE size{};
    GetTextExtentExPointW(dc, text.c_str(), static_cast<int>(text.size()), 0, nullptr, nullptr, &size);
    ReleaseDC(window, dc);
    return size.cx;
  }
  static HBITMAP MakeIcon()
  {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP icon = CreateCompatibleBitmap(dc, 8, 8);
    HGDIOBJ old = SelectObject(dc, icon);
    RECT all{0, 0, 8, 8}, inner{2, 2, 6, 6};
    HBRUSH key = CreateSolidBrush(0xF7F7F7);
    FillRect(dc, &all, key);
    DeleteObject(key);
    FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
    return icon;
  }

  kvtest::MessageLog log;  // outlives the parent's windows, which it may watch
};

TEST_F(OwnerDrawTest, TextRunsFollowTheIconSideBySide)
{
  const std::u16string run = u"余额";
  for (bool withIcon : {true, false}) {
    HWND item = MakeItem(WC_BUTTONW, u"", RECT{0, 100, 240, 130}, withIcon ? 100 : 101);
    auto* control = new COwnerDrawCtrlA;
    std::unique_ptr<COwnerDrawCtrlA> owned(control);
    ASSERT_TRUE(control->SubclassWindow(item));
    if (withIcon)
      control->SetBitmap(MakeIcon());
    control->AddItem(run.c_str(), RGB(255, 0, 0));
    control->AddItem(run.c_str(), RGB(0, 0, 0));
    control->AddItem(run.c_str(), RGB(255, 0, 0));
    InvalidateRect(item, nullptr, TRUE);
    ASSERT_TRUE(kvtest::RunUntilIdle());
    if (withIcon)
      kvtest::SaveScreenshot("owner_draw_ctrl_a", item);

    int width = TextWidth(item, run);
    int start = withIcon ? 8 + 10 : 10;
    RECT line{1, 1, 239, 29};
    int firstRed = InkColumn(item, line, RedInk);
    EXPECT_GE(firstRed, start) << "icon " << withIcon;
    EXPECT_LT(firstRed, start + 3) << "icon " << withIcon;
    int firstDark = InkColumn(item, RECT{start + 8, 1, 239, 29}, DarkInk);
    EXPECT_GE(firstDark, start + width) << "the second run follows the first without a gap";
    EXPECT_LT(firstDark, start + width + 3);
    int lastRed = InkColumn(item, line, RedInk, true);
    EXPECT_GT(lastRed, start + 3 * width - 4) << "the third run follows the second";
    EXPECT_LE(lastRed, start + 3 * width);
    if (withIcon) {
      EXPECT_EQ(RGB(0, 0, 0), Pixel(item, 5 + 3, 15 - 4 + 3)) << "the icon sits 5 pixels in, centred";
      EXPECT_EQ(kLineBackground, Pixel(item, 5, 15 - 4)) << "its key colour is left out";
    }
    DestroyWindow(item);
  }
}

TEST_F(OwnerDrawTest, FramesShowTheFocusOfTheTappableLineOnly)
{
  HWND a = MakeItem(WC_BUTTONW, u"", RECT{0, 0, 120, 30}, 100, WS_TABSTOP);
  HWND b = MakeItem(WC_STATICW, u"", RECT{0, 40, 120, 70}, 101);
  COwnerDrawCtrlA lineA;
  COwnerDrawCtrlB lineB;
  ASSERT_TRUE(lineA.SubclassWindow(a));
  ASSERT_TRUE(lineB.SubclassWindow(b));
  lineB.SetImage(MakeIcon());
  lineB.AddItem(u"转账", RGB(0, 0, 0));
  InvalidateRect(b, nullptr, TRUE);
  struct Case {
    HWND focus;
    COLORREF frameA, frameB;
  };
  for (const Case& c : {Case{a, 0xFF0000, 0xE9B49A}, Case{b, 0xF4DBD8, 0xE9B49A}}) {
    SetFocus(c.focus);
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(c.frameA, Pixel(a, 60, 0));
    EXPECT_EQ(c.frameA, Pixel(a, 119, 15));
    EXPECT_EQ(c.frameB, Pixel(b, 60, 29));
    EXPECT_EQ(kLineBackground, Pixel(b, 60, 2));
  }
  EXPECT_EQ(RGB(0, 0, 0), Pixel(b, 5 + 3, 11 + 3)) << "B always draws its icon";
  kvtest::SaveScreenshot("owner_draw_ctrl_b", b);

  log.Watch(parent, "parent");
  ASSERT_TRUE(kvtest::TapWindow(a));
  bool posted = false;
  for (const kvtest::RecordedMessage& m : log.Messages())
    posted |= m.message == WM_COMMAND && (m.how & kvtest::posted) && m.wParam == MAKEWPARAM(100, 0) &&
              m.lParam == reinterpret_cast<LPARAM>(a);
  EXPECT_TRUE(posted) << "a tap posts the command to the parent";
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST_F(OwnerDrawTest, SeparatorIsAGreyLineOverAWhiteOne)
{
  HWND item = MakeItem(WC_STATICW, u"", RECT{10, 10, 230, 16});
  COwnerDrawCtrlC separator;
  ASSERT_TRUE(separator.SubclassWindow(item));
  InvalidateRect(item, nullptr, TRUE);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  for (int x : {0, 110, 219}) {
    EXPECT_EQ(0xD4D4D4u, Pixel(item, x, 0));
    EXPECT_EQ(0xFFFFFFu, Pixel(item, x, 1));
    EXPECT_EQ(0xF5F5F5u, Pixel(item, x, 2));
  }
  DestroyWindow(item);
}

TEST_F(OwnerDrawTest, TextBlockCutsTheTextIntoLinesOfAFixedCount)
{
  const std::u16string text = u"付款前请核对商户名称和订单金额，确认无误后再输入六位支付密码";
  ASSERT_EQ(30u, text.size());
  HWND probe = MakeItem(WC_STATICW, u"", RECT{0, 0, 10, 10}, 99);
  int perChar = TextWidth(probe, text) / 30;
  HDC dc = GetDC(probe);
  SIZE whole{};
  GetTextExtentExPointW(dc, text.c_str(), 30, 0, nullptr, nullptr, &whole);
  ReleaseDC(probe, dc);
  DestroyWindow(probe);
  ASSERT_GT(perChar, 0);

  int lineHeight = static_cast<int>(whole.cy) + 5;
  HWND item = MakeItem(WC_STATICW, text.c_str(), RECT{0, 0, 12 * perChar + perChar / 2, 5 * lineHeight});
  COwnerDrawCtrlD block;
  ASSERT_TRUE(block.SubclassWindow(item));
  InvalidateRect(item, nullptr, TRUE);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  kvtest::SaveScreenshot("owner_draw_ctrl_d", item);
  RECT client;
  GetClientRect(item, &client);
  auto lineEnd = [&](int line) {
    return InkColumn(item, RECT{0, line * lineHeight, client.right, line * lineHeight + lineHeight - 5}, DarkInk, true);
  };
  EXPECT_GT(lineEnd(0), 11 * perChar);
  EXPECT_GT(lineEnd(1), 11 * perChar);
  EXPECT_GT(lineEnd(2), 5 * perChar) << "the last line holds the 6 characters left";
  EXPECT_LE(lineEnd(2), 6 * perChar);
  EXPECT_EQ(-1, lineEnd(3));
  DestroyWindow(item);
}

TEST_F(OwnerDrawTest, EmptyTextBlockLeavesWhatLiesBehind)
{
  HWND item = MakeItem(WC_STATICW, u"", RECT{20, 20, 120, 60});
  COwnerDrawCtrlD block;
  ASSERT_TRUE(block.SubclassWindow(item));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  // Whatever lies on the screen there stays: here a colour no control paints.
  HDC dc = GetDC(item);
  RECT all{0, 0, 100, 40};
  HBRUSH marker = CreateSolidBrush(RGB(255, 0, 255));
  FillRect(dc, &all, marker);
  DeleteObject(marker);
  ReleaseDC(item, dc);
  InvalidateRect(item, nullptr, FALSE);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(RGB(255, 0, 255), Pixel(item, 50, 20));
  RECT update{};
  EXPECT_FALSE(GetUpdateRect(item, &update, FALSE)) << "the paint cycle ended";
  DestroyWindow(item);
}

TEST_F(OwnerDrawTest, TabStripDrawsTheCurrentTabFromItsImages)
{
  HWND item = MakeItem(WC_TABCONTROLW, nullptr, RECT{0, 0, 240, 60});
  COwnerDrawCtrlE strip;
  ASSERT_TRUE(strip.SubclassWindow(item));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  int edge = GetSystemMetrics(SM_CYEDGE);
  EXPECT_EQ(0xE7E7E7u, Pixel(item, 100, 0)) << "without tabs only the band";
  EXPECT_EQ(0xCCCCCCu, Pixel(item, 100, 2 * edge - 1));
  EXPECT_EQ(0xF5F5F5u, Pixel(item, 100, 2 * edge));

  const char16_t* names[] = {u"基本信息", u"银行卡", u"完成"};
  for (int i = 0; i < 3; ++i) {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    tab.pszText = const_cast<LPWSTR>(names[i]);
    SendMessageW(item, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
  }
  SendMessageW(item, TCM_SETCURSEL, 1, 0);
  InvalidateRect(item, nullptr, TRUE);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  kvtest::SaveScreenshot("owner_draw_ctrl_e", item);
  RECT first{}, current{};
  SendMessageW(item, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  SendMessageW(item, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&current));
  int bandBottom = static_cast<int>(first.bottom - first.top) + 2 * edge;
  EXPECT_EQ(0xCCCCCCu, Pixel(item, 239, bandBottom - 1));
  EXPECT_EQ(0xF5F5F5u, Pixel(item, 239, bandBottom));
  EXPECT_EQ(0xE7E7E7u, Pixel(item, first.left + 1, first.top + 1)) << "a tab that is not current";
  EXPECT_EQ(kCapLeft, Pixel(item, current.left, current.top + 1));
  EXPECT_EQ(kCapLeft, Pixel(item, current.left + 2, current.top + 1));
  EXPECT_EQ(kCapMiddle, Pixel(item, current.left + 3, current.top + 1));
  EXPECT_EQ(kCapRight, Pixel(item, current.right - 1, current.top + 1));
  EXPECT_EQ(0xF5F5F5u, Pixel(item, current.left, bandBottom)) << "nothing of the tab hangs into the page";
  EXPECT_EQ(0, SendMessageW(item, OCM_DRAWITEM, 100, 0)) << "item drawing is swallowed";
  DestroyWindow(item);
}

}  // namespace
