// The browser control's navigations: the host window and its tree, the events of a load and
// their order, cancelling, failures, post data, headers and cookies, as the test gateway sees them.
#include "browser_fixture.h"

#include "inet/cookie.h"

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

}  // namespace
