// The files a page links: its style sheets and script files, fetched through the device's HTTP
// layer before its scripts run; what fails, is refused or takes too long is left out and the
// page shown without it.
#include "browser_fixture.h"

#include <algorithm>

#include "internal/gdi/screen.h"
#include "testing/screenshot.h"

namespace {

using testgateway::Reply;

constexpr uint32_t kBlue = 0x1E6FD9u;
constexpr uint32_t kRose = 0xD91E6Fu;

Reply Css(std::string text)
{
  return Reply::http(200, std::move(text), "text/css");
}

Reply Js(std::string text)
{
  return Reply::http(200, std::move(text), "application/javascript");
}

// Whether the window shows a pixel of that colour (0xRRGGBB).
bool Shows(HWND window, uint32_t colour)
{
  gdi_screen::Image shown;
  return gdi_screen::CaptureWindow(window, &shown) &&
         std::any_of(shown.pixels.begin(), shown.pixels.end(), [&](uint32_t pixel) { return (pixel & 0xFFFFFFu) == colour; });
}

std::vector<std::string> Paths(const testgateway::TestGateway& gateway)
{
  std::vector<std::string> paths;
  for (const auto& request : gateway.requests())
    paths.push_back(request.path);
  return paths;
}

TEST_F(BrowserTest, TheDemoEntertainmentPageTakesItsSheetAndScript)
{
  const std::filesystem::path pages(KV_DEMO_PAGES);
  gateway.serveFile("/amusement.htm", pages / "amusement.html", "text/html; charset=utf-8");
  gateway.serveFile("/amusement.css", pages / "amusement.css", "text/css; charset=utf-8");
  gateway.serveFile("/amusement.js", pages / "amusement.js", "application/javascript; charset=utf-8");
  Load(Url("/amusement.htm"));
  kvtest::SaveScreenshot("browser_amusement_linked_240x320");
  EXPECT_EQ(Paths(gateway), (std::vector<std::string>{"/amusement.htm", "/amusement.css", "/amusement.js"}));
  EXPECT_TRUE(Shows(View(), kBlue));        // the sheet's title band
  EXPECT_TRUE(Shows(View(), 0xFFF3CDu));  // the offers line, empty until the script fills it
}

TEST_F(BrowserTest, LinkedFilesComeThroughTheDevicesLayerAndScriptsRunInDocumentOrder)
{
  gateway.servePage("/site/page.htm", Reply::http(200, R"(<html><head><base href="/lib/"><title>0</title>
      <link rel="stylesheet" href="look.css">
      <script src=")" + gateway.httpUrl() + R"(/lib/plain.js"></script>
      <script>var order = ['a'];</script>
      <script src="b.js"></script>
      <script>order.push('c');</script>
      <script src="d.js#part"></script>
      <script type="text/template" src="t.js"></script>
      <script src="b.js"></script>
    </head><body style="margin:0"><div class="band">正文</div>
      <script>document.title = order.join('');</script></body></html>)")
                                          .withCookie("visit=1; Path=/"));
  gateway.servePage("/lib/look.css", Css(".band { height: 30px; background-color: #1e6fd9; }"));
  gateway.servePage("/lib/b.js", Js("order.push('b');"));
  gateway.servePage("/lib/d.js", Js("order.push('d');"));
  gateway.servePage("/lib/plain.js", Js("order.push('plain');"));
  Load(Url("/site/page.htm"));
  // Each file once, resolved against <base href>, with the page's cookie; a file named twice runs
  // twice; a script over plain HTTP is not taken into the secure page.
  EXPECT_EQ(Paths(gateway), (std::vector<std::string>{"/site/page.htm", "/lib/look.css", "/lib/b.js", "/lib/d.js"}));
  EXPECT_EQ(Title(), "abcdb");
  EXPECT_EQ(gateway.requests().at(1).cookies["visit"], "1");
  EXPECT_TRUE(Shows(View(), kBlue));
}

TEST_F(BrowserTest, ALinkedFileThatFailsOrIsRefusedIsLeftOutAndThePageShown)
{
  constexpr const char* kSheet = ".band { height: 30px; background-color: #1e6fd9; }";
  constexpr const char* kScript = "var linked = 1;";
  struct Case {
    const char* what;
    std::function<Reply(const std::string& body, const std::string& type)> reply;
  };
  const Case cases[] = {
      {"missing", [](const std::string& body, const std::string& type) { return Reply::http(404, body, type); }},
      {"a page in its place", [](const std::string& body, const std::string&) { return Reply::http(200, body, "text/html"); }},
      {"too long", [](const std::string& body, const std::string& type) {
         return Reply::http(200, body + "/*" + std::string(1100 * 1024, 'x') + "*/", type);
       }},
      {"connection closed", [](const std::string&, const std::string&) { return Reply::close(); }},
  };
  for (const Case& c : cases) {
    gateway.servePage("/page.htm", Reply::http(200, R"(<html><head><title>0</title>
        <link rel="stylesheet" href="x.css"><script src="x.js"></script></head>
        <body style="margin:0"><div class="band">正文</div>
        <script>document.title = typeof linked == 'undefined' ? 'without' : 'with';</script></body></html>)"));
    gateway.servePage("/x.css", c.reply(kSheet, "text/css"));
    gateway.servePage("/x.js", c.reply(kScript, "application/javascript"));
    Load(Url("/page.htm"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"BeforeNavigate2 " + Url("/page.htm"), "NavigateComplete2 " + Url("/page.htm"),
                                                 "DocumentComplete " + Url("/page.htm")}))
        << c.what;
    EXPECT_EQ(Title(), "without") << c.what;
    EXPECT_FALSE(Shows(View(), kBlue)) << c.what;
  }
}

TEST_F(BrowserTest, ALinkedFileThatTakesTooLongIsLeftOut)
{
  kvtest::UseVirtualTime();
  gateway.servePage("/page.htm", Reply::http(200, R"(<html><head><title>0</title><link rel="stylesheet" href="slow.css">
      </head><body><script>document.title = 'shown';</script></body></html>)"));
  gateway.servePage("/slow.css", Reply::stall(Css("body { color: red; }")));
  events.clear();
  ASSERT_EQ(S_OK, Navigate(Url("/page.htm")));
  // The sheet's fetch starts as the page arrives, with NavigateComplete2.
  ASSERT_TRUE(WaitUntil([&] { return Count(DISPID_NAVIGATECOMPLETE2) == 1; }));
  ASSERT_TRUE(gateway.waitForPath("/slow.css"));
  ASSERT_TRUE(kvtest::AdvanceTime(14999));
  EXPECT_EQ(Count(DISPID_DOCUMENTCOMPLETE), 0u);
  ASSERT_TRUE(kvtest::AdvanceTime(1));  // the page completes at once, without the sheet
  EXPECT_EQ(Count(DISPID_DOCUMENTCOMPLETE), 1u);
  EXPECT_EQ(Title(), "shown");
  EXPECT_TRUE(gateway.waitForAbandoned(1));
  gateway.releaseStalled();
}

TEST_F(BrowserTest, ALinkedScriptThatRunsTooLongIsStoppedAndTheRestLeftOut)
{
  gateway.servePage("/page.htm", Reply::http(200, R"(<html><head><title>start</title><script src="spin.js"></script>
      <script>document.title = 'after';</script></head><body><p>正文</p></body></html>)"));
  gateway.servePage("/spin.js", Js("function ready() { return 'yes'; } for (;;) {}"));
  Load(Url("/page.htm"));
  EXPECT_EQ(Title(), "start");
  // The page goes on working: what the file defined before it was stopped is there.
  const Call ready = CallFunction("ready");
  EXPECT_EQ(ready.result, S_OK);
  EXPECT_EQ(ready.text, "yes");
}

TEST_F(BrowserTest, AnImportCycleEndsAndEachSheetIsFetchedOnce)
{
  // The page links itself too; the sheets' @imports are resolved against the sheet.
  gateway.servePage("/cycle.htm", Reply::http(200, R"(<html><head><title>环</title>
      <link rel="stylesheet" href="css/a.css"><link rel="stylesheet" href="cycle.htm"></head>
      <body style="margin:0"><div class="a">甲</div><div class="b">乙</div></body></html>)"));
  gateway.servePage("/css/a.css", Css(R"(@import "b.css"; .a { height: 30px; background-color: #1e6fd9; })"));
  gateway.servePage("/css/b.css", Css("@import url('a.css'); .b { height: 30px; background-color: #d91e6f; }"));
  Load(Url("/cycle.htm"));
  EXPECT_EQ(Paths(gateway), (std::vector<std::string>{"/cycle.htm", "/css/a.css", "/cycle.htm", "/css/b.css"}));
  EXPECT_EQ(Count(DISPID_DOCUMENTCOMPLETE), 1u);
  EXPECT_EQ(Title(), "环");
  EXPECT_TRUE(Shows(View(), kBlue));
  EXPECT_TRUE(Shows(View(), kRose));
}

}  // namespace
