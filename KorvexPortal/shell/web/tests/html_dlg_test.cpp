// The HTML page dialog against pages of the test gateway: the soft keys from "clientMenu", the
// error texts, forms sent as page loads or as gateway requests with their bytes unchanged, a
// bill's road to the trade pay dialog, anchors. Screenshots for people to look at.
#include <optional>

#include "html_dlg.h"
#include "layout_checks.h"
#include "shell/sip.h"
#include "testing/screenshot.h"
#include "web_fixture.h"

using namespace webtest;

namespace {

// The fields of the centre page's form: texts with "& = + %" and Chinese.
const char kEscapedFields[] =
    "<input type=\"hidden\" name=\"memo\" value=\"a&amp;b=c+d%e 水费=\">"
    "<input type=\"text\" name=\"acct\" value=\"88=\">";

// A web-centre page: its script gives the menu, an error when asked, the answer to beforeSubmit,
// and "send" submits its form.
Reply CentrePage(const std::string& menu, const std::string& error = {}, const std::string& beforeSubmit = {},
                 const std::string& fields = kEscapedFields)
{
  std::string script = "<script>function clientMenu() { return '" + menu + "'; }\n";
  if (!error.empty())
    script += "function clientError() { return '" + error + "'; }\n";
  if (!beforeSubmit.empty())
    script += "function beforeSubmit() { return '" + beforeSubmit + "'; }\n";
  script += "function send() { document.forms[0].submit(); }\nfunction top() { location.href = '#top'; }</script>";
  return Page("生活缴费",
              "<h3>生活缴费</h3><p>水费、电费、燃气费。</p>"
              "<form action=\"/puc/bill.do\" method=\"post\">" + fields + "</form>",
              script);
}

Reply Bill()
{
  return Reply::json({{"resultStatus", 888},
                      {"billNO", "B2010"},
                      {"sellerName", "自来水公司"},
                      {"goodsName", "水费"},
                      {"tradeFrom", "生活缴费"},
                      {"totalFee", "35.00"},
                      {"availableBalance", "100.00"},
                      {"memo", "请付款"}});
}

class HtmlDlgTest : public WebDialogTest {
 protected:
  void DestroyScreens() override { dialog.reset(); }

  void Open()
  {
    opener = Opener();
    ui.Invoke([&] {
      dialog = std::make_unique<CHtmlDlg>();
      dialog->NavigatePost(CStringW(GatewayPage("/puc/webMC.htm").c_str()), CStringW(), opener);
    });
  }
  bool Shown() { return dialog && dialog->m_hWnd && IsWindowVisible(dialog->m_hWnd); }
  // Starts the gateway, shows the centre page and submits its form with the left key: the form's
  // request as the gateway received it; none when the page did not show or nothing came.
  std::optional<RecordedRequest> SubmitForm()
  {
    StartGateway();
    Open();
    if (!RunUntil([&] { return Shown(); }))
      return std::nullopt;
    Press(133);
    return gateway.waitForPath("/puc/bill.do");
  }
  bool Gone() { return dialog && !(dialog->m_hWnd && IsWindow(dialog->m_hWnd)); }
  std::string KeyText(int id) { return kvtest::Narrow(Text(GetDlgItem(dialog->m_hWnd, id))); }
  void Press(int id)
  {
    ui.Invoke([&] { dialog->PostMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); });
  }

  // The first edit of the shown page; null when it has none.
  HWND PageEdit()
  {
    for (HWND child = GetWindow(dialog->GetPageWindow(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      WCHAR name[32] = {};
      GetClassNameW(child, name, 32);
      if (std::u16string(name) == u"EDIT")
        return child;
    }
    return nullptr;
  }
  // Gives the window the focus as a tap in the page does, and tells the dialog (on its thread).
  void FocusInPage(HWND window)
  {
    SetFocus(window);
    MSG focus{dialog->GetPageWindow(), BROWSER_FOCUS_CHANGED, 0, 0, 0, {0, 0}};
    dialog->PreTranslateMessage(&focus);
  }

  std::unique_ptr<CHtmlDlg> dialog;
  HWND opener = nullptr;
};

TEST_F(HtmlDlgTest, AGoodPageShowsWithTheKeysOfItsMenuAndGotoDesktopCloses)
{
  gateway.servePage("/puc/webMC.htm", CentrePage("缴费:send:json1;回桌面:gotodesktop"));
  StartGateway();
  Open();
  auto page = gateway.waitForPath("/puc/webMC.htm");
  ASSERT_TRUE(page);
  EXPECT_EQ(ClientId(), FormField(*page, "clientID"));
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  EXPECT_EQ("缴费", KeyText(133));
  EXPECT_EQ("回桌面", KeyText(143));
  EXPECT_EQ("生活缴费", kvtest::Narrow(Text(dialog->m_hWnd))) << "its own title, not the program's";
  EXPECT_TRUE(Boxes().empty());
  Press(143);
  ASSERT_TRUE(RunUntil([&] { return Gone(); }));
}

struct BadPageCase {
  const char* name;
  Reply page;
  std::string box;
  bool login;
};

class HtmlBadPageTest : public HtmlDlgTest, public ::testing::WithParamInterface<BadPageCase> {};

TEST_P(HtmlBadPageTest, ShowsTheErrorAndGoesBack)
{
  const BadPageCase& c = GetParam();
  gateway.servePage("/puc/webMC.htm", c.page);
  StartGateway();
  app.SetUserName(u"张三");
  Open();
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(std::vector<std::string>{c.box}, Boxes());
  EXPECT_EQ(c.login, Called("ShowLoginDlg"));
  EXPECT_EQ(c.login, app.GetUserName().IsEmpty());
  EXPECT_TRUE(Gone()) << "a failed first load leaves nothing on screen";
}

const BadPageCase kBadPages[] = {
    {"ClientError", CentrePage("a:b", "账户已冻结"), "box 16 账户已冻结", false},
    {"Relogin", CentrePage("a:b", "会话超时，请重新登录"), "box 16 会话超时，请重新登录", true},
    {"NoMenu", Page("生活缴费", "<p>维护中</p>"), "box 16 当前服务不可用，请稍候重试", false},
    {"NoTitle", Reply::http(500, ""), "box 16 连接服务器失败，请稍后再试", false},
};

INSTANTIATE_TEST_SUITE_P(Pages, HtmlBadPageTest, ::testing::ValuesIn(kBadPages),
                         [](const auto& info) { return std::string(info.param.name); });

// A form goes on with the bytes the page encoded: "& = + %" and Chinese intact.
void ExpectFormIntact(const RecordedRequest& request, const std::string& clientId)
{
  EXPECT_EQ(clientId, FormField(request, "clientID"));
  EXPECT_EQ("a&b=c+d%e 水费=", FormField(request, "memo"));
  EXPECT_EQ("88=", FormField(request, "acct"));
}

TEST_F(HtmlDlgTest, AFormInHtmlModeLoadsTheNextPageWithItsBytesUnchanged)
{
  gateway.servePage("/puc/webMC.htm", CentrePage("提交:send:html"));
  gateway.servePage("/puc/bill.do", CentrePage("返回:gotodesktop"));
  auto sent = SubmitForm();
  ASSERT_TRUE(sent);
  EXPECT_EQ("POST", sent->method);
  ExpectFormIntact(*sent, ClientId());
  EXPECT_TRUE(dialog->IsHtmlMode());
}

struct JsonFormCase {
  const char* name;
  std::string menu;
  std::string beforeSubmit;
  bool closesAfterPay;
};

class HtmlJsonFormTest : public HtmlDlgTest, public ::testing::WithParamInterface<JsonFormCase> {};

TEST_P(HtmlJsonFormTest, ABillOpensTheTradePayAndThePaymentEndsAsTheEntrySaid)
{
  const JsonFormCase& c = GetParam();
  gateway.servePage("/puc/webMC.htm", CentrePage(c.menu, {}, c.beforeSubmit));
  gateway.servePage("/puc/bill.do", Bill());
  app.SetUserName(u"张三");
  auto sent = SubmitForm();
  ASSERT_TRUE(sent);
  ExpectFormIntact(*sent, ClientId());
  ASSERT_TRUE(RunUntil([&] {
    CTradePayDlg* pay = dialog->GetTradePayDialog();
    return pay && pay->m_hWnd && IsWindowVisible(pay->m_hWnd);
  }));
  EXPECT_FALSE(dialog->IsHtmlMode());
  ui.Invoke([&] { dialog->PostMessage(WM_KV_TRADEPAY_RESULT, 1, 100); });
  ASSERT_TRUE(RunUntil([&] { return dialog->GetTradePayDialog() == nullptr; }));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(c.closesAfterPay, Gone());
  EXPECT_EQ(c.closesAfterPay ? 1u : 0u, Received("opener", WM_KV_HTML_PAID).size());
}

const JsonFormCase kJsonForms[] = {
    {"Json1StaysOpen", "缴费:send:json1", "", false},
    {"JsonClosesAfterPay", "缴费:send", "", true},
    {"BeforeSubmitInCapitals", "缴费:send:html", "JSON", true},
    {"BeforeSubmitJson1", "缴费:send:html", "Json1", false},
};

INSTANTIATE_TEST_SUITE_P(Forms, HtmlJsonFormTest, ::testing::ValuesIn(kJsonForms),
                         [](const auto& info) { return std::string(info.param.name); });

// A form whose last field is empty goes to the gateway without a dangling "=".
TEST_F(HtmlDlgTest, AJsonFormEndingInAnEmptyFieldLeavesNoDanglingSeparator)
{
  gateway.servePage("/puc/webMC.htm",
                    CentrePage("缴费:send:json1", {}, {},
                               "<input type=\"hidden\" name=\"memo\" value=\"水费\">"
                               "<input type=\"text\" name=\"acct\" value=\"\">"));
  gateway.servePage("/puc/bill.do", Reply::json({{"resultStatus", 500}, {"memo", "账单不存在"}}));
  auto sent = SubmitForm();
  ASSERT_TRUE(sent);
  EXPECT_EQ("水费", FormField(*sent, "memo"));
  ASSERT_GE(sent->body.size(), 5u);
  EXPECT_EQ("&acct", sent->body.substr(sent->body.size() - 5)) << sent->body;
  EXPECT_EQ(0u, sent->body.rfind("clientID=", 0)) << sent->body;
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  EXPECT_EQ(std::vector<std::string>{"box 16 账单不存在"}, Boxes());
}

TEST_F(HtmlDlgTest, AJsonFailureHidesTheWaitAndShowsTheMemoOrTheNetworkText)
{
  gateway.servePage("/puc/webMC.htm", CentrePage("缴费:send:json1"));
  gateway.servePage("/puc/bill.do", Reply::json({{"resultStatus", 500}, {"memo", "账单不存在"}}));
  StartGateway();
  Open();
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  Press(133);
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(std::vector<std::string>{"box 16 账单不存在"}, Boxes());
  EXPECT_FALSE(IsWindowVisible(app.GetMessageBoxWindow()));

  app.ClearCalls();
  gateway.servePage("/puc/bill.do", Reply::close());
  Press(133);
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(0u, Boxes()[0].rfind("box 16 ", 0));
  EXPECT_FALSE(IsWindowVisible(app.GetMessageBoxWindow()));
}

TEST_F(HtmlDlgTest, AnAnchorIsCancelledAndNothingElseHappens)
{
  gateway.servePage("/puc/webMC.htm", CentrePage("顶部:top:json1"));
  StartGateway();
  Open();
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  size_t before = gateway.requests().size();
  Press(133);
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(before, gateway.requests().size());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(Shown());
}

class HtmlDlgLook : public HtmlDlgTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(HtmlDlgLook, Screenshot)
{
  auto [width, height] = GetParam();
  UseLibrary(width, height);
  gateway.servePage("/puc/webMC.htm", CentrePage("缴费:send:json1,查询:query;回桌面:gotodesktop"));
  StartGateway();
  Open();
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  std::string name = "html_page_" + kvtest::SizeName(width, height);
  kvtest::ExpectSoundLayout(ui, *dialog, name);

  // Typing in the page's field: the page ends above the input panel and the field shows in it.
  std::vector<std::string> faults;
  RECT field{}, host{};
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  ui.Invoke([&] {
    HWND edit = PageEdit();
    ASSERT_NE(nullptr, edit);
    FocusInPage(edit);
  });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  ui.Invoke([&] {
    faults = kvtest::LayoutFaults(*dialog);
    GetWindowRect(PageEdit(), &field);
    GetWindowRect(dialog->GetBrowserHost(), &host);
    SipGetInfo(&sip);
  });
  EXPECT_TRUE(faults.empty()) << ::testing::PrintToString(faults);
  ASSERT_TRUE(sip.fdwFlags & SIPF_ON);
  EXPECT_EQ(sip.rcSipRect.top, host.bottom);
  EXPECT_GE(field.top, host.top);
  EXPECT_LE(field.bottom, host.bottom) << "the field shows above the panel";
  EXPECT_FALSE(kvtest::SaveScreenshot(name + "_typing").empty());
  ui.Invoke([&] { FocusInPage(dialog->GetPageWindow()); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
}

INSTANTIATE_TEST_SUITE_P(Screens, HtmlDlgLook, ::testing::ValuesIn(kvtest::kLookSizes),
                         [](const auto& info) { return kvtest::SizeName(info.param.first, info.param.second); });

}  // namespace

namespace {

// The focus rule of the page: an edit taking the focus raises the input panel and the page
// shrinks above it; anything else lowers the panel.
TEST_F(HtmlDlgTest, AnEditOfThePageRaisesTheInputPanelAndThePageFitsAboveIt)
{
  gateway.servePage("/puc/webMC.htm", CentrePage("缴费:send:json1"));
  StartGateway();
  Open();
  ASSERT_TRUE(RunUntil([&] { return Shown(); }));
  ui.Invoke([&] {
    HWND edit = PageEdit();
    ASSERT_NE(nullptr, edit);
    FocusInPage(edit);
  });
  EXPECT_TRUE(kvtest::RunUntilIdle());
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  ASSERT_TRUE(SipGetInfo(&sip));
  EXPECT_TRUE(sip.fdwFlags & SIPF_ON);
  RECT host{};
  GetWindowRect(dialog->GetBrowserHost(), &host);
  EXPECT_EQ(sip.rcSipRect.top, host.bottom);
  EXPECT_FALSE(kvtest::SaveScreenshot("html_page_typing_240x320").empty());

  ui.Invoke([&] { FocusInPage(dialog->GetPageWindow()); });
  EXPECT_TRUE(kvtest::RunUntilIdle());
  ASSERT_TRUE(SipGetInfo(&sip));
  EXPECT_FALSE(sip.fdwFlags & SIPF_ON);
  GetWindowRect(dialog->GetBrowserHost(), &host);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN) - 26, host.bottom) << "the full height again";
}

}  // namespace
