// The text engine on the device's CJK font: metrics, advances and rendering.
#include "internal/gdi/text_font.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using kv::fonts::Font;
using kv::fonts::FontSpec;

std::shared_ptr<const Font> Get(int height, int weight = 400, bool italic = false, std::u16string face = u"Tahoma")
{
  auto font = Font::Get(FontSpec{height, weight, italic, face});
  EXPECT_NE(font, nullptr) << "no CJK font: run scripts/bootstrap.sh";
  return font;
}

TEST(Font, UsesTheInstalledCjkFont)
{
  EXPECT_NE(Font::FontFilePath().find("wqy"), std::string::npos) << Font::FontFilePath();
}

TEST(Font, HeightsGiveTheirMetrics)
{
  struct Case {
    int height;
    int em;  // the character height
  } cases[] = {{-12, 12}, {-16, 16}, {-24, 24}, {0, kv::fonts::kDefaultCharHeight}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.height);
    const auto& m = Get(c.height)->Metrics();
    EXPECT_EQ(m.ascent + m.descent, m.height);
    EXPECT_EQ(m.internalLeading, m.height - c.em);
    EXPECT_GT(m.ascent, m.descent);
    EXPECT_GT(m.aveCharWidth, 0);
    EXPECT_GE(m.maxCharWidth, m.aveCharWidth);
    EXPECT_EQ(m.weight, 400);
  }
  // A positive height is the cell height.
  for (int cell : {13, 16, 20, 32})
    EXPECT_EQ(Get(cell)->Metrics().height, cell);
}

TEST(Font, EveryFaceNameIsTheSameFont)
{
  auto song = Get(-14, 400, false, u"宋体");
  auto tahoma = Get(-14, 400, false, u"Tahoma");
  EXPECT_EQ(song, tahoma);
  EXPECT_EQ(song->Width(u"确认付款"), tahoma->Width(u"确认付款"));
}

TEST(Font, BoldFrom700IsWider)
{
  const std::u16string text = u"支付宝账户 Balance 100.00";
  auto normal = Get(-16), bold = Get(-16, 700), heavy = Get(-16, 900), semi = Get(-16, 600);
  EXPECT_GT(bold->Width(text), normal->Width(text));
  EXPECT_EQ(heavy->Width(text), bold->Width(text));
  EXPECT_EQ(semi->Width(text), normal->Width(text));
  EXPECT_GT(bold->Metrics().aveCharWidth, normal->Metrics().aveCharWidth);
  EXPECT_EQ(heavy->Metrics().weight, 700);
  EXPECT_EQ(bold->Metrics().height, normal->Metrics().height);
}

TEST(Font, AdvancesPerUnit)
{
  auto font = Get(-16);
  const std::u16string text = u"付款a\U00020000.";
  std::vector<int> advances(text.size());
  font->Advances(text, advances);
  EXPECT_EQ(advances[0], advances[1]);  // ideographs share one width
  EXPECT_GE(advances[0], 15);
  EXPECT_LE(advances[0], 17);
  EXPECT_LT(advances[2], advances[0]);  // latin is narrower
  EXPECT_GT(advances[3], 0);            // a pair advances on its first unit...
  EXPECT_EQ(advances[4], 0);            // ...and not on its second
  int sum = 0;
  for (int a : advances)
    sum += a;
  EXPECT_EQ(font->Width(text), sum);
  EXPECT_EQ(font->Width(u""), 0);
  EXPECT_GT(Get(-24)->Width(u"付款"), font->Width(u"付款"));
}

TEST(Font, RenderingIsRepeatableAndInsideTheCell)
{
  auto font = Get(-16);
  const std::u16string text = u"确认支付 OK";
  auto first = font->Render(text);
  auto again = font->Render(text);
  EXPECT_EQ(first.pixels, again.pixels);
  EXPECT_EQ(first.left, again.left);
  ASSERT_GT(first.width, 0);
  ASSERT_GT(first.height, 0);
  EXPECT_GE(first.left, -1);
  EXPECT_LE(first.left + first.width, font->Width(text) + 1);
  EXPECT_GE(first.top, 0);
  EXPECT_LE(first.top + first.height, font->Metrics().height);
  int inked = 0, partial = 0;
  for (uint8_t c : first.pixels) {
    inked += c > 0;
    partial += c > 0 && c < 255;
  }
  EXPECT_GT(inked, 50);
  EXPECT_GT(partial, 0) << "edges are antialiased";
  EXPECT_EQ(font->Render(u"  ").width, 0);
  EXPECT_EQ(font->Render(u"").pixels.size(), 0u);
}

TEST(Font, StylesRenderDifferently)
{
  auto normal = Get(-16)->Render(u"付款");
  auto italic = Get(-16, 400, true)->Render(u"付款");
  auto bold = Get(-16, 700)->Render(u"付款");
  EXPECT_NE(normal.pixels, italic.pixels);
  int normalInk = 0, boldInk = 0;
  for (uint8_t c : normal.pixels)
    normalInk += c;
  for (uint8_t c : bold.pixels)
    boldInk += c;
  EXPECT_GT(boldInk, normalInk);
}

TEST(Font, OutOfRangeHeightsAreBounded)
{
  EXPECT_LE(Get(-100000)->Metrics().height, 2048);
  EXPECT_GE(Get(1)->Metrics().height, 1);
}

}  // namespace
