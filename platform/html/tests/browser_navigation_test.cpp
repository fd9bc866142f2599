// The browser control's navigations: the host window and its tree, the events of a load and
// their order, cancelling, failures, post data, headers and cookies, as the test gateway sees them.
#include "browser_fixture.h"

#include "inet/cookie.h"
#include "internal/gdi/screen.h"
#include "testing/screenshot.h"

namespace {

using testgateway::Reply;

constexpr const char* kPage = "<html><head><title>首页</title></head><body><p>你好</p></body></html>";

TEST_F(BrowserTest, TheHostHoldsTheControlAndItsViewTwoLevelsDown)
{
  WCHAR name[64] = {};
  GetClassNameW(Control(), name, 64);
  EXPECT_EQ(std::u16string(u"BrowserControl"), name);
  GetClassNameW(View(), name, 64);
  EXPECT_EQ(std::u16string(u"BrowserView"), name);
  EXPECT_EQ(nullptr, GetWindow(Control(), GW_HWNDNEXT));

  // The licensed class holds it too; another control's name makes no window.
  HWND licensed = CreateWindowExW(0, BROWSER_HOST_LICENSED_CLASS, u"microsoft.piedocview", WS_CHILD, 0, 0, 10, 10, dialog,
                                  nullptr, nullptr, nullptr);
  EXPECT_NE(nullptr, licensed);
  EXPECT_EQ(nullptr, CreateWindowExW(0, BROWSER_HOST_CLASS, u"Shell.Explorer", WS_CHILD, 0, 0, 10, 10, dialog, nullptr,
                                     nullptr, nullptr));
  IUnknown* none = nullptr;
  EXPECT_EQ(E_FAIL, AtlAxGetControl(dialog, &none));

  // The classes can be taken away once their windows are gone, as at the program's end.
  EXPECT_FALSE(UnregisterClassW(BROWSER_HOST_CLASS, nullptr));
  DestroyWindow(host);
  DestroyWindow(licensed);
  EXPECT_TRUE(UnregisterClassW(BROWSER_HOST_CLASS, nullptr));
  EXPECT_TRUE(UnregisterClassW(BROWSER_HOST_LICENSED_CLASS, nullptr));
  // The control outlives its window for those who hold it, and fails cleanly.
  EXPECT_EQ(E_FAIL, Navigate(Url("/page")));
}

TEST_F(BrowserTest, ALoadFiresItsEventsInOrderWithTheUrlReachedAfterRedirects)
{
  gateway.servePage("/start", Reply::http(302, "", "").withCookie("step=1; Path=/"));
  gateway.servePage("/page", Reply::http(200, "<title>原来</title><script>document.title = '脚本' + document.title;</script>"));
  {
    auto reply = Reply::http(302, "", "");
    reply.headers.emplace_back("Location", "/page");
    gateway.servePage("/start", reply);
  }
  Load(Url("/start"));
  EXPECT_EQ(Names(), (std::vector<std::string>{"BeforeNavigate2 " + Url("/start"), "NavigateComplete2 " + Url("/page"),
                                                "DocumentComplete " + Url("/page")}));
  // The page's scripts ran before DocumentComplete.
  EXPECT_EQ(events.back().title, "脚本原来");
  BSTR location = nullptr;
  ASSERT_EQ(S_OK, browser->get_LocationURL(&location));
  EXPECT_EQ(Utf8(location), Url("/page"));
  SysFreeString(location);
}

TEST_F(BrowserTest, ACancelInBeforeNavigate2StopsEverythingAfterIt)
{
  gateway.servePage("/page", Reply::http(200, kPage));
  cancel = [](const std::string&) { return true; };
  events.clear();
  ASSERT_EQ(S_OK, Navigate(Url("/page")));
  // Nothing is fetched and nothing else is fired, however long one waits for it.
  gateway.servePage("/marker", Reply::http(200, kPage));
  cancel = nullptr;
  Load(Url("/marker"));
  for (const auto& request : gateway.requests())
    EXPECT_NE(request.path, "/page");
  EXPECT_EQ(Names(), (std::vector<std::string>{"BeforeNavigate2 " + Url("/marker"), "NavigateComplete2 " + Url("/marker"),
                                                "DocumentComplete " + Url("/marker")}));
}

TEST_F(BrowserTest, AFailedFetchFiresNavigateErrorThenDocumentCompleteWithAnEmptyTitle)
{
  gateway.servePage("/missing", Reply::http(404, "<title>找不到</title>"));
  gateway.servePage("/closed", Reply::close());
  // A server whose certificate the device does not trust.
  testgateway::TestGateway untrusted(testgateway::GatewayOptions{
      .http = false, .tlsDir = std::filesystem::path(root.path()) / "certs", .certificate = testgateway::ServerCertificate::Untrusted});
  untrusted.servePage("/page", Reply::http(200, kPage));
  untrusted.start();
  struct Case {
    std::string url;
    LONG status;
  };
  const Case cases[] = {
      {Url("/missing"), 404},
      {Url("/closed"), INET_E_DOWNLOAD_FAILURE},
      {"https://127.0.0.1:1/page", INET_E_CANNOT_CONNECT},
      {untrusted.httpsUrl() + "/page", INET_E_SECURITY_PROBLEM},
  };
  for (const Case& c : cases) {
    Load(c.url);
    ASSERT_EQ(events.size(), 3u) << c.url;
    EXPECT_EQ(events[1].id, DISPID_NAVIGATEERROR) << c.url;
    EXPECT_EQ(events[1].url, c.url);
    EXPECT_EQ(events[1].status, c.status) << c.url;
    EXPECT_EQ(events[2].id, DISPID_DOCUMENTCOMPLETE);
    EXPECT_EQ(events[2].title, "") << c.url;
  }
}

TEST_F(BrowserTest, PostDataAndHeadersReachTheSinksAndTheServerAsGiven)
{
  gateway.servePage("/form.do", Reply::http(200, kPage));
  const std::string body = "clientID=460001234567890&extra=a%26b%3Dc%2B%25";
  events.clear();
  ASSERT_EQ(S_OK, Navigate(Url("/form.do"), body, "Content-Type: application/x-www-form-urlencoded\r\nX-Trace: 7\r\n"));
  ASSERT_TRUE(WaitForDocument());
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].postData, body);
  EXPECT_EQ(events[0].headers, "Content-Type: application/x-www-form-urlencoded\r\nX-Trace: 7\r\n");
  auto sent = gateway.waitForPath("/form.do");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->method, "POST");
  EXPECT_EQ(sent->body, body);
  EXPECT_EQ(sent->header("X-Trace"), "7");
  EXPECT_EQ(sent->form, (std::vector<std::pair<std::string, std::string>>{{"clientID", "460001234567890"}, {"extra", "a&b=c+%"}}));

  // Without post data it is a GET; without a content type, post data goes as a form.
  Load(Url("/form.do?x=1"));
  EXPECT_EQ(gateway.waitForPath("/form.do", 2)->method, "GET");
  events.clear();
  ASSERT_EQ(S_OK, Navigate(Url("/form.do"), "a=1"));
  ASSERT_TRUE(WaitForDocument());
  EXPECT_EQ(gateway.waitForPath("/form.do", 3)->header("Content-Type"), "application/x-www-form-urlencoded");

  // Only web addresses are navigated to.
  for (const char* url : {"ftp://127.0.0.1/x", "javascript:alert(1)", "page.htm", ""})
    EXPECT_EQ(E_INVALIDARG, Navigate(url)) << url;
}

TEST_F(BrowserTest, CookiesGoBothWaysWithTheDevicesCookieCalls)
{
  gateway.servePage("/login.htm", Reply::http(200, kPage).withCookie("JSESSIONID=abc123; Path=/"));
  gateway.servePage("/next.htm", Reply::http(200, kPage));
  Load(Url("/login.htm"));

  // The reply's cookie is the device's.
  WCHAR text[256] = {};
  DWORD size = 256;
  ASSERT_TRUE(InternetGetCookieW(Wide(Url("/next.htm")).c_str(), u"JSESSIONID", text, &size));
  EXPECT_EQ(Utf8(text), "JSESSIONID=abc123");

  // And a cookie the device sets goes with the next page along with it.
  ASSERT_TRUE(InternetSetCookieW(Wide(Url("/")).c_str(), u"clientID", u"4600"));
  Load(Url("/next.htm"));
  auto sent = gateway.waitForPath("/next.htm");
  ASSERT_TRUE(sent);
  EXPECT_EQ(sent->cookies["JSESSIONID"], "abc123");
  EXPECT_EQ(sent->cookies["clientID"], "4600");
}

TEST_F(BrowserTest, APageIsReadInTheCharacterSetItDeclares)
{
  const std::string body = "<html><head><title>中文标题</title></head><body>正文</body></html>";
  const std::string meta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">";
  struct Case {
    const char* path;
    std::string markup;
    const char* contentType;  // as sent, before a GBK reply adds its charset
    bool gbk;
    const char* charset;
  };
  const Case cases[] = {
      {"/utf8.htm", body, "text/html;charset=UTF-8", false, "utf-8"},
      {"/gbk.htm", body, "text/html", true, "gbk"},      // the reply says GBK
      {"/meta.htm", meta + body, "", true, "gbk"},       // the page says GBK
      {"/bare.htm", body, "text/html", false, "utf-8"},  // valid UTF-8 said nowhere
  };
  for (const Case& c : cases) {
    Reply reply = Reply::http(200, c.markup, c.contentType);
    if (c.gbk) {
      reply.encoding = testgateway::BodyEncoding::Gbk;
      if (std::string(c.path) == "/gbk.htm")
        reply.contentType = "text/html; charset=GBK";
    }
    gateway.servePage(c.path, reply);
    Load(Url(c.path));
    EXPECT_EQ(events.back().title, "中文标题") << c.path;
    CComPtr<IDispatch> document;
    CComPtr<IHTMLDocument2> html;
    ASSERT_EQ(S_OK, browser->get_Document(&document));
    ASSERT_EQ(S_OK, document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&html)));
    BSTR charset = nullptr;
    ASSERT_EQ(S_OK, html->get_charset(&charset));
    EXPECT_EQ(Utf8(charset), c.charset) << c.path;
    SysFreeString(charset);
  }
}

TEST_F(BrowserTest, AnAnchorOfThePageShownScrollsToItWithoutAFetch)
{
  std::string page = "<body style=\"margin:0\"><a href=\"#end\">到底</a>";
  for (int i = 0; i < 40; ++i)
    page += "<p>第" + std::to_string(i) + "段</p>";
  page += "<p id=\"end\">底</p></body>";
  gateway.servePage("/long.htm", Reply::http(200, page));
  Load(Url("/long.htm"));
  const size_t fetched = gateway.requests().size();
  events.clear();
  ASSERT_TRUE(kvtest::TapWindow(View(), POINT{8, 6}));
  EXPECT_EQ(Names(), (std::vector<std::string>{"BeforeNavigate2 " + Url("/long.htm#end"),
                                                "NavigateComplete2 " + Url("/long.htm#end"),
                                                "DocumentComplete " + Url("/long.htm#end")}));
  EXPECT_EQ(gateway.requests().size(), fetched);
  HWND bar = GetWindow(View(), GW_CHILD);
  ASSERT_NE(bar, nullptr);
  EXPECT_GT(GetScrollPos(bar, SB_CTL), 0);
}

TEST_F(BrowserTest, HistoryBackReturnsToThePageBefore)
{
  gateway.servePage("/first.htm", Reply::http(200, "<title>一</title>"));
  gateway.servePage("/second.htm", Reply::http(200, "<title>二</title><script>function back() { history.back(); }</script>"));
  Load(Url("/first.htm"));
  Load(Url("/second.htm"));
  events.clear();
  CallFunction("back");
  ASSERT_TRUE(WaitForDocument());
  EXPECT_EQ(events.front().url, Url("/first.htm"));
  EXPECT_EQ(Title(), "一");
}

TEST_F(BrowserTest, StopDropsTheFetchUnderWayAndNothingFollows)
{
  gateway.servePage("/slow.htm", Reply::stall(Reply::http(200, "<title>慢</title>")));
  events.clear();
  ASSERT_EQ(S_OK, Navigate(Url("/slow.htm")));
  ASSERT_TRUE(gateway.waitForPath("/slow.htm"));  // the layer's thread sends it
  ASSERT_EQ(S_OK, browser->Stop());
  EXPECT_TRUE(gateway.waitForAbandoned(1));
  gateway.releaseStalled();
  gateway.servePage("/marker.htm", Reply::http(200, "<title>标</title>"));
  Load(Url("/marker.htm"));
  EXPECT_EQ(events.front().url, Url("/marker.htm"));
  EXPECT_EQ(Title(), "标");
}

TEST_F(BrowserTest, ASinkMayDestroyTheControlInsideAnEvent)
{
  gateway.servePage("/page.htm", Reply::http(200, kPage));
  gateway.servePage("/link.htm", Reply::http(200, "<body style=\"margin:0\"><a href=\"page.htm\">链接</a></body>"));
  struct Case {
    DISPID id;
    bool tap;  // the navigation starts with a tap on a link, else with Navigate2
  };
  for (Case c : {Case{DISPID_BEFORENAVIGATE2, false}, Case{DISPID_NAVIGATECOMPLETE2, false},
                 Case{DISPID_DOCUMENTCOMPLETE, false}, Case{DISPID_BEFORENAVIGATE2, true}}) {
    Open(240, 320);
    if (c.tap)
      Load(Url("/link.htm"));
    bool destroyed = false;
    sink.On(c.id, [&](DISPPARAMS&) {
      if (!destroyed) {
        destroyed = true;
        DestroyWindow(dialog);
        sink.Unadvise();
        browser.Release();
      }
    });
    CComPtr<IWebBrowser2> kept = browser;
    if (c.tap)
      ASSERT_TRUE(kvtest::TapWindow(View(), POINT{8, 6}));
    else
      ASSERT_EQ(S_OK, Navigate(Url("/page.htm")));
    ASSERT_TRUE(WaitUntil([&] { return destroyed; })) << c.id;
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_FALSE(IsWindow(host));
    EXPECT_EQ(kept->Stop(), E_FAIL);
    browser = kept;
  }
}

TEST_F(BrowserTest, TheDemoEntertainmentPageOffersItsTradeLinkAsWritten)
{
  gateway.serveFile("/amusement.htm", std::filesystem::path(KV_DEMO_PAGES) / "amusement.html", "text/html; charset=utf-8");
  Load(Url("/amusement.htm"));
  kvtest::SaveScreenshot("browser_amusement_240x320");
  EXPECT_EQ(Title(), "娱乐消费");
  // Chosen with the keys, the link is announced with its escapes kept, before anything is fetched.
  cancel = [](const std::string&) { return true; };
  events.clear();
  SetFocus(host);
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
  ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
  EXPECT_EQ(Names(), (std::vector<std::string>{
                         "BeforeNavigate2 " + Url("/amusement/trade_pay.do?korvex_trade_no=2024061100001&return_url=%252Famusement.htm")}));
}

TEST_F(BrowserTest, ThePagesImagesAreFetchedBeforeItCompletes)
{
  gateway.serveFile("/img/logo.png", std::filesystem::path(KV_VIEWER_LIBRARY) / "logo.png", "image/png");
  gateway.servePage("/missing.png", Reply::http(404, ""));
  gateway.servePage("/pictures.htm", Reply::http(200, R"(<body style="margin:0"><img src="img/logo.png">
      <img src="missing.png" width="20" height="20"><img src="img/logo.png"><img src="ftp://x/y.png"></body>)"));
  Load(Url("/pictures.htm"));
  // Each image once, before DocumentComplete.
  std::vector<std::string> paths;
  for (const auto& request : gateway.requests())
    paths.push_back(request.path);
  EXPECT_EQ(paths, (std::vector<std::string>{"/pictures.htm", "/img/logo.png", "/missing.png"}));
  gdi_screen::Image shown;
  ASSERT_TRUE(gdi_screen::CaptureWindow(View(), &shown));
  EXPECT_NE(std::find(shown.pixels.begin(), shown.pixels.end(), 0xFF1E6FD9u), shown.pixels.end());
}

TEST_F(BrowserTest, TheErrorPageSaysWhatFailed)
{
  gateway.servePage("/missing.htm", Reply::http(404, ""));
  Load(Url("/missing.htm"));
  kvtest::SaveScreenshot("browser_error_page_240x320");
  EXPECT_EQ(Title(), "");
}

}  // namespace
