// Page scripts in the browser control: navigations that links, scripts and taps start and the
// order of their events; functions called by name with their three outcomes; alerts, timers on
// the device's clock, and changes to the page that show at once.
#include "browser_fixture.h"

#include "testing/message_boxes.h"

namespace {

using testgateway::Reply;

constexpr const char* kNext = "<html><head><title>下一页</title></head><body>next</body></html>";

TEST_F(BrowserTest, ATappedLinkNavigatesAfterItsHandlersRan)
{
  gateway.servePage("/links.htm", Reply::http(200, R"(<body style="margin:0">
      <p style="margin:0"><a href="next.htm?from=link">下一页</a></p>
      <p style="margin:0"><a href="other.htm" onclick="document.title='stopped'; return false">不去</a></p>
      <p style="margin:0"><a href="javascript:document.title='script'">脚本</a></p></body>)"));
  gateway.servePage("/next.htm", Reply::http(200, kNext));
  Load(Url("/links.htm"));
  const int line = 16;  // each link on a line of its own

  events.clear();
  ASSERT_TRUE(kvtest::TapWindow(View(), POINT{10, line + line / 2}));
  ASSERT_TRUE(kvtest::TapWindow(View(), POINT{10, 2 * line + line / 2}));
  EXPECT_TRUE(events.empty());  // a handler that returns false and a script link go nowhere
  EXPECT_EQ(Title(), "script");

  ASSERT_TRUE(kvtest::TapWindow(View(), POINT{10, line / 2}));
  ASSERT_TRUE(WaitForDocument());
  EXPECT_EQ(Names(), (std::vector<std::string>{"BeforeNavigate2 " + Url("/next.htm?from=link"),
                                                "NavigateComplete2 " + Url("/next.htm?from=link"),
                                                "DocumentComplete " + Url("/next.htm?from=link")}));
  for (const auto& request : gateway.requests())
    EXPECT_NE(request.path, "/other.htm");
}

TEST_F(BrowserTest, AScriptsNavigationStartsOnlyOnceTheScriptHasReturned)
{
  // Set while the page loads: the page completes first, then the navigation starts.
  gateway.servePage("/onload.htm", Reply::http(200, "<body onload=\"location.href='next.htm'\">x</body>"));
  gateway.servePage("/next.htm", Reply::http(200, kNext));
  events.clear();
  ASSERT_EQ(S_OK, Navigate(Url("/onload.htm")));
  ASSERT_TRUE(WaitForDocument(2));
  EXPECT_EQ(Names(), (std::vector<std::string>{
                         "BeforeNavigate2 " + Url("/onload.htm"), "NavigateComplete2 " + Url("/onload.htm"),
                         "DocumentComplete " + Url("/onload.htm"), "BeforeNavigate2 " + Url("/next.htm"),
                         "NavigateComplete2 " + Url("/next.htm"), "DocumentComplete " + Url("/next.htm")}));

  // Set by a function the program calls: nothing is fired inside the call; the last location
  // set is the one navigated to.
  gateway.servePage("/go.htm", Reply::http(200, "<script>function go() { location.href = 'nowhere.htm'; "
                                                "location.replace('/next.htm?replaced'); return 'going'; }</script>"));
  Load(Url("/go.htm"));
  events.clear();
  const Call call = CallFunction("go");
  EXPECT_EQ(call.result, S_OK);
  EXPECT_EQ(call.text, "going");
  EXPECT_TRUE(events.empty());
  ASSERT_TRUE(WaitForDocument());
  EXPECT_EQ(events.front().url, Url("/next.htm?replaced"));

  // A cancel in BeforeNavigate2 stops a script's navigation like any other.
  Load(Url("/go.htm"));
  cancel = [](const std::string&) { return true; };
  events.clear();
  CallFunction("go");
  ASSERT_TRUE(WaitUntil([&] { return !events.empty(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(Names(), (std::vector<std::string>{"BeforeNavigate2 " + Url("/next.htm?replaced")}));
}

TEST_F(BrowserTest, FunctionsCalledByNameAreMissingThrowOrGiveText)
{
  gateway.servePage("/menu.htm", Reply::http(200, R"(<title>菜单</title><script>
      function clientMenu() { return '返回:gotodesktop;付款:pay:json1'; }
      function number() { return 1.5 * 2; }
      function yes() { return 1 < 2; }
      function nothing() { return null; }
      function undefinedValue() {}
      function boom() { throw new Error('坏了'); }
      function forever() { try { for (;;) {} } catch (e) {} for (;;) {} }
      var notAFunction = 3;
    </script>)"));
  Load(Url("/menu.htm"));
  struct Case {
    const char* name;
    HRESULT result;
    const char* text;
  };
  const Case cases[] = {
      {"clientMenu", S_OK, "返回:gotodesktop;付款:pay:json1"},
      {"number", S_OK, "3"},
      {"yes", S_OK, "true"},
      {"nothing", S_OK, ""},
      {"undefinedValue", S_OK, ""},
      {"boom", DISP_E_EXCEPTION, "Error: 坏了"},
      {"forever", DISP_E_EXCEPTION, "RangeError: execution timeout"},  // stopped, whatever it catches
      {"notAFunction", DISP_E_MEMBERNOTFOUND, ""},
      {"clientError", DISP_E_UNKNOWNNAME, ""},
  };
  for (const Case& c : cases) {
    const Call call = CallFunction(c.name);
    EXPECT_EQ(call.result, c.result) << c.name;
    EXPECT_EQ(call.text, c.text) << c.name;
  }
  // The page is still there and answers after a script was stopped.
  EXPECT_EQ(CallFunction("number").text, "3");

  // A document the browser has since replaced answers no more.
  CComPtr<IDispatchEx> old = Script();
  gateway.servePage("/next.htm", Reply::http(200, kNext));
  Load(Url("/next.htm"));
  BSTR name = SysAllocString(u"clientMenu");
  DISPID id = 0;
  EXPECT_EQ(old->GetDispID(name, 0, &id), E_FAIL);
  SysFreeString(name);
}

TEST_F(BrowserTest, AnAlertIsTheDevicesMessageBoxAndTheScriptGoesOnAfterIt)
{
  kvtest::MessageBoxAnswerer answerer;
  gateway.servePage("/alert.htm", Reply::http(200, "<script>alert('请先登录'); document.title = 'after ' + 12;</script>"));
  Load(Url("/alert.htm"));
  const auto calls = answerer.Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(Utf8(calls[0].text), "请先登录");
  EXPECT_EQ(calls[0].owner, dialog);
  EXPECT_EQ(calls[0].type & MB_TYPEMASK, static_cast<UINT>(MB_OK));
  EXPECT_EQ(Title(), "after 12");
}

TEST_F(BrowserTest, TimersRunOnTheDevicesClock)
{
  kvtest::UseVirtualTime();
  gateway.servePage("/timer.htm", Reply::http(200, R"(<title>0</title><script>
      var ticks = 0;
      function tick(step) { ticks += step; document.title = String(ticks); if (ticks < 3) setTimeout(tick, 1000, step); }
      setTimeout(tick, 1000, 1);
      var cancelled = setTimeout(function () { document.title = 'cancelled'; }, 500);
      clearTimeout(cancelled);
    </script>)"));
  Load(Url("/timer.htm"));
  EXPECT_EQ(Title(), "0");
  ASSERT_TRUE(kvtest::AdvanceTime(999));
  EXPECT_EQ(Title(), "0");
  ASSERT_TRUE(kvtest::AdvanceTime(1));
  EXPECT_EQ(Title(), "1");
  ASSERT_TRUE(kvtest::AdvanceTime(5000));
  EXPECT_EQ(Title(), "3");
}

TEST_F(BrowserTest, ScriptsReadAndChangeThePageThroughTheStatedInterface)
{
  gateway.servePage("/dom.htm", Reply::http(200, R"(<html><head><title>原题</title></head><body>
      <form name="login" action="login.do" method="post">
        <input id="user" name="user" value="张三">
        <input type="password" name="pass">
        <input type="checkbox" name="keep" value="yes" checked>
        <input type="radio" name="kind" value="a" checked><input type="radio" name="kind" value="b">
        <select name="bank"><option value="icbc">工商</option><option selected>建设</option></select>
        <input type="submit" name="go" value="登录">
      </form>
      <div id="box" style="color: red">旧<b>文字</b></div><p id="hidden" style="display:none">x</p>
      <script>
        function read() {
          var f = document.forms.login, out = [];
          out.push(document.title, f === document.forms[0], f.elements.length, f.user.value, f.elements['pass'].type);
          out.push(f.keep.checked, document.getElementsByName('kind')[1].checked, f.bank.selectedIndex, f.bank.value);
          out.push(f.bank.options[0].text, f.bank.options.length, document.getElementById('box').innerHTML);
          out.push(document.getElementById('box').innerText, document.getElementById('box').getAttribute('style'));
          out.push(document.getElementById('hidden').style.display, document.getElementsByTagName('input').length);
          out.push(document.getElementById('user').form.name, document.getElementById('nothing'));
          return out.join('|');
        }
        function change() {
          var f = document.forms.login;
          document.title = '新题';
          f.user.value = '李四';
          document.getElementsByName('kind')[1].checked = true;
          f.bank.selectedIndex = 0;
          f.keep.checked = false;
          document.getElementById('box').innerHTML = '<i>新</i>';
          document.getElementById('hidden').style.display = 'block';
          document.getElementById('box').setAttribute('title', 't');
          return read();
        }
      </script></body></html>)"));
  Load(Url("/dom.htm"));
  EXPECT_EQ(CallFunction("read").text,
            "原题|true|7|张三|password|true|false|1|建设|工商|2|旧<b>文字</b>|旧文字|color: red|none|6|login|");
  EXPECT_EQ(CallFunction("change").text,
            "新题|true|7|李四|password|false|true|0|icbc|工商|2|<i>新</i>|新|color: red|block|6|login|");
  // The fields show what the script set.
  const std::vector<HWND> edits = Fields(u"EDIT");
  ASSERT_EQ(edits.size(), 2u);
  WCHAR text[32] = {};
  GetWindowTextW(edits[0], text, 32);
  EXPECT_EQ(Utf8(text), "李四");
  const std::vector<HWND> buttons = Fields(u"BUTTON");
  ASSERT_EQ(buttons.size(), 4u);
  EXPECT_EQ(SendMessageW(buttons[0], BM_GETCHECK, 0, 0), BST_UNCHECKED);  // keep
  EXPECT_EQ(SendMessageW(buttons[2], BM_GETCHECK, 0, 0), BST_CHECKED);    // kind b
  EXPECT_EQ(SendMessageW(Fields(u"COMBOBOX")[0], CB_GETCURSEL, 0, 0), 0);
}

TEST_F(BrowserTest, AChangedPageIsLaidOutAgainWithItsFields)
{
  gateway.servePage("/grow.htm", Reply::http(200, R"(<body><div id="slot"></div><script>
      function grow() { document.getElementById('slot').innerHTML = '<input name="a"><input name="b" type="password">'; }
      function shrink() { document.getElementById('slot').innerHTML = ''; }
    </script></body>)"));
  Load(Url("/grow.htm"));
  EXPECT_TRUE(Fields(u"EDIT").empty());
  CallFunction("grow");
  ASSERT_EQ(Fields(u"EDIT").size(), 2u);
  EXPECT_TRUE(GetWindowLongW(Fields(u"EDIT")[1], GWL_STYLE) & ES_PASSWORD);
  CallFunction("shrink");
  EXPECT_TRUE(Fields(u"EDIT").empty());
}

}  // namespace
