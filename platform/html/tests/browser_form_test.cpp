// Forms in the browser control: fields as child windows, what the user types and chooses,
// submitting by a button, by Return and by a script, with GET and POST, decoded at the gateway;
// the focus moving through the page and the keys the page takes from a dialog's filter.
#include "browser_fixture.h"

#include "testing/screenshot.h"

namespace {

using testgateway::Reply;
using Pairs = std::vector<std::pair<std::string, std::string>>;

constexpr const char* kDone = "<html><head><title>完成</title></head><body>ok</body></html>";

std::string FormPage(const std::string& method)
{
  return R"(<html><head><title>付款</title></head><body style="margin:4px">
    <form action="pay.do?ignored=1#top" method=")" + method + R"(" onsubmit="return this.amount.value != ''">
      金额 <input name="amount" size="10"><br>
      备注 <input name="memo" value="a&amp;b=c+d%e 中文" size="10"><br>
      密码 <input type="password" name="pwd" size="10"><br>
      <input type="checkbox" name="agree" value="是" checked> 同意
      <input type="checkbox" name="news" value="yes"> 订阅<br>
      <select name="bank"><option value="工商">工商银行</option><option>建设银行</option></select><br>
      <input type="hidden" name="token" value="x=1&amp;y=2">
      <input type="submit" name="action" value="付款"> <input type="submit" name="action" value="取消">
      <input type="button" name="plain" value="无">
    </form><script>function send() { document.forms[0].submit(); }</script></body></html>)";
}

class BrowserFormTest : public BrowserTest {
 protected:
  // Loads the form page and types into its fields.
  void Fill(const std::string& method)
  {
    gateway.servePage("/form.htm", Reply::http(200, FormPage(method)));
    gateway.servePage("/pay.do", Reply::http(200, kDone));
    Load(Url("/form.htm"));
    edits = Fields(u"EDIT");
    buttons = Fields(u"BUTTON");
    ASSERT_EQ(edits.size(), 3u);
    ASSERT_EQ(buttons.size(), 5u);  // two check boxes, three buttons
    ASSERT_TRUE(kvtest::TapWindow(edits[0]));
    ASSERT_TRUE(kvtest::TypeText(u"12.50"));
    ASSERT_TRUE(kvtest::TapWindow(edits[2]));
    ASSERT_TRUE(kvtest::TypeText(u"p&ss=+%1 密"));
  }
  // The fields the gateway decoded from the request that came for /pay.do.
  Pairs Sent(size_t count = 1)
  {
    const auto request = gateway.waitForPath("/pay.do", count);
    if (!request)
      return {{"no request", ""}};
    return request->method == "POST" ? request->form : request->queryForm;
  }

  std::vector<HWND> edits;
  std::vector<HWND> buttons;
};

TEST_F(BrowserFormTest, APostedFormArrivesDecodedWithTheButtonThatSentIt)
{
  Fill("post");
  ASSERT_TRUE(kvtest::TapWindow(buttons[1]));  // subscribe
  events.clear();
  ASSERT_TRUE(kvtest::TapWindow(buttons[3]));  // cancel
  ASSERT_TRUE(WaitForDocument());
  EXPECT_EQ(Sent(), (Pairs{{"amount", "12.50"},
                            {"memo", "a&b=c+d%e 中文"},
                            {"pwd", "p&ss=+%1 密"},
                            {"agree", "是"},
                            {"news", "yes"},
                            {"bank", "工商"},
                            {"token", "x=1&y=2"},
                            {"action", "取消"}}));
  const auto request = gateway.waitForPath("/pay.do");
  EXPECT_EQ(request->query, "ignored=1");
  EXPECT_EQ(request->header("Content-Type"), "application/x-www-form-urlencoded");
  // The sinks saw the bytes posted and the form's header.
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[0].url, Url("/pay.do?ignored=1#top"));
  EXPECT_EQ(events[0].postData, request->body);
  EXPECT_EQ(events[0].headers, "Content-Type: application/x-www-form-urlencoded\r\n");
}

TEST_F(BrowserFormTest, AFormSentWithGetCarriesItsFieldsInTheQuery)
{
  Fill("get");
  SendMessageW(Fields(u"COMBOBOX")[0], CB_SETCURSEL, 1, 0);
  SendMessageW(View(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Fields(u"COMBOBOX")[0]));
  ASSERT_TRUE(kvtest::TapWindow(buttons[0]));  // no longer agreed
  events.clear();
  ASSERT_TRUE(kvtest::TapWindow(buttons[2]));  // pay
  ASSERT_TRUE(WaitForDocument());
  EXPECT_EQ(Sent(), (Pairs{{"amount", "12.50"},
                            {"memo", "a&b=c+d%e 中文"},
                            {"pwd", "p&ss=+%1 密"},
                            {"bank", "建设银行"},
                            {"token", "x=1&y=2"},
                            {"action", "付款"}}));
  const auto request = gateway.waitForPath("/pay.do");
  EXPECT_EQ(request->method, "GET");
  EXPECT_TRUE(request->body.empty());
  EXPECT_TRUE(events[0].postData.empty());
}

TEST_F(BrowserFormTest, ReturnInAFieldSubmitsWithTheFirstButtonAndAHandlerCanStopIt)
{
  Fill("post");
  // Without an amount the page's onsubmit says no: nothing is sent.
  ASSERT_TRUE(kvtest::TapWindow(edits[0]));
  SetWindowTextW(edits[0], u"");
  events.clear();
  ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
  ASSERT_TRUE(kvtest::TapWindow(buttons[2]));
  EXPECT_TRUE(events.empty());
  ASSERT_TRUE(kvtest::TapWindow(edits[0]));
  ASSERT_TRUE(kvtest::TypeText(u"8"));
  ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
  ASSERT_TRUE(WaitForDocument());
  Pairs sent = Sent();
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.front(), (std::pair<std::string, std::string>{"amount", "8"}));
  EXPECT_EQ(sent.back(), (std::pair<std::string, std::string>{"action", "付款"}));

  // A script's submit() sends the form with no button and no onsubmit.
  Load(Url("/form.htm"));
  EXPECT_EQ(CallFunction("send").result, S_OK);
  ASSERT_TRUE(WaitForDocument());
  EXPECT_EQ(Sent(2).back(), (std::pair<std::string, std::string>{"token", "x=1&y=2"}));
}

TEST_F(BrowserFormTest, ThePageWithItsFormLooksLikeAForm)
{
  for (SIZE screen : {SIZE{240, 320}, SIZE{480, 640}}) {
    const std::string name = "browser_form_" + std::to_string(screen.cx) + "x" + std::to_string(screen.cy);
    Open(screen.cx, screen.cy);
    Fill("post");
    ASSERT_TRUE(kvtest::RunUntilIdle());
    kvtest::SaveScreenshot(name);
    // The fields lie inside the view, one below the other, none over another.
    RECT view{};
    GetWindowRect(View(), &view);
    RECT previous{};
    for (HWND edit : edits) {
      RECT box{};
      GetWindowRect(edit, &box);
      RECT inside{};
      EXPECT_TRUE(IntersectRect(&inside, &box, &view) && EqualRect(&inside, &box)) << name;
      EXPECT_GE(box.top, previous.bottom) << name;
      previous = box;
    }
  }
}

TEST_F(BrowserTest, FocusMovesThroughThePageAndEachMovePostsTheFocusMessage)
{
  gateway.servePage("/focus.htm", Reply::http(200, R"(<body style="margin:0">
      <a href="a.htm">甲</a><br><input name="one"><br><input name="two"><br><a href="b.htm">乙</a></body>)"));
  Load(Url("/focus.htm"));
  log.Watch(View(), "view");
  const std::vector<HWND> edits = Fields(u"EDIT");
  ASSERT_EQ(edits.size(), 2u);
  SetFocus(host);  // the host hands the focus to the page
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(GetFocus(), View());

  auto posted = [&] {
    size_t count = 0;
    for (const auto& m : log.Messages())
      count += m.message == BROWSER_FOCUS_CHANGED && (m.how & kvtest::posted);
    log.Clear();
    return count;
  };
  auto className = [] {
    WCHAR name[64] = {};
    GetClassNameW(GetFocus(), name, 64);
    return Utf8(name);
  };
  posted();
  // Down goes link, field, field, link; a focused field is an EDIT.
  const std::vector<std::string> classes = {"BrowserView", "EDIT", "EDIT", "BrowserView"};
  for (const std::string& expected : classes) {
    ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
    EXPECT_EQ(className(), expected);
    EXPECT_GE(posted(), 1u) << expected;
  }
  ASSERT_TRUE(kvtest::TapWindow(edits[0]));
  EXPECT_EQ(GetFocus(), edits[0]);
  EXPECT_GE(posted(), 1u);
}

// A text area wraps its text at its width, as a multi-line edit does; a text field keeps one line.
TEST_F(BrowserTest, ATextAreaWrapsItsLines)
{
  const std::string text = "请在安装前仔细阅读本协议。点击“接受”即表示您同意以下全部条款。";
  gateway.servePage("/wrap.htm", Reply::http(200, R"(<body><textarea name="note" cols="8" rows="3">)" + text +
                                                      R"(</textarea><br><input name="one" size="8" value=")" + text +
                                                      R"("></body>)"));
  Load(Url("/wrap.htm"));
  const std::vector<HWND> edits = Fields(u"EDIT");
  ASSERT_EQ(edits.size(), 2u);
  const bool firstIsArea = GetWindowLongW(edits[0], GWL_STYLE) & ES_MULTILINE;
  HWND area = edits[firstIsArea ? 0 : 1];
  EXPECT_EQ(SendMessageW(edits[firstIsArea ? 1 : 0], EM_GETLINECOUNT, 0, 0), 1);
  const LRESULT lines = SendMessageW(area, EM_GETLINECOUNT, 0, 0);
  EXPECT_GT(lines, 3);
  // Every line fits the area.
  WCHAR shown[128] = {};
  GetWindowTextW(area, shown, 128);
  RECT client;
  GetClientRect(area, &client);
  HDC dc = GetDC(area);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(area, WM_GETFONT, 0, 0)));
  for (LRESULT i = 0; i < lines; ++i) {
    LRESULT start = SendMessageW(area, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
    LRESULT length = SendMessageW(area, EM_LINELENGTH, static_cast<WPARAM>(start), 0);
    SIZE size{};
    GetTextExtentPoint32W(dc, shown + start, static_cast<int>(length), &size);
    EXPECT_LE(size.cx, client.right) << "line " << i;
  }
  SelectObject(dc, old);
  ReleaseDC(area, dc);
}

TEST_F(BrowserTest, TheHostAnswersForwardedKeysOnlyWhenThePageTookThem)
{
  gateway.servePage("/keys.htm", Reply::http(200, R"(<body style="margin:0"><input name="one"><br>
      <input name="two"><br><textarea name="three"></textarea></body>)"));
  Load(Url("/keys.htm"));
  const std::vector<HWND> edits = Fields(u"EDIT");
  ASSERT_EQ(edits.size(), 3u);
  SetFocus(edits[0]);
  struct Case {
    int edit;       // where the key is pressed
    UINT key;
    LRESULT taken;
    int focus;      // the field with the focus afterwards
  };
  const Case cases[] = {
      {0, VK_F1, 0, 0},   // the soft keys are the dialog's
      {0, VK_F2, 0, 0},
      {0, VK_LEFT, 0, 0}, // the field's own
      {0, VK_DOWN, 1, 1}, // the page's: the next field
      {1, VK_DOWN, 1, 2},
      {2, VK_UP, 0, 2},   // a text area keeps its lines
      {2, VK_TAB, 1, 0},  // Tab goes round
  };
  for (const Case& c : cases) {
    SetFocus(edits[static_cast<size_t>(c.edit)]);
    MSG message{edits[static_cast<size_t>(c.edit)], WM_KEYDOWN, c.key, 0, 0, {}};
    EXPECT_EQ(SendMessageW(host, WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(&message)), c.taken) << c.key;
    EXPECT_EQ(GetFocus(), edits[static_cast<size_t>(c.focus)]) << c.key;
  }
  // Keys of other windows are not the page's.
  MSG other{dialog, WM_KEYDOWN, VK_DOWN, 0, 0, {}};
  EXPECT_EQ(SendMessageW(host, WM_FORWARDMSG, 0, reinterpret_cast<LPARAM>(&other)), 0);
}

}  // namespace
