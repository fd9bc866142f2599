// Text on device contexts: drawing, measuring and metrics in the selected font and colours.
#include "testing/canvas.h"
#include "windows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using kvtest::Canvas;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A font made from the system font's record with a weight of its own, selected while it lives.
struct SelectedFont {
  HDC dc;
  HFONT font;
  HGDIOBJ old;
  SelectedFont(HDC d, LONG weight, LONG height = 0) : dc(d)
  {
    LOGFONTW record{};
    GetObject(GetStockObject(SYSTEM_FONT), sizeof record, &record);
    record.lfWeight = weight;
    if (height)
      record.lfHeight = height;
    font = CreateFontIndirect(&record);
    old = SelectObject(dc, font);
  }
  ~SelectedFont()
  {
    SelectObject(dc, old);
    DeleteObject(font);
  }
};

SIZE Extent(HDC dc, std::u16string_view text)
{
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size));
  return size;
}

TEST(TextOutput, MetricsOfTheSystemFont)
{
  Canvas canvas(8, 8);
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm));
  EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
  EXPECT_GT(tm.tmHeight, 12);
  EXPECT_GT(tm.tmAveCharWidth, 0);
  EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(tm.tmWeight, FW_NORMAL);
  EXPECT_EQ(Extent(canvas.dc, u"付款").cy, tm.tmHeight);

  SelectedFont heavy(canvas.dc, FW_HEAVY);
  TEXTMETRICW bold{};
  ASSERT_TRUE(GetTextMetricsW(canvas.dc, &bold));
  EXPECT_EQ(bold.tmWeight, FW_BOLD);
  EXPECT_GT(bold.tmAveCharWidth, tm.tmAveCharWidth);
  EXPECT_EQ(bold.tmHeight, tm.tmHeight);
}

TEST(TextOutput, ExtentsGrowWithTextAndWeight)
{
  Canvas canvas(8, 8);
  const std::u16string text = u"账户余额 100.00元";
  const SIZE normal = Extent(canvas.dc, text);
  EXPECT_GT(normal.cx, Extent(canvas.dc, u"账户余额").cx);
  EXPECT_EQ(Extent(canvas.dc, u"").cx, 0);
  SelectedFont heavy(canvas.dc, FW_HEAVY);
  EXPECT_GT(Extent(canvas.dc, text).cx, normal.cx);
}

TEST(TextOutput, ExtentExGivesFitAndPartialExtents)
{
  Canvas canvas(8, 8);
  const std::u16string text = u"确认付款OK";
  const int n = static_cast<int>(text.size());
  std::vector<int> partial(text.size());
  SIZE size{};
  int fit = -1;
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text.data(), n, 1 << 20, &fit, partial.data(), &size));
  EXPECT_EQ(fit, n);
  EXPECT_EQ(partial.back(), size.cx);
  for (int i = 1; i < n; ++i)
    EXPECT_GT(partial[i], partial[i - 1]);
  const int one = partial[0];
  struct Case {
    int maxExtent, fit;
  } cases[] = {{0, 0}, {one - 1, 0}, {one, 1}, {partial[2], 3}, {partial[3] + 1, 4}, {size.cx, n}};
  for (const auto& c : cases) {
    ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text.data(), n, c.maxExtent, &fit, nullptr, nullptr));
    EXPECT_EQ(fit, c.fit) << c.maxExtent;
  }
  EXPECT_FALSE(GetTextExtentExPointW(canvas.dc, text.data(), -1, 10, &fit, nullptr, &size));
  EXPECT_FALSE(GetTextExtentPoint32W(nullptr, text.data(), n, &size));
}

TEST(TextOutput, DrawTextMeasuresChineseLinesAsTheLayoutDoes)
{
  Canvas canvas(8, 8);
  TEXTMETRICW tm{};
  GetTextMetricsW(canvas.dc, &tm);
  const std::u16string text = u"您的账户余额不足，请先充值后再付款。";
  const int full = Extent(canvas.dc, text).cx;
  struct Case {
    int width;
    int lines;
  } cases[] = {{full, 1}, {full / 2 + tm.tmMaxCharWidth, 2}, {full / 3 + tm.tmMaxCharWidth, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.width);
    RECT rect{0, 0, c.width, 0};
    const int height = DrawTextW(canvas.dc, text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(height, c.lines * tm.tmHeight);
    EXPECT_EQ(rect.bottom, c.lines * tm.tmHeight);
    EXPECT_LE(rect.right, c.width);
  }
  RECT single{0, 0, 0, 0};
  DrawTextW(canvas.dc, text.c_str(), -1, &single, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(single.right, full);
  EXPECT_EQ(single.bottom, tm.tmHeight);
}

TEST(TextOutput, DrawTextPlacesAndClipsItsText)
{
  Canvas canvas(120, 40);
  SetBkMode(canvas.dc, TRANSPARENT);
  SetTextColor(canvas.dc, kBlack);
  RECT rect{10, 5, 110, 35};
  const int height = DrawTextW(canvas.dc, u"确定", -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  TEXTMETRICW tm{};
  GetTextMetricsW(canvas.dc, &tm);
  const int width = Extent(canvas.dc, u"确定").cx;
  const int top = 5 + (30 - tm.tmHeight) / 2;
  EXPECT_EQ(height, top + tm.tmHeight - 5);
  RECT ink = canvas.Ink();
  EXPECT_GE(ink.left, (120 - width) / 2 - 1);
  EXPECT_LE(ink.right, (120 + width) / 2 + 1);
  EXPECT_GE(ink.top, top);
  EXPECT_LE(ink.bottom, top + tm.tmHeight);

  // A long text stays inside its rectangle unless DT_NOCLIP.
  Canvas clipped(120, 40);
  RECT narrow{10, 5, 40, 35};
  DrawTextW(clipped.dc, u"很长很长的文字", -1, &narrow, DT_SINGLELINE);
  ink = clipped.Ink();
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 40);
  Canvas unclipped(120, 40);
  DrawTextW(unclipped.dc, u"很长很长的文字", -1, &narrow, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(unclipped.Ink().right, 40);
}

TEST(TextOutput, DrawingATitleAgainAndAgainLeavesTheSamePixels)
{
  for (COLORREF background : {RGB(0x2B, 0x6C, 0xC4), kWhite, RGB(0xF5, 0xF5, 0xF5)}) {
    Canvas canvas(160, 32, background);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, kWhite);
    SelectedFont heavy(canvas.dc, FW_HEAVY);
    RECT rect{0, 0, 160, 32};
    DrawTextW(canvas.dc, u"转账到支付宝账户", -1, &rect, DT_SINGLELINE | DT_NOPREFIX);
    const std::vector<COLORREF> once = canvas.Pixels();
    for (int i = 0; i < 20; ++i)
      DrawTextW(canvas.dc, u"转账到支付宝账户", -1, &rect, DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(canvas.Pixels(), once) << std::hex << background;
  }
}

TEST(TextOutput, ExtTextOutOpaqueAndClipped)
{
  Canvas canvas(60, 30);
  SetBkColor(canvas.dc, RGB(0, 0, 255));
  RECT fill{5, 5, 25, 15};
  // An empty opaque text fills the rectangle with the background colour.
  ASSERT_TRUE(ExtTextOutW(canvas.dc, 0, 0, ETO_OPAQUE, &fill, u"", 0, nullptr));
  EXPECT_EQ(GetPixel(canvas.dc, 5, 5), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(canvas.dc, 24, 14), RGB(0, 0, 255));
  EXPECT_EQ(GetPixel(canvas.dc, 25, 15), kWhite);

  Canvas clip(60, 30);
  SetBkMode(clip.dc, TRANSPARENT);
  RECT box{0, 0, 10, 30};
  ASSERT_TRUE(ExtTextOutW(clip.dc, 0, 0, ETO_CLIPPED, &box, u"付款付款", 4, nullptr));
  RECT ink = clip.Ink();
  EXPECT_GT(ink.right, 0);
  EXPECT_LE(ink.right, 10);

  // In opaque mode the text's cell takes the background colour.
  Canvas opaque(60, 30);
  SetBkMode(opaque.dc, OPAQUE);
  SetBkColor(opaque.dc, RGB(0, 255, 0));
  ASSERT_TRUE(ExtTextOutW(opaque.dc, 2, 2, 0, nullptr, u"  ", 2, nullptr));
  EXPECT_EQ(GetPixel(opaque.dc, 3, 3), RGB(0, 255, 0));
}

// Advances given to ExtTextOut place each character; far-flung ones cost no more than near ones.
TEST(TextOutput, ExtTextOutPlacesCharactersAtTheAdvancesGiven)
{
  const std::u16string text = u"付款确定";
  Canvas own(80, 30), given(80, 30), spread(80, 30);
  std::vector<int> ends(text.size());
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPointW(own.dc, text.c_str(), 4, 0, nullptr, ends.data(), &size));
  std::vector<int> advances{ends[0], ends[1] - ends[0], ends[2] - ends[1], ends[3] - ends[2]};
  ASSERT_TRUE(ExtTextOutW(own.dc, 2, 2, 0, nullptr, text.c_str(), 4, nullptr));
  ASSERT_TRUE(ExtTextOutW(given.dc, 2, 2, 0, nullptr, text.c_str(), 4, advances.data()));
  EXPECT_EQ(given.Pixels(), own.Pixels());  // the font's own advances, given: the same pixels
  // The second character a whole int range away: the first is drawn, nothing else is.
  const int far[] = {0x7FFF0000, 0, 0, 0};
  Canvas first(80, 30);
  ASSERT_TRUE(ExtTextOutW(first.dc, 2, 2, 0, nullptr, text.c_str(), 1, nullptr));
  ASSERT_TRUE(ExtTextOutW(spread.dc, 2, 2, 0, nullptr, text.c_str(), 4, far));
  EXPECT_EQ(spread.Pixels(), first.Pixels());
}

TEST(TextOutput, PrefixIsUnderlined)
{
  Canvas plain(80, 30), marked(80, 30);
  RECT rect{0, 0, 80, 30};
  DrawTextW(plain.dc, u"确定(O)", -1, &rect, DT_SINGLELINE);
  DrawTextW(marked.dc, u"确定(&O)", -1, &rect, DT_SINGLELINE);
  EXPECT_GT(marked.Ink().bottom, plain.Ink().bottom - 1);
  EXPECT_NE(marked.Pixels(), plain.Pixels());
}

}  // namespace
