// The page: text cut where lines may break, layout within the view, links and their boxes,
// drawing of boxes, rules, lists and images, and markup of any kind laid out without harm.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "html/page/text_pieces.h"
#include "internal/html/page.h"
#include "testing/canvas.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "windows.h"

namespace {

using kv::html::Page;
using kv::html::PageSettings;

// A 2 x 1 PNG: a red pixel and a half-transparent blue one.
constexpr char kTwoPixels[] =
    "data:image/png;base64,iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAYAAAD0In+KAAAADklEQVR42mP4z8AAQg0AD3oDfmqBMeEAAAAASUVORK5CYII=";

class PageTest : public ::testing::Test {
 protected:
  // The page laid out for a view and painted into a canvas of that size, white behind.
  void Paint(Page& page, kvtest::Canvas& canvas, int scroll = 0)
  {
    page.LayOut(canvas.width, canvas.height);
    page.Paint(canvas.dc, POINT{0, -scroll}, RECT{0, 0, canvas.width, canvas.height});
  }

  device::testing::ScopedDeviceRoot root;
};

std::vector<std::u16string> Pieces(std::u16string_view text, size_t tooWideAbove = SIZE_MAX)
{
  std::vector<std::u16string> out;
  for (const auto& piece : kv::html::SplitIntoPieces(text, [&](std::u16string_view w) { return w.size() > tooWideAbove; }))
    out.push_back(piece.space ? u"_" : piece.text);
  return out;
}

TEST(TextPieces, CutWhereTheDeviceBreaksLines)
{
  struct Case {
    const char16_t* text;
    std::vector<std::u16string> pieces;  // "_" for a white-space piece
  };
  const Case cases[] = {
      {u"pay now", {u"pay", u"_", u"now"}},
      {u"a\t\r\nb", {u"a", u"_", u"_", u"_", u"b"}},
      // Between ideographs; closing punctuation stays with what precedes it, opening with what follows.
      {u"付款成功，谢谢。", {u"付", u"款", u"成", u"功，", u"谢", u"谢。"}},
      {u"请点击（详情）查看", {u"请", u"点", u"击", u"（详", u"情）", u"查", u"看"}},
      {u"“引号”", {u"“引", u"号”"}},
      // Full-width digits break like ideographs; U+3000 is a character, not collapsed space.
      {u"１２元", {u"１", u"２", u"元"}},
      {u"总\u3000计", {u"总", u"\u3000", u"计"}},
      {u"金额100.50元", {u"金", u"额", u"100.50", u"元"}},
      {u"a\u00A0b", {u"a\u00A0b"}},
      {u"\U00020000\U00020001", {u"\U00020000", u"\U00020001"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.pieces, Pieces(c.text)) << kvtest::Narrow(c.text);
}

TEST(TextPieces, AWordTooWideForALineBreaksAnywhereTheRulesAllow)
{
  EXPECT_EQ((std::vector<std::u16string>{u"ab", u"_", u"c", u"d", u"e", u"f"}), Pieces(u"ab cdef", 3));
  EXPECT_EQ((std::vector<std::u16string>{u"x", u"y", u"z!", u"(w", u"\U00020000"}), Pieces(u"xyz!(w\U00020000", 3));
}

TEST_F(PageTest, LaysTextOutWithinTheView)
{
  kvtest::Canvas canvas(240, 400);
  Page page("<p>交易号 2024031512345678 付款给商户：北京某某科技有限公司，金额 128.50 元。</p>"
            "<p>https://pay.example.cn/order/confirm?id=2024031512345678901234567890&amp;sign=abcdef0123456789</p>",
            {});
  Paint(page, canvas);
  const RECT ink = canvas.Ink();
  EXPECT_GT(ink.bottom, ink.top);
  EXPECT_LE(ink.right, 240) << "the long address breaks within the line";
  EXPECT_EQ(240, page.Width());
  // Twice as dense a screen: the default text is twice as large.
  Page dense("<p>字</p>", PageSettings{192, {}, {}, {}, {}});
  Page normal("<p>字</p>", {});
  dense.LayOut(480, 640);
  normal.LayOut(240, 320);
  EXPECT_NEAR(2 * normal.Height(), dense.Height(), 2);
}

TEST_F(PageTest, LinksKeepTheirHrefAndTellWhereTheyLie)
{
  Page page("<body style='margin:0'><p style='margin:0'>看 <a href='a.htm?x=1&amp;y=%41'>第一个链接</a></p>"
            "<p style='margin:0;width:50px'><a href='http://x.cn/中文'>一二三四五六七八九十</a></p>"
            "<a href='hidden' style='display:none'>隐藏</a><a name='anchor'>no href</a></body>",
            {});
  page.LayOut(240, 320);
  const auto& links = page.Links();
  ASSERT_EQ(2u, links.size());
  EXPECT_EQ(u"a.htm?x=1&y=%41", links[0].target);
  EXPECT_EQ(u"http://x.cn/中文", links[1].target);
  ASSERT_EQ(1u, links[0].boxes.size());
  EXPECT_GT(links[0].boxes[0].left, 0) << "after the word before it";
  ASSERT_EQ(3u, links[1].boxes.size());
  for (size_t i = 0; i < links[1].boxes.size(); ++i) {
    const RECT& box = links[1].boxes[i];
    EXPECT_LE(box.right, 50);
    const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    EXPECT_EQ(1, page.LinkAt(centre)) << i;
    if (i > 0) {
      EXPECT_GE(box.top, links[1].boxes[i - 1].bottom) << "one box a line";
    }
  }
  EXPECT_EQ(-1, page.LinkAt(POINT{200, 300}));
}

TEST_F(PageTest, DrawsBoxesRulesListsAndImages)
{
  kvtest::Canvas canvas(240, 320);
  std::string source;
  PageSettings settings;
  settings.images = [&source](std::string_view src) -> std::optional<std::string> {
    source = std::string(src);
    return std::nullopt;
  };
  Page page(std::string("<body style='margin:0'>"
                        "<div style='background:#ff0000;height:10px;border-bottom:4px solid #00ff00'></div>"
                        "<img src='") + kTwoPixels + "' width='20' height='10' style='display:block'>"
                        "<img src='logo.png' width='10' height='10'>"
                        "<ul style='margin:0'><li>点</li></ul><hr style='margin:0;border:2px solid #0000ff'>"
                        "<div style='background:rgba(0,0,0,0.5);height:6px'></div></body>",
            settings);
  Paint(page, canvas);
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(100, 5)) << "background";
  EXPECT_EQ(RGB(0, 255, 0), canvas.At(100, 12)) << "border";
  EXPECT_EQ(RGB(255, 0, 0), canvas.At(5, 18)) << "the image's red half";
  const COLORREF blended = canvas.At(15, 18);
  EXPECT_EQ(GetBValue(blended), 255) << "half blue over white";
  EXPECT_LT(GetRValue(blended), 160);
  EXPECT_GT(GetRValue(blended), 100);
  EXPECT_EQ("logo.png", source) << "other images come from the page's source";
  // The list's disc and the rule below it.
  const int ruleTop = page.Height() - 6 - 4;
  EXPECT_EQ(RGB(0, 0, 255), canvas.At(100, ruleTop + 1));
  bool disc = false;
  for (int y = 30; y < ruleTop; ++y)
    for (int x = 0; x < 30; ++x)
      disc = disc || canvas.At(x, y) == RGB(0, 0, 0);
  EXPECT_TRUE(disc);
  EXPECT_EQ(RGB(128, 128, 128), canvas.At(100, page.Height() - 3)) << "half-transparent black";
}

// Markup from the gateway is shown as it is: whatever it holds, it lays out and paints, in
// bounded time.
TEST_F(PageTest, AnyMarkupLaysOutWithinBounds)
{
  auto repeat = [](std::string_view part, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
      out += part;
    return out;
  };
  struct Case {
    const char* name;
    std::string html;
  };
  const Case cases[] = {
      {"empty", ""},
      {"unclosed and misnested", "<p><b><i>粗斜<p>二<li>项<td>格</b></i><table><tr><td>x<div></table></span>"},
      {"entities", "&lt;&gt;&amp;&copy;&#x4E2D;&#25991;&bogus;&#0;&#xFFFFFF;&"},
      {"scripts and events", "<script>while(1){}</script><img src=x onerror=alert(1)><body onload=x()>文"},
      {"a huge word", std::string(5000, 'W')},
      {"invalid text", std::string("\xFF\xFE\x00\xC3(\xE4\xB8", 8) + "字"},
      {"deep elements", repeat("<div>", 5000) + "深"},
      {"deep lists", repeat("<ul><li>", 300) + "深"},
      {"deep tables", repeat("<table><tr><td>", 500) + "深"},
      {"reopened formatting", repeat("<div><b id=x>", 3000) + "粗"},
      {"big styles", "<div style='font-size:99999px;width:99999999px;margin:-99999px;border:9999px solid'>大</div>"},
      {"many breaks", repeat("行<br>", 1000)},
      {"floats", repeat("<div style='float:left;width:30%'>浮</div>", 300)},
      {"wide table", "<table><tr>" + repeat("<td colspan=1000>c</td>", 50) + "</tr></table>"},
  };
  for (const Case& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    kvtest::Canvas canvas(240, 320);
    Page page(c.html, {});
    Paint(page, canvas);
    Paint(page, canvas, page.Height() / 2);
    EXPECT_GE(page.Height(), 0) << c.name;
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 20) << c.name;
  }
}

TEST_F(PageTest, ScriptsAndItsTextShowNothing)
{
  kvtest::Canvas canvas(240, 320);
  Page page("<script>document.write('<b>x</b>')</script><style>p{}</style><title>标题</title>", {});
  Paint(page, canvas);
  const RECT ink = canvas.Ink();
  EXPECT_TRUE(IsRectEmpty(&ink));
  EXPECT_EQ(u"标题", page.Title());
}

}  // namespace
