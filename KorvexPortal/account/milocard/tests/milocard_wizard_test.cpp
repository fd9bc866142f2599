// The bank-card wizard against the test gateway: the card list's reply statuses and flags, the
// steps forward and back, the application with the identity on file, the activation's checks and
// its success, and the screens of each page.
#include <memory>

#include "milocard_apply_page.h"
#include "milocard_card_list_page.h"
#include "milocard_choice_page.h"
#include "milocard_done_page.h"
#include "milocard_host_dlg.h"
#include "milocard_step4_dlg.h"
#include "payment_screen_fixture.h"
#include "shell/sip.h"
#include "testing/screenshot.h"

using namespace paytest;
using testgateway::Reply;

namespace {

nlohmann::ordered_json Bank(const char* id, const char* name, const char* status)
{
  return {{"bankId", id}, {"bankName", name}, {"activeMSG", status}};
}

// Two cards (one to activate, one opened) and two banks without a card; the identity on file.
Reply CardList(int hasAuthed = 1)
{
  return Reply::success({{"hasAuthed", hasAuthed},
                         {"realName", "张三"},
                         {"idCardNO", "11010519491231123X"},
                         {"list", nlohmann::ordered_json::array({Bank("ICBC", "工商银行", "已开通"),
                                                                 Bank("CCBDPAY", "建设银行", ""),
                                                                 Bank("CMB", "招商银行", "未激活"),
                                                                 Bank("ABC", "农业银行", "")})}});
}

class MilocardWizardTest : public PaymentScreenTest {
 protected:
  void SetUp() override
  {
    PaymentScreenTest::SetUp();
    StartGateway();
  }
  void DestroyScreens() override
  {
    app.SetMainDialog(nullptr);
    host.reset();
  }

  // Opens the wizard over a recording opener (or over nothing, for the screenshots).
  void Open(bool withOpener = true)
  {
    HWND opener = withOpener ? Opener() : nullptr;
    ui.Invoke([&] {
      host = std::make_unique<CMilocardHostDlg>();
      host->ShowDialog(opener, 0, FALSE, TRUE);
      SipShowIM(SIPF_OFF);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  bool HostOpen() { return host->m_hWnd && IsWindow(host->m_hWnd); }
  void Command(HWND window, int id)
  {
    PostMessageW(window, WM_COMMAND, id, 0);
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  void Forward() { Command(host->m_hWnd, IDC_MILOCARD_FORWARD); }
  void Back() { Command(host->m_hWnd, IDC_MILOCARD_BACK); }
  std::string SoftKey(int id) { return kvtest::Narrow(Text(GetDlgItem(host->m_hWnd, id)).c_str()); }
  // The page shown now: "A" to "E", or "-" when none is.
  std::string Shown()
  {
    auto shown = [](HWND page) { return page && IsWindow(page) && IsWindowVisible(page); };
    if (host->GetCardListPage() && shown(host->GetCardListPage()->m_hWnd))
      return "A";
    if (host->GetChoicePage() && shown(host->GetChoicePage()->m_hWnd))
      return "B";
    if (host->GetApplyPage() && shown(host->GetApplyPage()->m_hWnd))
      return "C";
    if (host->GetDonePage() && shown(host->GetDonePage()->m_hWnd))
      return "D";
    if (host->GetActivationPage() && shown(host->GetActivationPage()->m_hWnd))
      return "E";
    return "-";
  }
  void SelectRow(int row)
  {
    CMilocardCardListPage* list = host->GetCardListPage();
    Command(list->m_hWnd, CMilocardCardListPage::kFirstButtonId + row);
  }

  std::unique_ptr<CMilocardHostDlg> host;
};

TEST_F(MilocardWizardTest, TheCardListReplyDecidesWhatTheWizardOffers)
{
  struct Case {
    const char* name;
    Reply reply;
    std::vector<std::string> boxes;
    bool bindPhone;
    bool login;
    bool open;
    std::string forward;
  };
  const Case cases[] = {
      {"cards", CardList(), {}, false, false, true, "激活"},
      {"no card with a status", Reply::success({{"hasAuthed", 0}, {"list", nlohmann::ordered_json::array()}}), {},
       false, false, true, "开通Milocard"},
      {"phone not bound", Reply::result(112, "请先绑定手机"), {"box 64 您需要先绑定手机才能使用本服务。"}, true, false,
       true, ""},
      {"session ended", Reply::result(200, "会话已过期，请重新登录"), {"box 64 会话已过期，请重新登录"}, false, true,
       true, ""},
      {"refused", Reply::result(150, "系统繁忙"), {"box 16 系统繁忙"}, false, false, false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway.script("preRequestMC2", c.reply);
    app.ClearCalls();
    Open();
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(c.bindPhone, host->IsBindPhoneNeeded());
    EXPECT_EQ(c.login, host->IsLoginNeeded());
    ASSERT_EQ(c.open, HostOpen());
    if (c.open) {
      EXPECT_EQ(c.forward, SoftKey(IDC_MILOCARD_FORWARD));
      EXPECT_EQ(!c.forward.empty(), IsWindowEnabled(GetDlgItem(host->m_hWnd, IDC_MILOCARD_FORWARD)) != FALSE);
    }
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); host.reset(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  EXPECT_EQ(5u, gateway.requestsOf("preRequestMC2").size());
}

TEST_F(MilocardWizardTest, TheRowsComeByStatusAndEachOffersItsAction)
{
  gateway.script("preRequestMC2", CardList());
  Open();
  CMilocardCardListPage* list = host->GetCardListPage();
  ASSERT_EQ(3u, list->GetListedRows().size());
  EXPECT_EQ(u"招商银行", std::u16string(list->GetListedRows()[0].bankName.GetString()));
  EXPECT_EQ(u"工商银行", std::u16string(list->GetListedRows()[1].bankName.GetString()));
  EXPECT_EQ(u"新开通一张KorvexMilocard", std::u16string(list->GetListedRows()[2].bankName.GetString()));

  struct Step {
    const char* what;
    int row;  // the row to select first, or -1
    bool forward;
    std::string shown;
    int step;
    std::string softKey1;
  };
  const Step steps[] = {
      {"opened row: no action", 1, true, "A", 1, ""},
      {"back to step 0", -1, false, "A", 0, ""},
      {"card to activate", 0, true, "E", 1, "激活"},
      {"back from E to A", -1, false, "A", 0, "激活"},
      {"new card", 2, true, "B", 1, "确定"},
      {"bank chosen", -1, true, "C", 2, "确定"},
      {"back to the banks", -1, false, "B", 1, "确定"},
      {"back to the list", -1, false, "A", 0, "开通Milocard"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.row >= 0)
      SelectRow(s.row);
    if (s.forward)
      Forward();
    else
      Back();
    EXPECT_EQ(s.shown, Shown());
    EXPECT_EQ(s.step, host->GetStep());
    EXPECT_EQ(s.softKey1, SoftKey(IDC_MILOCARD_FORWARD));
  }
  Back();
  EXPECT_FALSE(HostOpen());
}

TEST_F(MilocardWizardTest, AnApplicationWithTheIdentityOnFileShowsItMaskedAndSendsItWhole)
{
  gateway.script("preRequestMC2", CardList());
  gateway.script("requestMC", Reply::success());
  Open();
  SelectRow(2);
  Forward();
  Forward();
  ASSERT_EQ("C", Shown());
  HWND apply = host->GetApplyPage()->m_hWnd;
  EXPECT_EQ(u"**************123X", Text(GetDlgItem(apply, IDC_MILOCARD_APPLY_IDCARD)));
  EXPECT_EQ(u"农业银行", Text(GetDlgItem(apply, IDC_MILOCARD_APPLY_BANK)));
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(apply, IDC_MILOCARD_APPLY_NAME), GWL_STYLE) & ES_READONLY);

  Forward();
  ASSERT_TRUE(RunUntil([&] { return Shown() == "D"; }));
  auto sent = gateway.waitForRequest("requestMC");
  ASSERT_TRUE(sent);
  EXPECT_EQ("ABC", sent->field("bankId"));
  EXPECT_EQ("张三", sent->field("realName"));
  EXPECT_EQ("11010519491231123X", sent->field("idCardNO"));
  EXPECT_EQ(3, host->GetStep());
  Forward();
  EXPECT_FALSE(HostOpen());
}

TEST_F(MilocardWizardTest, TheActivationRefusesA15DigitCardAndASuccessShowsTheDesktop)
{
  gateway.script("preRequestMC2", CardList());
  gateway.script("bindingMC", Reply::success());
  Open();
  app.SetMainDialog(host.get());
  Forward();
  ASSERT_EQ("E", Shown());
  CMilocardStep4Dlg* page = host->GetActivationPage();
  auto typeCard = [&](const char16_t* number) {
    ui.Invoke([&] { SetWindowTextW(GetDlgItem(page->m_hWnd, IDC_MILOCARD_CARD_NUMBER), number); });
  };
  typeCard(u"622588012345678");
  ui.Invoke([&] { SetFocus(GetDlgItem(page->m_hWnd, IDC_MILOCARD_PAY_PASSWORD)); });
  ASSERT_TRUE(kvtest::TypeText(u"pay456qwe"));
  app.ClearCalls();
  Forward();
  EXPECT_EQ(std::vector<std::string>{"box 64 银行账号格式不正确！"}, Boxes());
  EXPECT_TRUE(gateway.requestsOf("bindingMC").empty());

  typeCard(u"6225880123456789");
  app.ClearCalls();
  Forward();
  ASSERT_TRUE(RunUntil([&] { return !HostOpen(); }));
  EXPECT_EQ(std::vector<std::string>{"box 64 激活成功！"}, Boxes());
  EXPECT_TRUE(Called("ShowDesktopDlg(5)"));
  auto sent = gateway.waitForRequest("bindingMC");
  ASSERT_TRUE(sent);
  EXPECT_EQ("6225880123456789", sent->field("bankCardNO"));
  auto plain = gateway.key().decryptPassword(sent->field("payPassword"));
  ASSERT_TRUE(plain);
  EXPECT_EQ("pay456qwe", plain->password);
}

TEST_F(MilocardWizardTest, EachPageAtEachSize)
{
  gateway.script("preRequestMC2", CardList(0));
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    Open(false);
    ASSERT_TRUE(HostOpen());
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_list_" + size).empty());
    SelectRow(0);
    Forward();
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_activate_" + size).empty());
    Back();
    SelectRow(2);
    Forward();
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_banks_" + size).empty());
    Forward();
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_apply_" + size).empty());
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); host.reset(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

}  // namespace
