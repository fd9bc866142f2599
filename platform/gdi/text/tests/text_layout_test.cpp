// DrawText layout with a font of fixed widths: ideographs 12 pixels, everything else 6, lines 14.
#include "gdi/text.h"
#include "internal/gdi/text_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using kv::fonts::LayOutText;
using kv::fonts::TextLayout;

class FixedMeasure : public kv::fonts::TextMeasure {
 public:
  int LineHeight() const override { return 14; }
  void Advances(std::u16string_view text, std::span<int> advances) const override
  {
    for (size_t i = 0; i < text.size(); ++i) {
      char16_t c = text[i];
      if (c >= 0xDC00 && c <= 0xDFFF)
        advances[i] = 0;
      else
        advances[i] = (c >= 0x2E80) ? 12 : 6;
    }
  }
};

TextLayout Lay(std::u16string_view text, RECT rect, UINT format)
{
  return LayOutText(text, rect, format, FixedMeasure());
}

std::vector<std::u16string> Texts(const TextLayout& layout)
{
  std::vector<std::u16string> texts;
  for (const auto& line : layout.lines)
    texts.push_back(line.text);
  return texts;
}

struct WrapCase {
  const char* name;
  std::u16string text;
  int width;
  std::vector<std::u16string> lines;
  int calcRight;
};

TEST(TextLayout, WordBreakTable)
{
  const WrapCase cases[] = {
      {"ideographs break anywhere", u"你好世界你好", 30, {u"你好", u"世界", u"你好"}, 24},
      {"fits on one line", u"你好世界", 48, {u"你好世界"}, 48},
      {"spaces break and are dropped", u"hello world", 40, {u"hello", u"world"}, 30},
      {"a long word keeps its line", u"abcdefghij xy", 30, {u"abcdefghij", u"xy"}, 60},
      {"no comma at a line start", u"你好，世界", 24, {u"你", u"好，", u"世界"}, 24},
      {"no break after an opening bracket", u"你（好）", 24, {u"你", u"（好）"}, 36},
      {"latin then ideograph", u"OK确认", 20, {u"OK", u"确", u"认"}, 12},
      {"ideograph then digits", u"余额100元", 36, {u"余额", u"100元"}, 30},
      {"zero width breaks at every chance", u"付款 ok", 0, {u"付", u"款", u"ok"}, 12},
      {"line ends stay", u"第一行\r\n第二行\n", 200, {u"第一行", u"第二行", u""}, 36},
      {"surrogate pairs stay whole", u"\U00020000\U00020001", 12, {u"\U00020000", u"\U00020001"}, 12},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RECT rect{10, 20, 10 + c.width, 20};
    TextLayout calc = Lay(c.text, rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_EQ(Texts(calc), c.lines);
    const int height = 14 * static_cast<int>(c.lines.size());
    EXPECT_EQ(calc.height, height);
    EXPECT_EQ(calc.rect.left, 10);
    EXPECT_EQ(calc.rect.top, 20);
    EXPECT_EQ(calc.rect.right, 10 + c.calcRight);
    EXPECT_EQ(calc.rect.bottom, 20 + height);
    // Drawing lays the same lines out one under the other.
    TextLayout drawn = Lay(c.text, RECT{10, 20, 10 + c.width, 200}, DT_WORDBREAK | DT_NOPREFIX);
    ASSERT_EQ(Texts(drawn), c.lines);
    for (size_t k = 0; k < drawn.lines.size(); ++k)
      EXPECT_EQ(drawn.lines[k].y, 20 + 14 * static_cast<int>(k));
  }
}

TEST(TextLayout, WithoutWordBreakOnlyLineEndsBreak)
{
  TextLayout layout = Lay(u"很长很长的一行文字\n次行", RECT{0, 0, 20, 100}, DT_NOPREFIX);
  EXPECT_EQ(Texts(layout), (std::vector<std::u16string>{u"很长很长的一行文字", u"次行"}));
  EXPECT_EQ(layout.height, 28);
  TextLayout single = Lay(u"一\n二", RECT{0, 0, 20, 100}, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  EXPECT_EQ(single.lines.size(), 1u);
  EXPECT_EQ(single.rect.right, 30);  // the line end takes 6 in this font
  EXPECT_EQ(single.rect.bottom, 14);
}

struct EllipsisCase {
  const char* name;
  std::u16string text;
  int width;
  UINT format;
  std::u16string shown;
  int shownWidth;
};

TEST(TextLayout, EllipsisTable)
{
  const UINT line = DT_SINGLELINE | DT_NOPREFIX;
  const EllipsisCase cases[] = {
      {"end ellipsis", u"你好世界你好", 40, line | DT_END_ELLIPSIS, u"你...", 30},
      {"word ellipsis on one line", u"你好世界你好", 40, line | DT_WORD_ELLIPSIS, u"你...", 30},
      {"latin", u"Balance 1234.56", 60, line | DT_END_ELLIPSIS, u"Balance...", 60},
      {"exact fit keeps the text", u"你好", 24, line | DT_END_ELLIPSIS, u"你好", 24},
      {"too narrow leaves the dots", u"你好", 10, line | DT_END_ELLIPSIS, u"...", 18},
      {"surrogate pair not split", u"\U00020000\U00020001\U00020002", 32, line | DT_END_ELLIPSIS, u"\U00020000...", 30},
      {"no ellipsis flag: text stays", u"你好世界你好", 40, line, u"你好世界你好", 72},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TextLayout layout = Lay(c.text, RECT{0, 0, c.width, 20}, c.format);
    const auto& shown = layout.lines.back();
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(shown.text, c.shown);
    EXPECT_EQ(shown.width, c.shownWidth);
    // Measuring never shortens.
    TextLayout calc = Lay(c.text, RECT{0, 0, c.width, 20}, c.format | DT_CALCRECT);
    EXPECT_EQ(calc.lines.back().text, c.text);
  }
}

TEST(TextLayout, EllipsisOnEachLineOfAMultiLineText)
{
  TextLayout layout = Lay(u"短\n很长的一行文字", RECT{0, 0, 40, 20}, DT_NOPREFIX | DT_END_ELLIPSIS);
  EXPECT_EQ(Texts(layout), (std::vector<std::u16string>{u"短", u"很..."}));
  EXPECT_EQ(layout.lines[1].width, 30);
}

TEST(TextLayout, WordBreakEllipsisShortensOnlyAnOverlongWord)
{
  TextLayout layout = Lay(u"ab abcdefghij", RECT{0, 0, 36, 100}, DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX);
  EXPECT_EQ(Texts(layout), (std::vector<std::u16string>{u"ab", u"abc..."}));
}

TEST(TextLayout, AlignmentAndReturnedHeight)
{
  const RECT rect{10, 10, 110, 30};  // 100 wide, 20 high
  struct Case {
    UINT format;
    int x, y, height;
  } cases[] = {
      {DT_SINGLELINE, 10, 10, 14},
      {DT_SINGLELINE | DT_CENTER, 48, 10, 14},
      {DT_SINGLELINE | DT_RIGHT, 86, 10, 14},
      {DT_SINGLELINE | DT_VCENTER, 10, 13, 17},
      {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 86, 16, 20},
      {DT_VCENTER, 10, 10, 14},  // vertical placement needs a single line
      {DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS, 48, 13, 17},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    TextLayout layout = Lay(u"你好", rect, c.format);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].x, c.x);
    EXPECT_EQ(layout.lines[0].y, c.y);
    EXPECT_EQ(layout.height, c.height);
    EXPECT_TRUE(layout.clip);
  }
  EXPECT_FALSE(Lay(u"你好", rect, DT_NOCLIP).clip);
}

TEST(TextLayout, MeasuringAVerticallyCentredLineIgnoresTheRectangle)
{
  // The label measures with its own format (DT_VCENTER) into an empty rectangle.
  TextLayout layout = Lay(u"账户余额", RECT{0, 0, 0, 0}, DT_VCENTER | DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  EXPECT_EQ(layout.rect.right, 48);
  EXPECT_EQ(layout.rect.bottom, 14);
  EXPECT_EQ(layout.height, 14);
}

TEST(TextLayout, Prefixes)
{
  struct Case {
    std::u16string text;
    UINT format;
    std::u16string shown;
    int underline;
    int width;
  } cases[] = {
      {u"&File", 0, u"File", 0, 24},
      {u"确定(&O)", 0, u"确定(O)", 3, 42},
      {u"a&&b", 0, u"a&b", -1, 18},
      {u"end&", 0, u"end", -1, 18},
      {u"&File", DT_NOPREFIX, u"&File", -1, 30},
  };
  for (const auto& c : cases) {
    TextLayout layout = Lay(c.text, RECT{0, 0, 200, 20}, c.format | DT_SINGLELINE);
    ASSERT_EQ(layout.lines.size(), 1u);
    EXPECT_EQ(layout.lines[0].text, c.shown);
    EXPECT_EQ(layout.lines[0].underline, c.underline);
    EXPECT_EQ(layout.lines[0].width, c.width);
  }
}

TEST(TextLayout, EmptyText)
{
  TextLayout single = Lay(u"", RECT{5, 5, 50, 50}, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(single.rect.right, 5);
  EXPECT_EQ(single.rect.bottom, 19);
  EXPECT_EQ(single.height, 0);
  TextLayout multi = Lay(u"", RECT{5, 5, 50, 50}, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(multi.rect.bottom, 5);
  EXPECT_TRUE(Lay(u"", RECT{5, 5, 50, 50}, 0).lines.empty());
}

}  // namespace
