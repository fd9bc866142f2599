// The embedded browser dialog against pages of the test gateway: the page posted with the client
// identity (only to the gateway), trade links turned into the trade query and the trade pay
// dialog with the return address decoded in the page's character set, the answers of the trade
// query, the session-timeout page, the soft keys. Screenshots for people to look at.
#include <fstream>

#include "embed_browser_dlg.h"
#include "gateway_address.h"
#include "layout_checks.h"
#include "testing/screenshot.h"
#include "text/codepage.h"
#include "web_fixture.h"

using namespace webtest;

namespace {

constexpr UINT kRightKeyMessage = 0x700;

// Every byte outside A-Z a-z 0-9 - . _ ~ as %XX.
std::string Escape(const std::string& bytes)
{
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
      out.push_back(static_cast<char>(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

std::string Gbk(const std::u16string& text)
{
  char bytes[256] = {};
  int size = WideCharToMultiByte(936, 0, text.c_str(), static_cast<int>(text.size()), bytes, sizeof bytes, nullptr,
                                 nullptr);
  return std::string(bytes, static_cast<size_t>(size));
}

// A page that follows the link once it has loaded.
Reply Following(const std::string& link, bool gbk = false)
{
  Reply page = Page("活动", "<p>正在跳转</p>", "<script>window.onload = function () { location.href = '" + link +
                                                  "'; };</script>");
  return gbk ? std::move(page).inGbk() : page;
}

Reply TradeDetail(const std::string& tradeNo)
{
  return Reply::success({{"tradeNO", tradeNo},
                         {"sellerName", "星光游戏"},
                         {"goodsName", "点卡"},
                         {"tradeType", "担保交易"},
                         {"payMoney", "10.00"},
                         {"supportedByCoupon", "N"},
                         {"couponAmount", "0"},
                         {"balance", "100.00"},
                         {"rsaPK", "pk"},
                         {"rsaTS", "ts"}});
}

class EmbedBrowserTest : public WebDialogTest {
 protected:
  void DestroyScreens() override { dialog.reset(); }

  // Loads the page into a new dialog over the opener.
  void Load(const std::u16string& url, const std::u16string& extra = {})
  {
    opener = Opener();
    ui.Invoke([&] {
      dialog = std::make_unique<CEmbedBrCtlDlg>();
      dialog->SetCaption(u"娱乐消费");
      dialog->SetRightKeyMessage(kRightKeyMessage);
      dialog->LoadPage(CStringW(url.c_str()), CStringW(extra.c_str()), opener);
    });
  }
  bool Shown() { return dialog && dialog->m_hWnd && IsWindowVisible(dialog->m_hWnd); }
  // Whether the control shows a page (once the fetch is done; the dialog shows from the start).
  bool Loaded() { return dialog && !ShownAddress(dialog->GetBrowserHost()).empty(); }
  bool TradePayOpen()
  {
    CTradePayDlg* pay = dialog->GetTradePayDialog();
    return pay && pay->m_hWnd && IsWindowVisible(pay->m_hWnd);
  }

  std::unique_ptr<CEmbedBrCtlDlg> dialog;
  HWND opener = nullptr;
};

TEST_F(EmbedBrowserTest, PostsTheClientIdentityToTheGatewaysPageAndShowsIt)
{
  gateway.servePage("/amusement.htm", Page("娱乐消费", "<p>欢迎光临</p>"));
  StartGateway();
  InternetSetCookieW(CStringW(GatewayPage("/").c_str()), nullptr, u"JSESSIONID=s3ss10n; path=/");
  Load(GatewayPage("/amusement.htm"), u"from=desktop");
  ASSERT_TRUE(RunUntil([&] { return Loaded(); }));
  // The control shows the address before the document is complete, which ends the wait box.
  ASSERT_TRUE(RunUntil([&] { return !IsWindowVisible(app.GetMessageBoxWindow()); }))
      << "the wait box goes with the complete page";
  auto page = gateway.waitForPath("/amusement.htm");
  ASSERT_TRUE(page);
  EXPECT_EQ("POST", page->method);
  EXPECT_EQ("application/x-www-form-urlencoded", page->header("Content-Type"));
  EXPECT_EQ(ClientId(), FormField(*page, "clientID"));
  EXPECT_EQ("desktop", FormField(*page, "from"));
  EXPECT_EQ("s3ss10n", page->cookies["JSESSIONID"]);
  EXPECT_TRUE(Shown());
  EXPECT_EQ(u"娱乐消费", std::u16string(dialog->GetTitle().GetString()));
  EXPECT_FALSE(IsWindowVisible(app.GetMessageBoxWindow())) << "the wait box goes with the complete page";
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(EmbedBrowserTest, OtherHostsGetNoClientIdentity)
{
  gateway.servePage("/elsewhere.htm", Page("别处", "<p>别处</p>"));
  StartGateway();
  Load(Wide(gateway.httpUrl() + "/elsewhere.htm"));
  auto page = gateway.waitForPath("/elsewhere.htm");
  ASSERT_TRUE(page);
  EXPECT_EQ("GET", page->method) << "no body to post";
  EXPECT_EQ(std::string::npos, page->target.find("clientID"));
  EXPECT_TRUE(page->body.empty());
}

TEST_F(EmbedBrowserTest, APlainHttpPageOfTheGatewaysHostGetsNoClientIdentity)
{
  gateway.servePage("/amusement.htm", Page("娱乐消费", "<p>欢迎光临</p>"));
  StartGateway();
  // The gateway named by the plain listener's host, so an http address of that very host is
  // served: only the scheme tells it from the gateway's pages.
  std::string host = "127.0.0.1:" + std::to_string(gateway.httpPort());
  std::ofstream(root.path() + "/device.ini", std::ios::binary | std::ios::app)
      << "[network]\ngateway = https://" << host << "\n";
  ASSERT_EQ(Wide(host), std::u16string(GetGatewayHost().GetString())) << "the settings were read before";
  Load(Wide("http://" + host + "/amusement.htm"));
  auto page = gateway.waitForPath("/amusement.htm");
  ASSERT_TRUE(page);
  EXPECT_FALSE(page->tls);
  EXPECT_EQ("GET", page->method) << "no body to post";
  EXPECT_EQ(std::string::npos, page->target.find("clientID"));
  EXPECT_TRUE(page->body.empty());
}

struct TradeLinkCase {
  const char* name;
  std::string tradeNo;   // as the gateway must receive it
  std::string linkTradeNo;  // as the page's script writes it in the link
  bool gbkPage;
  bool withReturn;       // the link names a return address
};

// The return address "<gateway>/paid.htm?title=已付款&no=7" escaped twice in the character set.
std::string EscapedTwice(const std::string& base, bool gbk)
{
  std::string title = gbk ? Gbk(u"已付款") : std::string("已付款");
  return Escape(Escape(base + "/paid.htm?title=" + title + "&no=7"));
}

class EmbedTradeLinkTest : public EmbedBrowserTest, public ::testing::WithParamInterface<TradeLinkCase> {};

TEST_P(EmbedTradeLinkTest, QueriesTheTradeOpensTheTradePayAndThenLoadsTheReturnAddress)
{
  const TradeLinkCase& c = GetParam();
  gateway.servePage("/amusement.htm", Following("/trade_pay.do?korvex_trade_no=" + c.linkTradeNo, c.gbkPage));
  gateway.servePage("/paid.htm", Page("完成", "<p>已付款</p>"));
  gateway.script("queryTradeDetail", TradeDetail(c.tradeNo));
  StartGateway();
  if (c.withReturn) {
    std::string base = gateway.httpsUrl();
    gateway.servePage("/amusement.htm",
                      Following("/trade_pay.do?korvex_trade_no=" + c.linkTradeNo + "&return_url=" +
                                    EscapedTwice(base, c.gbkPage),
                                c.gbkPage));
  }
  Load(GatewayPage("/amusement.htm"));
  auto query = gateway.waitForRequest("queryTradeDetail");
  ASSERT_TRUE(query);
  EXPECT_EQ(c.tradeNo, query->field("tradeNO")) << "arrives intact";
  EXPECT_EQ(ClientId(), query->field("clientID"));
  ASSERT_TRUE(RunUntil([&] { return TradePayOpen(); }));
  for (const RecordedRequest& request : gateway.requests())
    EXPECT_EQ(std::string::npos, request.path.find("trade_pay.do")) << "the link is not followed";

  ui.Invoke([&] { dialog->PostMessage(WM_KV_TRADEPAY_RESULT, 1, 100); });
  ASSERT_TRUE(RunUntil([&] { return dialog->GetTradePayDialog() == nullptr; }));
  if (!c.withReturn) {
    EXPECT_TRUE(kvtest::RunUntilIdle());
    EXPECT_FALSE(gateway.waitForPath("/paid.htm", 1, std::chrono::milliseconds(200))) << "nowhere to go";
    return;
  }
  auto back = gateway.waitForPath("/paid.htm");
  ASSERT_TRUE(back);
  EXPECT_EQ("GET", back->method);
  ASSERT_EQ(2u, back->queryForm.size());
  EXPECT_EQ("title", back->queryForm[0].first);
  EXPECT_EQ("已付款", back->queryForm[0].second) << "decoded in the page's character set";
  EXPECT_EQ("7", back->queryForm[1].second);
}

const TradeLinkCase kTradeLinks[] = {
    {"NumberLast", "2010070412345", "2010070412345", false, false},
    {"ReturnUrlUtf8", "2010070400001", "2010070400001", false, true},
    {"ReturnUrlGbk", "2010070400002", "2010070400002", true, true},
    {"QuotesAndBackslashes", "T\"1\\2", "T\"1\\\\2", false, false},
};

INSTANTIATE_TEST_SUITE_P(Links, EmbedTradeLinkTest, ::testing::ValuesIn(kTradeLinks),
                         [](const auto& info) { return std::string(info.param.name); });

// What the trade query's answer leads to: the box shown, whether the trade pay dialog opens and
// whether the page stays in sight.
struct TradeAnswerCase {
  const char* name;
  Reply reply;
  std::string box;  // "" none
  bool tradePay;
  bool pageShown;
};

class EmbedTradeAnswerTest : public EmbedBrowserTest, public ::testing::WithParamInterface<TradeAnswerCase> {};

TEST_P(EmbedTradeAnswerTest, ShowsTheOutcome)
{
  const TradeAnswerCase& c = GetParam();
  gateway.servePage("/amusement.htm", Following("/trade_pay.do?korvex_trade_no=77"));
  gateway.script("queryTradeDetail", c.reply);
  StartGateway();
  app.SetUserName(u"张三");
  Load(GatewayPage("/amusement.htm"));
  ASSERT_TRUE(gateway.waitForRequest("queryTradeDetail"));
  ASSERT_TRUE(RunUntil([&] { return c.tradePay ? TradePayOpen() : !Boxes().empty(); }));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  std::vector<std::string> boxes = Boxes();
  if (c.box.empty())
    EXPECT_TRUE(boxes.empty()) << boxes.front();
  else
    EXPECT_EQ(std::vector<std::string>{c.box}, boxes);
  EXPECT_EQ(c.tradePay, TradePayOpen());
  EXPECT_EQ(c.pageShown, Shown());
  EXPECT_FALSE(IsWindowVisible(app.GetMessageBoxWindow())) << "no wait box left up";
}

const TradeAnswerCase kTradeAnswers[] = {
    {"Found", TradeDetail("77"), "", true, true},
    {"Refused", Reply::result(500, "交易不存在"), "box 16 交易不存在", false, true},
    {"RefusedWithoutMemo", Reply::result(500), "box 16 连接服务器出错", false, true},
    {"NotParsable", Reply::http(200, "<html>busy</html>"), "box 16 连接服务器出错", false, true},
    {"SessionEnded", Reply::result(200, "会话已结束"), "box 64 会话已结束", false, false},
    {"NoAnswer", Reply::close(), "box 23 连接服务器出错", false, true},
};

INSTANTIATE_TEST_SUITE_P(Answers, EmbedTradeAnswerTest, ::testing::ValuesIn(kTradeAnswers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EmbedBrowserTest, SessionTimeoutPageSendsTheUserBackToLogin)
{
  gateway.servePage("/amusement.htm", Following("/korvex_session_invalid.htm"));
  gateway.servePage("/korvex_session_invalid.htm", Page("超时", "<p>超时</p>"));
  StartGateway();
  app.SetUserName(u"张三");
  app.SetGreeting(u"你好");
  Load(GatewayPage("/amusement.htm"));
  ASSERT_TRUE(RunUntil([&] { return Called("ShowLoginDlg"); }));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(std::vector<std::string>{"box 64 登录超时，请重新登录。"}, Boxes());
  EXPECT_TRUE(app.GetUserName().IsEmpty());
  EXPECT_TRUE(app.GetGreeting().IsEmpty());
  EXPECT_EQ(1u, Received("opener", kRightKeyMessage).size()) << "the right key's message to the opener";
  EXPECT_FALSE(Shown());
}

TEST_F(EmbedBrowserTest, LeftKeyHidesThePageAndBackKeysDisableTheRightKey)
{
  gateway.servePage("/amusement.htm", Page("娱乐消费", "<p>欢迎光临</p>"));
  StartGateway();
  Load(GatewayPage("/amusement.htm"));
  ASSERT_TRUE(RunUntil([&] { return Loaded(); }));
  ui.Invoke([&] { dialog->SetBackKeys(); });
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog->m_hWnd, 1021)));
  ui.Invoke([&] { dialog->SendMessage(WM_COMMAND, MAKEWPARAM(1172, 0), 0); });
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(Shown());
  EXPECT_TRUE(IsWindow(dialog->m_hWnd)) << "hidden, kept for the next load";
  EXPECT_TRUE(log.Messages().empty() || Received("opener", 0).empty()) << "no left-key message was set";
}

class EmbedBrowserLook : public EmbedBrowserTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(EmbedBrowserLook, Screenshot)
{
  auto [width, height] = GetParam();
  UseLibrary(width, height);
  gateway.serveFile("/amusement.htm", std::filesystem::path(KV_DEMO_PAGES) / "amusement.html",
                    "text/html; charset=utf-8");
  StartGateway();
  Load(GatewayPage("/amusement.htm"));
  ASSERT_TRUE(RunUntil([&] { return Loaded(); }));
  ui.Invoke([&] { dialog->SetBackKeys(); });
  EXPECT_TRUE(kvtest::RunUntilIdle());
  kvtest::ExpectSoundLayout(ui, *dialog, "embed_browser_" + kvtest::SizeName(width, height));
}

INSTANTIATE_TEST_SUITE_P(Screens, EmbedBrowserLook, ::testing::ValuesIn(kvtest::kLookSizes),
                         [](const auto& info) { return kvtest::SizeName(info.param.first, info.param.second); });

}  // namespace
