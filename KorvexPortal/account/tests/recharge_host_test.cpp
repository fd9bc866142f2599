// The recharge dialog against the test gateway: the pages the action and back keys move through
// with the action key's text, the face values in reply order, the draft password as the gateway
// decrypts it, the Milocard page without a card and with an unbound phone, the net-bank page's
// automatic submit under virtual time, a page's scrolling and keys in landscape, the choices made
// in the skinned lists, and screenshots.
#include "combo_input.h"
#include "layout_checks.h"
#include "recharge_figures.h"
#include "recharge_fixture.h"

using namespace rechargetest;

namespace {

class RechargeHostFlowTest : public RechargeHostTest {
 protected:
  void EbankAutoSubmit(bool browser);
};

TEST_F(RechargeHostFlowTest, CardPagesForwardAndBack)
{
  gateway.script("getSupportedChargeCard",
                 Reply::success({{"supportedAmount", {{{"amount", "100"}}, {{"amount", "10"}}, {{"amount", "50"}}}}, {"rate", "0.047"}, {"balance", "12.00"}}));
  StartGateway();
  Open();
  EXPECT_TRUE(Shown(host->GetMenuPage()));
  EXPECT_EQ(u"确定", std::u16string(host->GetActionText().GetString()));
  Select(1);
  CMobileCardChargeDlg* input = host->GetCardInputPage();
  ASSERT_TRUE(Shown(input));
  EXPECT_EQ(u"提交", std::u16string(host->GetActionText().GetString()));
  HWND combo = GetDlgItem(input->m_hWnd, IDC_CARD_AMOUNTS);
  ASSERT_EQ(3, SendMessageW(combo, CB_GETCOUNT, 0, 0));
  EXPECT_EQ(u"100", std::u16string(input->GetFaceValue().GetString())) << "reply order, first selected";
  EXPECT_EQ(u"费率：5%，每日累计可充值500.00元整，已充值的金额无法退还到卡中。", Text(GetDlgItem(input->m_hWnd, IDC_CARD_RATE)));
  EXPECT_EQ(u"12.00元", Text(GetDlgItem(input->m_hWnd, IDC_RECHARGE_HEADER)));

  // A number that does not pass keeps the page.
  Type(input->m_hWnd, IDC_CARD_NUMBER, u"123");
  Key(IDC_RECHARGE_ACTION);
  EXPECT_TRUE(Shown(input));
  EXPECT_FALSE(Boxes().empty());

  // Full-width digits and blanks: the confirmation shows what was checked.
  Type(input->m_hWnd, IDC_CARD_NUMBER, u" １２３４５６７８９０１２３４５６７ ");
  Type(input->m_hWnd, IDC_CARD_PASSWORD, u"123456789012345678");
  app.ClearCalls();
  Key(IDC_RECHARGE_ACTION);
  ASSERT_TRUE(Shown(host->GetCardConfirmPage())) << (Boxes().empty() ? "" : Boxes()[0]);
  HWND confirm = host->GetCardConfirmPage()->m_hWnd;
  EXPECT_EQ(u"充值", std::u16string(host->GetActionText().GetString()));
  EXPECT_EQ(u"100元", Text(GetDlgItem(confirm, IDC_CARDCONFIRM_AMOUNT)));
  EXPECT_EQ(u"95.300000", Text(GetDlgItem(confirm, IDC_CARDCONFIRM_CREDITED)));
  EXPECT_EQ(u"4.700000", Text(GetDlgItem(confirm, IDC_CARDCONFIRM_FEE)));
  EXPECT_EQ(u"12345678901234567", Text(GetDlgItem(confirm, IDC_CARDCONFIRM_NUMBER)));

  // Back: the input page with its fields; back again: the menu; back again: out.
  Key(IDC_RECHARGE_BACK);
  EXPECT_TRUE(Shown(input));
  EXPECT_FALSE(Shown(host->GetCardConfirmPage()));
  EXPECT_EQ(u"提交", std::u16string(host->GetActionText().GetString()));
  Key(IDC_RECHARGE_BACK);
  EXPECT_TRUE(Shown(host->GetMenuPage()));
  EXPECT_EQ(u"确定", std::u16string(host->GetActionText().GetString()));
  Key(IDC_RECHARGE_BACK);
  EXPECT_FALSE(IsWindow(host->m_hWnd));
  EXPECT_EQ(0u, CountOf(gateway, "easyownDeposit"));
}

TEST_F(RechargeHostFlowTest, DraftPasswordDecryptsAtTheGateway)
{
  gateway.script("draftDeposit", Reply::success({{"memo", ""}}));
  StartGateway();
  Open();
  Select(3);
  CNetChargeDlg* draft = host->GetDraftPage();
  ASSERT_TRUE(Shown(draft));
  EXPECT_EQ(u"充值", std::u16string(host->GetActionText().GetString()));
  Type(draft->m_hWnd, IDC_DRAFT_NUMBER, u"  123456789012345678  ");
  HWND password = GetDlgItem(draft->m_hWnd, IDC_DRAFT_PASSWORD);
  ui.Invoke([&] { SetFocus(password); });
  ASSERT_TRUE(kvtest::TypeText(u"654321"));
  Key(IDC_RECHARGE_ACTION);
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  auto sent = gateway.waitForRequest("draftDeposit");
  ASSERT_TRUE(sent);
  EXPECT_EQ("123456789012345678", sent->field("draftNO"));
  auto plain = gateway.key().decryptPassword(sent->field("draftPassword"));
  ASSERT_TRUE(plain);
  EXPECT_EQ("654321", plain->password);
  EXPECT_EQ("box 128 充值成功！", Boxes().back());
}

TEST_F(RechargeHostFlowTest, MilocardWithoutCardOffersTheSignUp)
{
  gateway.script("premcDeposit", Reply::success({{"currentBalance", "8.00"}, {"mcDepositList", nlohmann::ordered_json::array()}}));
  StartGateway();
  HWND desktop = Opener();
  app.desktop = desktop;
  Open();
  Select(0);
  CMilocardChargeDlg* page = host->GetMilocardPage();
  ASSERT_TRUE(Shown(page));
  HWND notice = GetDlgItem(page->m_hWnd, IDC_MILOCARD_NO_CARD);
  EXPECT_TRUE(IsWindowVisible(notice));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page->m_hWnd, IDC_MILOCARD_CARDS)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page->m_hWnd, IDC_MILOCARD_CARD_LABEL)));
  EXPECT_EQ(u"Milocard业务", std::u16string(host->GetActionText().GetString()));
  // The notice is a block of lines set 5 pixels apart, on the page's grey.
  RECT client{};
  GetClientRect(notice, &client);
  HDC dc = GetDC(notice);
  int lines = 0;
  int blankRows = 0;
  for (int y = 0; y < client.bottom; ++y) {
    bool ink = false;
    for (int x = 0; x < client.right && !ink; ++x)
      ink = GetRValue(GetPixel(dc, x, y)) < 0x80;
    if (ink && (lines == 0 || blankRows >= 5))
      ++lines;
    blankRows = ink ? 0 : blankRows + 1;
  }
  COLORREF corner = GetPixel(dc, client.right - 1, client.bottom - 1);
  ReleaseDC(notice, dc);
  EXPECT_EQ(2, lines) << "two lines, 5 pixels or more apart";
  EXPECT_EQ(0xF5F5F5u, corner);
  EXPECT_FALSE(kvtest::SaveScreenshot("recharge_milocard_no_card_240x320").empty());
  Key(IDC_RECHARGE_ACTION);
  EXPECT_FALSE(IsWindow(host->m_hWnd));
  auto posted = Received("opener", WM_COMMAND);
  ASSERT_EQ(1u, posted.size());
  EXPECT_EQ(static_cast<WPARAM>(ID_KV_DESKTOP_ITEM0 + 6), posted[0].wParam);
  EXPECT_EQ(0u, CountOf(gateway, "mcDeposit"));
}

TEST_F(RechargeHostFlowTest, MilocardOnAnUnboundPhoneGoesToBinding)
{
  gateway.script("premcDeposit", Reply::result(112, "请先绑定手机"));
  StartGateway();
  app.desktop = Opener();
  Open();
  Select(0);
  ASSERT_TRUE(RunUntil([&] { return !IsWindow(host->m_hWnd); }));
  EXPECT_EQ("box 64 您需要先绑定手机才能使用本服务。", Boxes().front());
}

TEST_F(RechargeHostFlowTest, EbankBackBeforeTheTenSecondsSendsNothing)
{
  ScriptBanks();
  StartGateway();
  UpToEbankConfirm();
  Key(IDC_RECHARGE_BACK);
  EXPECT_TRUE(Shown(host->GetEbankInputPage()));
  device::testing::AdvanceClock(20000);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_EQ(0u, CountOf(gateway, "ebankDeposit"));
  EXPECT_TRUE(IsWindow(host->m_hWnd));
}

// After 10 s the confirmation page gives its notice and sends the request as the action key
// would; the answer's bank address goes to the browser, or, when none starts, the user is told
// and the page stays for another try.
void RechargeHostFlowTest::EbankAutoSubmit(bool browser)
{
  const std::string url = "https://bank.example/pay?order=7&sum=20";
  ScriptBanks();
  gateway.script("ebankDeposit", Reply::success({{"bankUrl", url}}));
  StartGateway();
  if (browser)
    InstallBrowser();
  UpToEbankConfirm();
  device::testing::AdvanceClock(2000);
  clock = std::make_unique<paytest::ClockDriver>();
  ASSERT_TRUE(RunUntil([&] { return !IsWindow(host->m_hWnd) || Boxes().size() == 2; }));
  auto sent = gateway.waitForRequest("ebankDeposit");
  ASSERT_TRUE(sent);
  EXPECT_EQ("CMB", sent->field("bankId"));
  EXPECT_EQ("20", sent->field("depositAmount"));
  EXPECT_EQ("cmcc", sent->field("operatorType")) << "the carrier goes with every bank";
  ASSERT_FALSE(Boxes().empty());
  EXPECT_EQ("box 64 您将转入网上银行进行充值，成功后请到 账户查询 中查看账户余额。", Boxes().front());
  EXPECT_EQ(1u, CountOf(gateway, "ebankDeposit"));
  if (browser) {
    EXPECT_FALSE(IsWindow(host->m_hWnd));
    ASSERT_TRUE(RunUntil([&] { return !BrowserArguments().empty(); }));
    EXPECT_EQ(url, BrowserArguments());
  } else {
    EXPECT_TRUE(IsWindow(host->m_hWnd));
    EXPECT_EQ("box 16 无法打开网上银行页面，请稍后再试。", Boxes().back());
  }
}

TEST_F(RechargeHostFlowTest, EbankSubmitsAfterTenSecondsAndOpensTheBank)
{
  EbankAutoSubmit(true);
}

TEST_F(RechargeHostFlowTest, EbankWithoutABrowserKeepsThePage)
{
  EbankAutoSubmit(false);
}

// On the short landscape screen the card page's fields reach below the page: its scroll bar shows
// and scrolling to the end brings the rate line into view. Tab moves between the page's own fields.
TEST_F(RechargeHostFlowTest, LandscapeCardPageScrollsAndTabsWithinItself)
{
  gateway.script("getSupportedChargeCard",
                 Reply::success({{"supportedAmount", {{{"amount", "50"}}}}, {"rate", "0.05"}, {"balance", "3.00"}}));
  StartGateway();
  UseLibrary(320, 240);
  Open();
  Select(1);
  HWND page = host->GetCardInputPage()->m_hWnd;
  HWND bar = GetDlgItem(page, CScrollForm::kBarId);
  ASSERT_NE(nullptr, bar);
  EXPECT_TRUE(IsWindowVisible(bar));
  RECT client{};
  GetClientRect(page, &client);
  auto bottomOfRate = [&] {
    RECT rate{};
    GetWindowRect(GetDlgItem(page, IDC_CARD_RATE), &rate);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rate), 2);
    return rate.bottom;
  };
  EXPECT_GT(bottomOfRate(), client.bottom);
  ui.Invoke([&] { SendMessageW(page, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 10000), reinterpret_cast<LPARAM>(bar)); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_LE(bottomOfRate(), client.bottom);

  // The dialog's filter hands the page the keys of its fields: Tab moves to the page's next one.
  HWND number = GetDlgItem(page, IDC_CARD_NUMBER);
  HWND focus = nullptr;
  ui.Invoke([&] {
    SetFocus(number);
    MSG tab{number, WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(host->PreTranslateMessage(&tab));
    focus = GetFocus();
  });
  EXPECT_EQ(GetDlgItem(page, IDC_CARD_PASSWORD), focus);
}

// Every combo of the pages is a skinned box: what is tapped in its list (or chosen there with the
// arrows and the return key) reaches the page's logic. The lists dropped at each size are saved
// for a reviewer (build/test/screenshots/).
TEST_F(RechargeHostFlowTest, EachChoiceInASkinnedListReachesItsPage)
{
  ScriptCards();
  gateway.script("mcDeposit", Reply::success());
  gateway.script("getSupportedChargeCard",
                 Reply::success({{"supportedAmount", {{{"amount", "50"}}, {{"amount", "10"}}}}, {"rate", "0.05"}, {"balance", "88.00"}}));
  ScriptBanks();
  StartGateway();
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    std::string size = UseSize(width, height);
    SCOPED_TRACE(size);
    Open();
    // Opens the page's combo with a tap, saves the picture and taps the item.
    auto choose = [&](HWND page, int id, int item, const std::string& shot) {
      HWND combo = GetDlgItem(page, id);
      EXPECT_TRUE(kvtest::ShowsComboSkin(combo)) << shot;
      HWND list = kvtest::TapComboOpen(combo);
      ASSERT_NE(nullptr, list) << shot;
      EXPECT_FALSE(kvtest::SaveScreenshot("recharge_" + shot + "_dropped_" + size).empty());
      ASSERT_TRUE(kvtest::TapListItem(list, item)) << shot;
      EXPECT_FALSE(IsWindowVisible(list)) << shot;
    };

    // The Milocard card charged from.
    Select(0);
    HWND milocard = host->GetMilocardPage()->m_hWnd;
    choose(milocard, IDC_MILOCARD_CARDS, 1, "milocard_cards");
    Type(milocard, IDC_MILOCARD_AMOUNT, u"30");
    TypeInto(GetDlgItem(milocard, IDC_MILOCARD_PASSWORD), u"pay123456");
    size_t charged = CountOf(gateway, "mcDeposit");
    Key(IDC_RECHARGE_ACTION);
    ASSERT_TRUE(RunUntil([&] { return CountOf(gateway, "mcDeposit") > charged; }));
    EXPECT_EQ("B2", gateway.requestsOf("mcDeposit").back().field("mcBankId"));
    EXPECT_EQ("5678", gateway.requestsOf("mcDeposit").back().field("mcShortCode"));
    Key(IDC_RECHARGE_BACK);

    // The face value: its card hint follows.
    Select(1);
    HWND card = host->GetCardInputPage()->m_hWnd;
    EXPECT_EQ(u"支持17位全国神州行卡和15位联通一卡充", Text(GetDlgItem(card, IDC_CARD_HINT)));
    choose(card, IDC_CARD_AMOUNTS, 1, "card_amounts");
    EXPECT_EQ(u"只支持17位全国神州行卡", Text(GetDlgItem(card, IDC_CARD_HINT)));
    EXPECT_EQ(u"10", std::u16string(host->GetCardInputPage()->GetFaceValue().GetString()));
    Key(IDC_RECHARGE_BACK);

    // The bank: its limits and the carrier follow, whether tapped or chosen with the keys.
    Select(2);
    CEbankChargeDlg* ebank = host->GetEbankInputPage();
    HWND carriers = GetDlgItem(ebank->m_hWnd, IDC_EBANK_CARRIERS);
    EXPECT_FALSE(IsWindowVisible(carriers));
    choose(ebank->m_hWnd, IDC_EBANK_BANKS, 1, "ebank_banks");
    EXPECT_TRUE(IsWindowVisible(carriers));
    EXPECT_EQ(BankLimitsText(u"光大银行"), CStringW(Text(GetDlgItem(ebank->m_hWnd, IDC_EBANK_LIMITS)).c_str()));
    choose(ebank->m_hWnd, IDC_EBANK_CARRIERS, 1, "ebank_carriers");
    EXPECT_EQ(u"cdma", std::u16string(ebank->GetCarrierData().GetString()));
    ASSERT_NE(nullptr, kvtest::TapComboOpen(GetDlgItem(ebank->m_hWnd, IDC_EBANK_BANKS)));
    ASSERT_TRUE(kvtest::PressKey(VK_UP));
    ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
    EXPECT_EQ(0, SendMessageW(GetDlgItem(ebank->m_hWnd, IDC_EBANK_BANKS), CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_EQ(u"CMB", std::u16string(ebank->GetBankId().GetString()));
    EXPECT_FALSE(IsWindowVisible(carriers)) << "the limits follow a bank chosen with the keys";
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      DestroyScreens();
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    app.ClearCalls();
  }
}

// Every page at both sizes in portrait and in landscape: the layout check and screenshots for a
// reviewer (build/test/screenshots/).
TEST_F(RechargeHostFlowTest, EveryPageAtEachSize)
{
  ScriptCards();
  gateway.script("getSupportedChargeCard",
                 Reply::success({{"supportedAmount", {{{"amount", "50"}}, {{"amount", "100"}}}}, {"rate", "0.047"}, {"balance", "88.00"}}));
  ScriptBanks();
  StartGateway();
  app.SetLogonId(u"zhangsan@example.com");
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}, std::pair{320, 240}, std::pair{640, 480}}) {
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    Open();
    // Each page as it looks before typing (the input panel down), with the layout check of
    // every screen.
    auto shot = [&](const std::string& page) { kvtest::ExpectSoundLayout(ui, *host, "recharge_" + page + "_" + size); };
    // Every page spans the screen's width between the title and the soft keys.
    RECT menu{};
    GetWindowRect(host->GetMenuPage()->m_hWnd, &menu);
    EXPECT_EQ(0, menu.left);
    EXPECT_EQ(width, menu.right);
    shot("menu");
    Select(0);
    ASSERT_TRUE(Shown(host->GetMilocardPage()));
    shot("milocard");
    Key(IDC_RECHARGE_BACK);
    Select(1);
    HWND input = host->GetCardInputPage()->m_hWnd;
    shot("card");
    Type(input, IDC_CARD_NUMBER, u"123456789012345");
    Type(input, IDC_CARD_PASSWORD, u"123456789012345678");
    Key(IDC_RECHARGE_ACTION);
    ASSERT_TRUE(Shown(host->GetCardConfirmPage()));
    shot("card_confirm");
    Key(IDC_RECHARGE_BACK);
    Key(IDC_RECHARGE_BACK);
    Select(2);
    Type(host->GetEbankInputPage()->m_hWnd, IDC_EBANK_AMOUNT, u"20");
    shot("ebank");
    // The confirmation's 10 s pass only while the driver runs: it stands still for the picture.
    clock.reset();
    Key(IDC_RECHARGE_ACTION);
    ASSERT_TRUE(Shown(host->GetEbankConfirmPage()));
    shot("ebank_confirm");
    Key(IDC_RECHARGE_BACK);
    clock = std::make_unique<paytest::ClockDriver>();
    Key(IDC_RECHARGE_BACK);
    Select(3);
    ASSERT_TRUE(Shown(host->GetDraftPage()));
    shot("draft");
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      DestroyScreens();
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  EXPECT_EQ(0u, CountOf(gateway, "ebankDeposit"));
}

}  // namespace
