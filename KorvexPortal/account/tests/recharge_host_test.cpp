// The recharge dialog against the test gateway: the pages the action and back keys move through
// with the action key's text, the face values in reply order, the draft password as the gateway
// decrypts it, the Milocard page without a card and with an unbound phone, the net-bank page's
// automatic submit under virtual time.
#include "ebank_charge_dlg.h"
#include "ebank_confirm_dlg.h"
#include "milocard_charge_dlg.h"
#include "mobile_card_charge_dlg.h"
#include "mobile_card_confirm_dlg.h"
#include "net_charge_dlg.h"
#include "payment_screen_fixture.h"
#include "recharge_host_dlg.h"
#include "recharge_ids.h"
#include "recharge_menu_page.h"
#include "shell/sip.h"
#include "testing/clock.h"
#include "testing/screenshot.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace paytest;
using testgateway::Reply;

namespace {

// How many requests of the operation the gateway received.
size_t CountOf(const testgateway::TestGateway& gateway, const std::string& operation)
{
  size_t count = 0;
  for (const auto& request : gateway.requests())
    if (request.field("operationType") == operation)
      ++count;
  return count;
}

class RechargeHostTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override { host.reset(); }

  void Open()
  {
    ui.Invoke([&] {
      host = std::make_unique<CRechargeHostDlg>();
      host->ShowDialog(nullptr, 0, FALSE, TRUE);
      SipShowIM(SIPF_OFF);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  // Sends a soft key to the dialog and runs until the outcome settled.
  void Key(int id)
  {
    ui.Invoke([&] { ::PostMessageW(host->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  void Select(int method)
  {
    ASSERT_NE(nullptr, host->GetMenuPage());
    HWND page = host->GetMenuPage()->m_hWnd;
    ui.Invoke([&] { ::SendMessageW(page, WM_KV_RECHARGE_METHOD, CRechargeMenuPage::kFirstMethodId + method, 0); });
    Key(IDC_RECHARGE_ACTION);
    // The page shows once its own start-up request answered; some answers close the dialog.
    ASSERT_TRUE(RunUntil([&] { return !IsWindow(host->m_hWnd) || ShownPage(); }));
  }
  // Whether a page other than the menu is shown.
  bool ShownPage() const
  {
    return Shown(host->GetMilocardPage()) || Shown(host->GetCardInputPage()) || Shown(host->GetCardConfirmPage()) ||
           Shown(host->GetEbankInputPage()) || Shown(host->GetEbankConfirmPage()) || Shown(host->GetDraftPage());
  }
  template <class Page>
  static bool Shown(Page* page)
  {
    return page && page->m_hWnd && IsWindowVisible(page->m_hWnd);
  }
  void Type(HWND page, int id, const std::u16string& text)
  {
    ui.Invoke([&] { SetDlgItemTextW(page, id, text.c_str()); });
  }

  // The net-bank pages up to the confirmation, the amount typed; the clock stands still from
  // there (the driver, which moves it whenever something waits on it, is stopped) and moves 9 s.
  void UpToEbankConfirm()
  {
    Open();
    Select(2);
    CEbankChargeDlg* input = host->GetEbankInputPage();
    ASSERT_TRUE(Shown(input));
    Type(input->m_hWnd, IDC_EBANK_AMOUNT, u"20");
    clock.reset();
    Key(IDC_RECHARGE_ACTION);
    ASSERT_TRUE(Shown(host->GetEbankConfirmPage())) << ::testing::PrintToString(Boxes());
    EXPECT_EQ(u"20 元", Text(GetDlgItem(host->GetEbankConfirmPage()->m_hWnd, IDC_EBANKCONFIRM_AMOUNT)));
    // Short of the 10 s the page waits.
    device::testing::AdvanceClock(9000);
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_TRUE(Boxes().empty());
  }
  void ScriptBanks()
  {
    gateway.script("getSupportedBank",
                   Reply::success({{"supportedBankList",
                                    {{{"bankId", "CMB"}, {"bankName", "招商银行"}}, {{"bankId", "CEB"}, {"bankName", "光大银行"}}}},
                                   {"balance", "3.00"}}));
  }
  // The browser the device starts: a program that records its arguments in the device root.
  void InstallBrowser()
  {
    std::ofstream(root.path() + "/device.ini", std::ios::app) << "[browser]\ncommand = " << KV_ARGS_RECORDER << "\n";
  }
  // What the browser was started with; empty when it did not run.
  std::string BrowserArguments()
  {
    std::ifstream file(root.path() + "/args.bin", std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string all = bytes.str();
    return all.empty() ? all : all.substr(0, all.find('\0'));
  }

  void EbankAutoSubmit(bool browser);

  std::unique_ptr<CRechargeHostDlg> host;
};

TEST_F(RechargeHostTest, CardPagesForwardAndBack)
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

TEST_F(RechargeHostTest, DraftPasswordDecryptsAtTheGateway)
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

TEST_F(RechargeHostTest, MilocardWithoutCardOffersTheSignUp)
{
  gateway.script("premcDeposit", Reply::success({{"currentBalance", "8.00"}, {"mcDepositList", nlohmann::ordered_json::array()}}));
  StartGateway();
  HWND desktop = Opener();
  app.desktop = desktop;
  Open();
  Select(0);
  CMilocardChargeDlg* page = host->GetMilocardPage();
  ASSERT_TRUE(Shown(page));
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page->m_hWnd, IDC_MILOCARD_NO_CARD)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page->m_hWnd, IDC_MILOCARD_CARDS)));
  EXPECT_EQ(u"Milocard业务", std::u16string(host->GetActionText().GetString()));
  Key(IDC_RECHARGE_ACTION);
  EXPECT_FALSE(IsWindow(host->m_hWnd));
  auto posted = Received("opener", WM_COMMAND);
  ASSERT_EQ(1u, posted.size());
  EXPECT_EQ(static_cast<WPARAM>(ID_KV_DESKTOP_ITEM0 + 6), posted[0].wParam);
  EXPECT_EQ(0u, CountOf(gateway, "mcDeposit"));
}

TEST_F(RechargeHostTest, MilocardOnAnUnboundPhoneGoesToBinding)
{
  gateway.script("premcDeposit", Reply::result(112, "请先绑定手机"));
  StartGateway();
  app.desktop = Opener();
  Open();
  Select(0);
  ASSERT_TRUE(RunUntil([&] { return !IsWindow(host->m_hWnd); }));
  EXPECT_EQ("box 64 您需要先绑定手机才能使用本服务。", Boxes().front());
}

TEST_F(RechargeHostTest, EbankBackBeforeTheTenSecondsSendsNothing)
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
void RechargeHostTest::EbankAutoSubmit(bool browser)
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

TEST_F(RechargeHostTest, EbankSubmitsAfterTenSecondsAndOpensTheBank)
{
  EbankAutoSubmit(true);
}

TEST_F(RechargeHostTest, EbankWithoutABrowserKeepsThePage)
{
  EbankAutoSubmit(false);
}

// Screenshots of every page at both sizes, for a reviewer (build/test/screenshots/).
TEST_F(RechargeHostTest, EveryPageAtEachSize)
{
  gateway.script("premcDeposit",
                 Reply::success({{"currentBalance", "88.00"},
                                 {"mcDepositList",
                                  {{{"mcBankId", "B1"}, {"mcBankName", "招商银行"}, {"mcShortCode", "1234"}},
                                   {{"mcBankId", "B2"}, {"mcBankName", "建设银行"}, {"mcShortCode", "5678"}}}}}));
  gateway.script("getSupportedChargeCard",
                 Reply::success({{"supportedAmount", {{{"amount", "50"}}, {{"amount", "100"}}}}, {"rate", "0.047"}, {"balance", "88.00"}}));
  ScriptBanks();
  StartGateway();
  app.SetLogonId(u"zhangsan@example.com");
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    Open();
    auto shot = [&](const std::string& page) { EXPECT_FALSE(kvtest::SaveScreenshot("recharge_" + page + "_" + size).empty()); };
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
