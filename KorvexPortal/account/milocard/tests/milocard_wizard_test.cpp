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
  // Taps a row of the card list, as the user selects it.
  void SelectRow(int row) { ASSERT_TRUE(kvtest::TapWindow(host->GetCardListPage()->GetButton(row))); }
  // The row of the card list that has the focus, or -1.
  int FocusedRow()
  {
    HWND focus = nullptr;
    ui.Invoke([&] { focus = GetFocus(); });
    const CMilocardCardListPage* list = host->GetCardListPage();
    for (int row = 0; list && list->GetButton(row); ++row)
      if (list->GetButton(row) == focus)
        return row;
    return -1;
  }

  static RECT ScreenRect(HWND window)
  {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
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

TEST_F(MilocardWizardTest, TheKeysMoveBetweenTheRowsAndTheSoftKeysStayWithTheHost)
{
  gateway.script("preRequestMC2", CardList());
  RunAppLoop();
  Open();
  ASSERT_EQ(0, FocusedRow());
  struct Step {
    const char* what;
    UINT key;
    std::string shown;
    int step;
    int focusedRow;
    std::string softKey1;
    std::string description;
  };
  const std::string activate = "未激活Milocard，请点击激活按钮，激活此Milocard。";
  const std::string opened = "您的KorvexMilocard已开通，可以用它给Korvex账户充值或付款。";
  const std::string newCard = "您可以开通一张新Milocard。";
  const Step steps[] = {
      {"down to the opened card", VK_DOWN, "A", 0, 1, "", opened},
      {"down to the new card", VK_DOWN, "A", 0, 2, "开通Milocard", newCard},
      {"down from the last row wraps", VK_DOWN, "A", 0, 0, "激活", activate},
      {"up from the first row wraps", VK_UP, "A", 0, 2, "开通Milocard", newCard},
      {"up to the opened card", VK_UP, "A", 0, 1, "", opened},
      {"soft key 1 without an action", VK_F1, "A", 1, 1, "", opened},
      {"soft key 2 undoes the press", VK_F2, "A", 0, 1, "", opened},
      {"up to the card to activate", VK_UP, "A", 0, 0, "激活", activate},
      {"soft key 1 activates", VK_F1, "E", 1, -1, "激活", activate},
      {"soft key 2 comes back to the row", VK_F2, "A", 0, 0, "激活", activate},
      {"down to the opened card again", VK_DOWN, "A", 0, 1, "", opened},
      {"down to the new card again", VK_DOWN, "A", 0, 2, "开通Milocard", newCard},
      {"soft key 1 offers the banks", VK_F1, "B", 1, -1, "确定", newCard},
      {"soft key 2 comes back to the new card", VK_F2, "A", 0, 2, "开通Milocard", newCard},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    ASSERT_TRUE(kvtest::PressKey(s.key));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    ASSERT_TRUE(HostOpen());
    EXPECT_EQ(s.shown, Shown());
    EXPECT_EQ(s.step, host->GetStep());
    EXPECT_EQ(s.focusedRow, FocusedRow());
    EXPECT_EQ(s.softKey1, SoftKey(IDC_MILOCARD_FORWARD));
    EXPECT_EQ(!s.softKey1.empty(), IsWindowEnabled(GetDlgItem(host->m_hWnd, IDC_MILOCARD_FORWARD)) != FALSE);
    EXPECT_EQ(s.description, kvtest::Narrow(Text(GetDlgItem(host->m_hWnd, IDC_MILOCARD_DESCRIPTION))));
  }
  ASSERT_TRUE(kvtest::PressKey(VK_F2));
  EXPECT_FALSE(HostOpen()) << "soft key 2 on the list leaves the wizard";
}

TEST_F(MilocardWizardTest, UpAndDownMoveBetweenTheFieldsOfEachPage)
{
  gateway.script("preRequestMC2", CardList(0));
  gateway.script("requestMC", Reply::success());
  RunAppLoop();
  Open();
  auto focus = [&] {
    HWND focused = nullptr;
    ui.Invoke([&] { focused = GetFocus(); });
    return focused;
  };
  struct Step {
    const char* what;
    UINT key;
    std::function<HWND()> focused;
  };
  auto run = [&](std::initializer_list<Step> steps, const std::string& page, const std::string& softKey1) {
    for (const Step& s : steps) {
      SCOPED_TRACE(s.what);
      ASSERT_TRUE(kvtest::PressKey(s.key));
      ASSERT_TRUE(kvtest::RunUntilIdle());
      EXPECT_EQ(page, Shown());
      EXPECT_EQ(s.focused(), focus());
      EXPECT_EQ(softKey1, SoftKey(IDC_MILOCARD_FORWARD)) << "the keys stay on the page shown";
    }
  };

  // Page E: the card number and the pay password.
  SelectRow(0);
  Forward();
  ASSERT_EQ("E", Shown());
  HWND activation = host->GetActivationPage()->m_hWnd;
  auto card = [&] { return GetDlgItem(activation, IDC_MILOCARD_CARD_NUMBER); };
  auto password = [&] { return GetDlgItem(activation, IDC_MILOCARD_PAY_PASSWORD); };
  ASSERT_EQ(card(), focus());
  run({{"down to the password", VK_DOWN, password},
       {"down from the last field wraps", VK_DOWN, card},
       {"up wraps to the password", VK_UP, password},
       {"up to the card number", VK_UP, card}},
      "E", "激活");
  Back();

  // Page B: the banks' choices; the one the keys reach is the one chosen. Shown again after the
  // card list, it takes the focus from the list's rows.
  const CMilocardChoicePage* choice = nullptr;
  auto bank = [&](size_t i) { return [&, i] { return choice->GetRadio(i); }; };
  for (int shown = 1; shown <= 2; ++shown) {
    SCOPED_TRACE(shown);
    SelectRow(2);
    Forward();
    ASSERT_EQ("B", Shown());
    choice = host->GetChoicePage();
    ASSERT_EQ(2u, choice->GetBanks().size());
    EXPECT_EQ(choice->GetRadio(0), focus()) << "the chosen bank has the focus";
    run({{"down to the second bank", VK_DOWN, bank(1)}, {"down round to the first", VK_DOWN, bank(0)},
         {"up round to the second", VK_UP, bank(1)}},
        "B", "确定");
    EXPECT_EQ(u"CCBDPAY", choice->GetSelectedBank().bankId);
    run({{"up to the first bank", VK_UP, bank(0)}}, "B", "确定");
    EXPECT_EQ(u"ABC", choice->GetSelectedBank().bankId);
    if (shown == 1)
      Back();
  }

  // Page C: the real name and the ID card number.
  Forward();
  ASSERT_EQ("C", Shown());
  HWND apply = host->GetApplyPage()->m_hWnd;
  auto name = [&] { return GetDlgItem(apply, IDC_MILOCARD_APPLY_NAME); };
  auto idCard = [&] { return GetDlgItem(apply, IDC_MILOCARD_APPLY_IDCARD); };
  ASSERT_EQ(name(), focus());
  run({{"down to the ID card number", VK_DOWN, idCard}, {"up to the name", VK_UP, name}}, "C", "确定");

  // Page D has no field: it takes the focus, so the keys leave the fields of page C alone.
  Forward();
  ASSERT_TRUE(RunUntil([&] { return Shown() == "D"; }));
  HWND done = host->GetDonePage()->m_hWnd;
  run({{"down on the last page", VK_DOWN, [&] { return done; }}}, "D", "确定");
}

TEST_F(MilocardWizardTest, WithMoreCardsThanTheListShowsTheFocusedRowIsScrolledIntoView)
{
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (int i = 0; i < 9; ++i)
    list.push_back(Bank(("B" + std::to_string(i)).c_str(), ("银行" + std::to_string(i)).c_str(), "已开通"));
  gateway.script("preRequestMC2", Reply::success({{"hasAuthed", 1}, {"list", list}}));
  RunAppLoop();
  Open();
  RECT page = ScreenRect(host->GetCardListPage()->m_hWnd);
  // Down through the nine cards and the new-card row, then round to the first row again.
  for (int step = 1; step <= 10; ++step) {
    SCOPED_TRACE(step);
    ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
    int row = FocusedRow();
    ASSERT_EQ(step % 10, row) << "the focus stays on the rows";
    RECT rect = ScreenRect(host->GetCardListPage()->GetButton(row));
    EXPECT_TRUE(rect.top >= page.top && rect.bottom <= page.bottom) << "the focused row is shown";
  }
  ASSERT_TRUE(kvtest::PressKey(VK_UP));
  ASSERT_EQ(9, FocusedRow());
  RECT last = ScreenRect(host->GetCardListPage()->GetButton(9));
  EXPECT_LE(last.bottom, page.bottom);
  EXPECT_EQ("开通Milocard", SoftKey(IDC_MILOCARD_FORWARD));
}

TEST_F(MilocardWizardTest, OnlyTheBankWithTheExactIdShowsItsMark)
{
  gateway.script("preRequestMC2",
                 Reply::success({{"hasAuthed", 1},
                                 {"list", nlohmann::ordered_json::array({Bank("CCBDPAY", "建设银行", ""),
                                                                         Bank("ccbdpay", "建行小写", ""),
                                                                         Bank("ABC", "农业银行", "")})}}));
  Open();
  SelectRow(0);
  Forward();
  ASSERT_EQ("B", Shown());
  const CMilocardChoicePage* choice = host->GetChoicePage();
  // The mark's blue, counted on the screen inside a bank's row.
  auto markPixels = [&](size_t bank) {
    RECT rect{};
    GetWindowRect(choice->GetRow(bank), &rect);
    int count = 0;
    HDC dc = GetDC(nullptr);
    for (int y = rect.top; y < rect.bottom; ++y)
      for (int x = rect.left; x < rect.right; ++x)
        count += GetPixel(dc, x, y) == RGB(0x2F, 0x5F, 0xA8);
    ReleaseDC(nullptr, dc);
    return count;
  };
  ASSERT_EQ(3u, choice->GetBanks().size());
  for (size_t bank = 0; bank < choice->GetBanks().size(); ++bank) {
    std::string id = kvtest::Narrow(choice->GetBanks()[bank].bankId.GetString());
    SCOPED_TRACE(id);
    EXPECT_EQ(id == "CCBDPAY", markPixels(bank) > 0);
  }
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

// How a request's answer ends: the boxes shown, the wizard still open on a page or closed, the
// login shown with the user cleared.
struct WizardAnswer {
  const char* name;
  Reply reply;
  std::vector<std::string> boxes;
  std::string shown;  // the page left shown; "-" when the wizard closed
  bool login;
};

TEST_F(MilocardWizardTest, TheApplicationsAnswerKeepsThePageOrEndsTheSession)
{
  const WizardAnswer answers[] = {
      {"refused", Reply::result(150, "该银行暂不受理"), {"box 16 该银行暂不受理"}, "C", false},
      {"session ended", Reply::result(200, "会话已过期，请重新登录"), {"box 16 会话已过期，请重新登录"}, "-", true},
  };
  gateway.script("preRequestMC2", CardList());
  for (const WizardAnswer& a : answers) {
    SCOPED_TRACE(a.name);
    gateway.script("requestMC", a.reply);
    app.SetUserName(u"张三");
    app.SetGreeting(u"下午好");
    Open();
    SelectRow(2);
    Forward();
    Forward();
    ASSERT_EQ("C", Shown());
    app.ClearCalls();
    Forward();
    ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(a.boxes, Boxes());
    EXPECT_EQ(a.shown != "-", HostOpen());
    if (HostOpen())
      EXPECT_EQ(a.shown, Shown());
    EXPECT_EQ(a.login, Called("ShowLoginDlg"));
    EXPECT_EQ(a.login, app.GetUserName().IsEmpty() && app.GetGreeting().IsEmpty()) << "the user is cleared";
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); host.reset(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  EXPECT_EQ(2u, gateway.requestsOf("requestMC").size());
}

TEST_F(MilocardWizardTest, TheActivationsAnswerKeepsThePageOrEndsTheSession)
{
  const WizardAnswer answers[] = {
      {"refused", Reply::result(150, "卡号与户名不符"), {"box 16 卡号与户名不符"}, "E", false},
      {"session ended", Reply::result(200, "会话已过期，请重新登录"), {"box 64 会话已过期，请重新登录"}, "-", true},
  };
  gateway.script("preRequestMC2", CardList());
  for (const WizardAnswer& a : answers) {
    SCOPED_TRACE(a.name);
    gateway.script("bindingMC", a.reply);
    app.SetUserName(u"张三");
    app.SetGreeting(u"下午好");
    Open();
    Forward();
    ASSERT_EQ("E", Shown());
    HWND page = host->GetActivationPage()->m_hWnd;
    ui.Invoke([&] {
      SetWindowTextW(GetDlgItem(page, IDC_MILOCARD_CARD_NUMBER), u"6225880123456789");
      SetFocus(GetDlgItem(page, IDC_MILOCARD_PAY_PASSWORD));
    });
    ASSERT_TRUE(kvtest::TypeText(u"pay456qwe"));
    app.ClearCalls();
    Forward();
    ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(a.boxes, Boxes());
    EXPECT_EQ(a.shown != "-", HostOpen());
    if (HostOpen()) {
      EXPECT_EQ(a.shown, Shown());
      EXPECT_EQ(u"6225880123456789", Text(GetDlgItem(page, IDC_MILOCARD_CARD_NUMBER))) << "kept for another try";
    }
    EXPECT_EQ(a.login, Called("ShowLoginDlg"));
    EXPECT_EQ(a.login, app.GetUserName().IsEmpty() && app.GetGreeting().IsEmpty()) << "the user is cleared";
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); host.reset(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

TEST_F(MilocardWizardTest, AnUnreadCountDuringTheActivationsWaitChangesNothing)
{
  gateway.script("preRequestMC2", CardList());
  gateway.script("bindingMC", Reply::stall(Reply::result(150, "卡号与户名不符")));
  Open();
  Forward();
  ASSERT_EQ("E", Shown());
  CMilocardStep4Dlg* page = host->GetActivationPage();
  ui.Invoke([&] {
    SetWindowTextW(GetDlgItem(page->m_hWnd, IDC_MILOCARD_CARD_NUMBER), u"6225880123456789");
    SetFocus(GetDlgItem(page->m_hWnd, IDC_MILOCARD_PAY_PASSWORD));
  });
  ASSERT_TRUE(kvtest::TypeText(u"pay456qwe"));
  app.ClearCalls();
  PostMessageW(host->m_hWnd, WM_COMMAND, IDC_MILOCARD_FORWARD, 0);
  ASSERT_TRUE(gateway.waitForRequest("bindingMC"));
  // The desktop's unread count reaches every listener on the network worker; the page's own
  // answer comes only later.
  std::thread([&] { page->OnServiceNotify(32, S_OK, 7, nullptr); }).join();
  std::thread([&] { page->OnServiceNotify(33, S_OK, 100, u"成功"); }).join();
  ASSERT_TRUE(kvtest::PollUntil([&] { return IsWindowVisible(CThreadMessageBox::SharedWindow()) != FALSE; }));
  EXPECT_TRUE(Boxes().empty()) << "the wait went on";
  gateway.releaseStalled();
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(std::vector<std::string>{"box 16 卡号与户名不符"}, Boxes()) << "the page's own answer, not 33's";
  EXPECT_FALSE(Called("ShowDesktopDlg"));
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
  gateway.script("requestMC", Reply::success());
  for (auto [width, height] :
       {std::pair{240, 320}, std::pair{480, 640}, std::pair{320, 240}, std::pair{640, 480}}) {
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    Open(false);
    ASSERT_TRUE(HostOpen());
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_list_" + size).empty());
    EXPECT_LE(ScreenRect(GetDlgItem(host->m_hWnd, IDC_MILOCARD_RULE_TOP)).bottom,
              ScreenRect(host->GetCardListPage()->m_hWnd).top)
        << "the caption's rule above the rows";
    EXPECT_LE(ScreenRect(host->GetCardListPage()->GetButton(2)).bottom,
              ScreenRect(GetDlgItem(host->m_hWnd, IDC_MILOCARD_RULE_BOTTOM)).top)
        << "the three rows above the lower rule";
    SelectRow(0);
    Forward();
    ASSERT_EQ("E", Shown());
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_activate_" + size).empty());
    Back();
    SelectRow(2);
    Forward();
    ASSERT_EQ("B", Shown());
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_banks_" + size).empty());
    const CMilocardChoicePage* choice = host->GetChoicePage();
    RECT caption = ScreenRect(GetDlgItem(choice->m_hWnd, IDC_MILOCARD_CHOICE_CAPTION));
    for (HWND bank : {choice->GetRadio(0), choice->GetRow(0)}) {
      RECT common{}, rect = ScreenRect(bank);
      EXPECT_FALSE(IntersectRect(&common, &caption, &rect)) << "the first bank under the caption";
    }
    Forward();
    ASSERT_EQ("C", Shown());
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_apply_" + size).empty());
    Forward();
    ASSERT_TRUE(RunUntil([&] { return Shown() == "D"; }));
    EXPECT_FALSE(kvtest::SaveScreenshot("milocard_done_" + size).empty());
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); host.reset(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

}  // namespace
