// The HTML viewer control: pages from resource libraries, documents given as text, links
// followed by taps and keys, scrolling, and clearing between documents.
#include "viewer_fixture.h"

namespace {

using namespace kvtest;

// A page taller than the 240 x 320 screen, with links spread down it.
std::u16string TallPage(int links)
{
  std::u16string html = u"<body style=\"margin:0\">";
  for (int i = 0; i < links; ++i)
    html += u"<p style=\"margin:0;height:100px\"><a href=\"link" + std::u16string(1, char16_t(u'0' + i)) +
            u"\">链接</a> 第" + std::u16string(1, char16_t(u'0' + i)) + u"段</p>";
  return html + u"</body>";
}

TEST_F(ViewerTest, ShowsTheHelpPageOfALibraryOnEachScreen)
{
  for (SIZE screen : {SIZE{240, 320}, SIZE{480, 640}}) {
    Open(screen.cx, screen.cy);
    const std::string name = "html_viewer_help_" + std::to_string(screen.cx) + "x" + std::to_string(screen.cy);
    ASSERT_EQ(TRUE, SendMessageW(viewer, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(kHelpUrl))) << name;
    RunUntilIdle();
    SaveScreenshot(name);
    // The logo from the library's bitmaps is drawn, and the page scrolls: it is longer than
    // the screen.
    const std::vector<uint32_t> pixels = Pixels(viewer);
    EXPECT_NE(std::find(pixels.begin(), pixels.end(), 0xFF1E6FD9u), pixels.end()) << name << ": the logo";
    EXPECT_EQ(0, ScrollPosition()) << name;
    SendMessageW(viewer, WM_VSCROLL, SB_BOTTOM, 0);
    RunUntilIdle();
    EXPECT_GT(ScrollPosition(), 0) << name;
    SaveScreenshot(name + "_end");
  }
}

TEST_F(ViewerTest, NavigationToAnythingButALibraryPageLeavesTheViewerEmpty)
{
  const char16_t* urls[] = {
      u"res://\\Program Files\\Tests\\ViewerRes.dll/999",     // no such page
      u"res://\\Program Files\\Tests\\NoSuchRes.dll/274",     // no such library
      u"res://\\Program Files\\Tests\\ViewerRes.dll/233",     // a bitmap, not a page
      u"res://274",                                           // no library
      u"http://127.0.0.1:9/help.htm",                         // nothing is fetched
      u"",
  };
  for (const char16_t* url : urls) {
    Show(u"<p>before</p>");
    EXPECT_EQ(FALSE, SendMessageW(viewer, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(url))) << Narrow(url);
    RunUntilIdle();
    EXPECT_TRUE(Blank(viewer)) << Narrow(url);
  }
  // The page's name is an ordinal written either way, or a name.
  for (const char16_t* url : {u"res://\\Program Files\\Tests\\ViewerRes.dll/#275", u"RES://\\Program Files\\Tests\\ViewerRes.dll/275"}) {
    EXPECT_EQ(TRUE, SendMessageW(viewer, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(url))) << Narrow(url);
    RunUntilIdle();
    EXPECT_FALSE(Blank(viewer)) << Narrow(url);
  }
}

TEST_F(ViewerTest, ATapOnALinkTellsTheParentItsHrefAsWritten)
{
  struct Case {
    const char16_t* href;  // as the page writes it
    const char16_t* target;
  };
  const Case cases[] = {
      {u"http://pay.example.cn/order?id=12&amp;sum=1.50", u"http://pay.example.cn/order?id=12&sum=1.50"},
      {u"http://x.cn/q?name=%E4%B8%AD%E6%96%87&x=1", u"http://x.cn/q?name=%E4%B8%AD%E6%96%87&x=1"},
      {u"http://x.cn/查询?商户=张三 店", u"http://x.cn/查询?商户=张三 店"},
      {u"msg.htm?id=5&copy=2", u"msg.htm?id=5&copy=2"},
      {u"&#x6D88;&#24687;", u"消息"},
  };
  for (const Case& c : cases) {
    SendMessageW(viewer, DTM_CLEAR, 0, 0);
    Show(u"<body style=\"margin:0\"><a href=\"" + std::u16string(c.href) + u"\">付款链接 pay link</a></body>");
    hotspots.clear();
    ASSERT_TRUE(TapWindow(viewer, POINT{10, 6}));
    ASSERT_EQ(1u, hotspots.size()) << Narrow(c.href);
    EXPECT_EQ(std::u16string(c.target), hotspots[0]);
    EXPECT_EQ(viewer, headers.back().hwndFrom);
    EXPECT_EQ(static_cast<UINT_PTR>(kViewerId), headers.back().idFrom);
    EXPECT_EQ(1125u, headers.back().code);
  }
  // A tap beside the link follows nothing.
  hotspots.clear();
  ASSERT_TRUE(TapWindow(viewer, POINT{200, 200}));
  EXPECT_TRUE(hotspots.empty());
}

TEST_F(ViewerTest, ADragScrollsThePageAndFollowsNoLink)
{
  Show(TallPage(8));
  ASSERT_EQ(0, ScrollPosition());
  ASSERT_TRUE(Drag(POINT{12, 250}, POINT{12, 50}, 8));
  EXPECT_EQ(200, ScrollPosition());
  EXPECT_TRUE(hotspots.empty());
  // It stops at the end of the page.
  ASSERT_TRUE(Drag(POINT{100, 300}, POINT{100, -700}, 8));
  EXPECT_EQ(800 - 320, ScrollPosition());
  ASSERT_TRUE(Drag(POINT{100, 10}, POINT{100, 310}, 4));
  EXPECT_EQ(800 - 320 - 300, ScrollPosition());
  EXPECT_TRUE(hotspots.empty());
}

TEST_F(ViewerTest, KeysMoveThroughTheLinksInViewAndScroll)
{
  Show(TallPage(8));
  SetFocus(viewer);
  // Return follows nothing until a link has the focus; Down gives it to the first in view.
  PressKey(VK_RETURN);
  EXPECT_TRUE(hotspots.empty());
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_EQ((std::vector<std::u16string>{u"link0", u"link3"}), hotspots);
  // link3 lies at 300 to 316: focusing it scrolled it into view.
  EXPECT_EQ(0, ScrollPosition());
  SendMessageW(viewer, DTM_CLEAR, 0, 0);
  Show(u"<body style=\"margin:0\"><p style=\"margin:0;height:600px\">长文</p><a href=\"far\">远</a></body>");
  // No link in view: Down scrolls by a line, and the link is focused once it shows.
  const int before = ScrollPosition();
  PressKey(VK_DOWN);
  EXPECT_GT(ScrollPosition(), before);
  PressKey(VK_NEXT);
  EXPECT_GT(ScrollPosition(), 320 - 40);
  PressKey(VK_NEXT);
  PressKey(VK_DOWN);
  hotspots.clear();
  PressKey(VK_RETURN);
  EXPECT_EQ(std::vector<std::u16string>{u"far"}, hotspots);
  PressKey(VK_PRIOR);
  PressKey(VK_PRIOR);
  PressKey(VK_PRIOR);
  EXPECT_EQ(0, ScrollPosition());
  // The focused link left the view: Return follows nothing.
  hotspots.clear();
  PressKey(VK_RETURN);
  EXPECT_TRUE(hotspots.empty());
}

TEST_F(ViewerTest, TheScrollBarScrollsThePage)
{
  Show(TallPage(8));
  HWND bar = ScrollBar();
  ASSERT_TRUE(bar && IsWindowVisible(bar));
  RECT rect;
  GetWindowRect(bar, &rect);
  EXPECT_EQ(240, rect.right);
  EXPECT_EQ(320, rect.bottom);
  // A tap below the thumb pages down.
  ASSERT_TRUE(Tap(POINT{rect.left + 2, 300}));
  EXPECT_GT(ScrollPosition(), 200);
  // A short page needs no bar.
  Show(viewer, u"");
  SendMessageW(viewer, DTM_CLEAR, 0, 0);
  Show(u"<p>短</p>");
  EXPECT_FALSE(IsWindowVisible(bar));
}

// What the mended clearing must give: a document added after a cleared one shows as the only
// one, at the top and with no link focused, whatever was scrolled or focused before.
TEST_F(ViewerTest, ClearingStartsTheNextDocumentAfresh)
{
  HWND fresh = MakeViewer(240, 320);
  ShowWindow(fresh, SW_HIDE);
  const std::u16string second = u"<p><a href=\"b\">详情</a>：第二条消息</p>";
  // The first link focused, and the page scrolled a little with the link still in view.
  Show(u"<div style=\"height:40px\"></div>" + TallPage(8));
  SetFocus(viewer);
  PressKey(VK_DOWN);
  SendMessageW(viewer, WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_GT(ScrollPosition(), 0);
  SendMessageW(viewer, DTM_CLEAR, 0, 0);
  RunUntilIdle();
  EXPECT_TRUE(Blank(viewer));
  Show(second);
  EXPECT_EQ(-1, ScrollPosition()) << "the bar is gone";
  PressKey(VK_RETURN);
  EXPECT_TRUE(hotspots.empty()) << "no link keeps the focus";

  ShowWindow(viewer, SW_HIDE);
  ShowWindow(fresh, SW_SHOW);
  Show(fresh, second);
  SetFocus(fresh);
  RunUntilIdle();
  const std::vector<uint32_t> expected = Pixels(fresh);
  ShowWindow(fresh, SW_HIDE);
  ShowWindow(viewer, SW_SHOW);
  SetFocus(viewer);
  RunUntilIdle();
  EXPECT_TRUE(SamePixels(expected, Pixels(viewer)));

  // Without clearing, text added after the end goes on the same document.
  Show(u"<p>again</p>");
  EXPECT_FALSE(SamePixels(expected, Pixels(viewer)));
}

TEST_F(ViewerTest, PlainTextShowsAsItIs)
{
  HWND other = MakeViewer(240, 320);
  ShowWindow(other, SW_HIDE);
  Show(u"<b>1 & 2</b> &amp; <script>x</script>\r\n下一行\n第三行", true);
  const std::vector<uint32_t> plain = Pixels(viewer);
  ShowWindow(viewer, SW_HIDE);
  ShowWindow(other, SW_SHOW);
  Show(other, u"&lt;b&gt;1 &amp; 2&lt;/b&gt; &amp;amp; &lt;script&gt;x&lt;/script&gt;<br>下一行<br>第三行");
  EXPECT_TRUE(SamePixels(Pixels(other), plain));
}

TEST_F(ViewerTest, GatewayTextStaysInert)
{
  HWND other = MakeViewer(240, 320);
  ShowWindow(other, SW_HIDE);
  // Scripts do not run and nothing is fetched: the page looks as it does without them.
  Show(u"<p>余额 <img src=\"http://127.0.0.1:9/a.png\" width=\"20\" height=\"20\">100元"
       u"<script>document.write('<b>ran</b>')</script></p>"
       u"<link rel=\"stylesheet\" href=\"http://127.0.0.1:9/a.css\"><style>@import url(http://127.0.0.1:9/b.css);</style>"
       u"<p onclick=\"alert(1)\">完</p>");
  const std::vector<uint32_t> shown = Pixels(viewer);
  ShowWindow(viewer, SW_HIDE);
  ShowWindow(other, SW_SHOW);
  Show(other, u"<p>余额 <span style=\"display:inline-block;width:20px;height:20px\"></span>100元</p><p>完</p>");
  EXPECT_TRUE(SamePixels(Pixels(other), shown));
}

TEST_F(ViewerTest, ANewSizeLaysThePageOutAgain)
{
  Show(u"<p>" + std::u16string(600, u'字') + u"</p>");
  EXPECT_GT(ScrollPosition(), -1) << "taller than the screen at 240 wide";
  MoveWindow(viewer, 0, 0, 480, 640, TRUE);
  RunUntilIdle();
  EXPECT_EQ(-1, ScrollPosition()) << "fits at 480 x 640";
}

}  // namespace
