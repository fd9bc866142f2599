// The skinned label: keeps its text itself (the static's own text stays empty), draws it into
// its background brush on one line, word-wrapped or with an ellipsis as the room allows, and is
// painted by the static through the reflected colour request.
#include "skin_label.h"
#include "testing/screenshot.h"
#include "toolkit_fixture.h"

namespace {

using SkinLabel = kvtest::ToolkitTest;

std::u16string WindowText(HWND hwnd)
{
  WCHAR buffer[64] = {};
  GetWindowTextW(hwnd, buffer, 64);
  return buffer;
}

TEST_F(SkinLabel, KeepsItsTextWhileTheStaticsOwnStaysEmpty)
{
  struct Case {
    const char16_t* caption;
    const char16_t* set;  // null: no WM_SETTEXT
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"余额：", nullptr, u"余额："},
      {u"余额：", u"12.00 元", u"12.00 元"},
      {u"余额：", u"Static", u"余额："},
      {u"Static", nullptr, u""},
      {u"Static", u"Static", u""},
      {u"Static", u"", u""},
  };
  for (const Case& c : cases) {
    HWND hwnd = MakeStatic(c.caption, RECT{10, 10, 110, 30});
    CSkinLabel label;
    ASSERT_TRUE(label.SubclassStatic(hwnd));
    if (c.set) {
      EXPECT_EQ(TRUE, SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.set)));
    }
    EXPECT_EQ(std::u16string(c.expected), WindowText(hwnd)) << kvtest::Narrow(c.caption);
    EXPECT_EQ(static_cast<LRESULT>(std::u16string(c.expected).size()), SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(0, DefWindowProcW(hwnd, WM_GETTEXTLENGTH, 0, 0)) << "the static's own text stays empty";
    DestroyWindow(hwnd);
  }
}

TEST_F(SkinLabel, GetTextCopiesWhatFitsTheBuffer)
{
  HWND hwnd = MakeStatic(u"账户余额", RECT{10, 10, 110, 30});
  CSkinLabel label;
  ASSERT_TRUE(label.SubclassStatic(hwnd));
  WCHAR buffer[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(2, SendMessageW(hwnd, WM_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)));
  EXPECT_EQ(std::u16string(u"账户"), std::u16string(buffer));
  EXPECT_EQ(u'x', buffer[3]);
  DestroyWindow(hwnd);
}

// The label's background with its text, against the text drawn directly with the flags the
// room calls for.
TEST_F(SkinLabel, TextFitsOnOneLineWrapsOrEndsInAnEllipsis)
{
  const char16_t* longText = u"这是一段很长的说明文字需要换行显示";
  HDC screen = GetDC(nullptr);
  SIZE exact{};
  GetTextExtentPoint32W(screen, u"12.00", 5, &exact);
  ReleaseDC(nullptr, screen);
  struct Case {
    const char* name;
    const char16_t* caption;
    const char16_t* text;
    SIZE size;
    UINT format;
    bool wrap;
    bool captionPrefix;
    const char16_t* shown;
    UINT expectedFlags;
  };
  const Case cases[] = {
      {"short, centred", u"", u"确定", {100, 30}, DT_CENTER | DT_VCENTER, true, false, u"确定",
       DT_CENTER | DT_VCENTER | DT_NOPREFIX | DT_SINGLELINE},
      {"exactly as wide, right-aligned", u"", u"12.00", {exact.cx, 30}, DT_RIGHT | DT_VCENTER, true, false, u"12.00",
       DT_RIGHT | DT_VCENTER | DT_NOPREFIX | DT_SINGLELINE},
      {"too wide, room for the lines", u"", longText, {100, 120}, DT_CENTER | DT_VCENTER, true, false, longText,
       DT_NOPREFIX | DT_WORDBREAK},
      {"too wide, no room below", u"", longText, {100, 20}, DT_VCENTER, true, false, longText,
       DT_VCENTER | DT_NOPREFIX | DT_SINGLELINE},
      {"too wide, no wrapping", u"", longText, {100, 120}, DT_VCENTER, false, false, longText,
       DT_END_ELLIPSIS | DT_NOPREFIX},
      {"caption before the text", u"金额：", u"5.00", {200, 30}, DT_VCENTER, true, true, u"金额：5.00",
       DT_VCENTER | DT_NOPREFIX | DT_SINGLELINE},
  };
  for (const Case& c : cases) {
    HWND hwnd = MakeStatic(c.caption, RECT{0, 0, c.size.cx, c.size.cy});
    CSkinLabel label(c.captionPrefix);
    ASSERT_TRUE(label.SubclassStatic(hwnd));
    label.m_format = c.format;
    label.m_bWrap = c.wrap;
    label.SetTextColor(RGB(0, 0, 255));
    label.m_background.SetSource(RGB(255, 255, 255), true);
    SetWindowTextW(hwnd, c.text);
    auto brush = reinterpret_cast<HBRUSH>(SendMessageW(hwnd, OCM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(hwnd)));
    ASSERT_NE(nullptr, brush) << c.name;
    kvtest::Canvas drawn(c.size.cx, c.size.cy);
    PaintBrush(drawn, brush);

    kvtest::Canvas expected(c.size.cx, c.size.cy);
    SetBkMode(expected.dc, TRANSPARENT);
    SetTextColor(expected.dc, RGB(0, 0, 255));
    RECT rect{0, 0, c.size.cx, c.size.cy};
    DrawTextW(expected.dc, c.shown, -1, &rect, c.expectedFlags);
    EXPECT_EQ(expected.Pixels(), drawn.Pixels()) << c.name;
    RECT ink = drawn.Ink();
    EXPECT_LT(ink.left, ink.right) << c.name << ": something is drawn";
    DestroyWindow(hwnd);
  }
}

TEST_F(SkinLabel, TheStaticPaintsTheLabelOnTheSkin)
{
  HBITMAP skin = kvtest::MakeGradientBitmap(240, 320);
  HWND hwnd = MakeStatic(u"Static", RECT{20, 100, 220, 130});
  CSkinLabel label;
  ASSERT_TRUE(label.SubclassStatic(hwnd));
  label.m_background.Attach(&skin, false);
  label.m_format = DT_CENTER | DT_VCENTER;
  label.SetTextColor(RGB(255, 255, 255));
  SetWindowTextW(hwnd, u"欢迎使用");
  InvalidateRect(hwnd, nullptr, TRUE);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  HDC dc = GetDC(hwnd);
  EXPECT_EQ(RGB(20, 100, 128), GetPixel(dc, 0, 0)) << "the skin shows through at the label's place";
  EXPECT_EQ(RGB(219, 129, 128), GetPixel(dc, 199, 29));
  int white = 0;
  for (int x = 0; x < 200; ++x)
    for (int y = 0; y < 30; ++y)
      white += GetPixel(dc, x, y) == RGB(255, 255, 255);
  ReleaseDC(hwnd, dc);
  EXPECT_GT(white, 0) << "the text is drawn";
  kvtest::SaveScreenshot("SkinLabel_on_skin", parent);
  DestroyWindow(hwnd);
  DeleteObject(skin);
}

}  // namespace
