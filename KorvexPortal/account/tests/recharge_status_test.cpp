// Each top-up page's reply statuses against the test gateway, one table per request: the reply
// gives the boxes shown, the page left shown and whether the recharge dialog stays open. And the
// unread count's notification during a page's wait, which neither ends the wait nor replaces the
// memo of the page's own answer.
#include "recharge_fixture.h"

using namespace rechargetest;

namespace {

struct StatusCase {
  const char* name;
  Reply reply;
  std::vector<std::string> boxes;
  bool open;  // the recharge dialog is still open
  const char* call = nullptr;  // another call the reply led to
};

const char* const kSessionEndedBox = "box 64 请重新登录";

using kvtest::PollUntil;

class RechargeStatusTest : public RechargeHostTest {
 protected:
  // A top window for the application, as in the running program (status 112 and the sign-up
  // need it). Made after the gateway started: a dialog object reads the device's settings.
  void UseTopWindow()
  {
    ui.Invoke([&] { topWindow = std::make_unique<TopWindow>(); });
    app.SetMainDialog(topWindow.get());
  }
  void TearDown() override
  {
    app.SetMainDialog(nullptr);
    RechargeHostTest::TearDown();
    topWindow.reset();
  }
  // Runs the table: each case opens the dialog, does what leads to the request and checks the
  // outcome, then the dialog is closed for the next.
  template <class Act, class Check>
  void Run(const std::string& operation, const std::vector<StatusCase>& cases, Act act, Check check)
  {
    for (const StatusCase& c : cases) {
      SCOPED_TRACE(c.name);
      SetCurrent(c.reply);
      size_t before = CountOf(gateway, operation);
      act();
      if (HasFatalFailure())
        return;
      ASSERT_TRUE(RunUntil([&] { return Boxes().size() >= c.boxes.size() && !BoxShown(); }));
      EXPECT_EQ(before + 1, CountOf(gateway, operation));
      EXPECT_EQ(c.boxes, Boxes());
      EXPECT_EQ(c.open, IsWindow(host->m_hWnd) != FALSE);
      if (c.call) {
        EXPECT_TRUE(Called(c.call)) << Recorded();
      }
      if (IsWindow(host->m_hWnd))
        check(c);
      CloseHost();
      app.ClearCalls();
    }
  }

  class TopWindow : public CBaseDlg {
   public:
    int GetTemplateId(int) override { return 0; }
  };
  std::unique_ptr<TopWindow> topWindow;
};

TEST_F(RechargeStatusTest, CardList)
{
  const std::vector<StatusCase> cases = {
      {"listed", Reply::success({{"supportedAmount", {{{"amount", "50"}}, {{"amount", "100"}}}}, {"rate", "0.05"}, {"balance", "3.00"}}), {}, true},
      // A refusal is not silent: the memo shows, the page stays without face values.
      {"refused", Reply::result(500, "暂不支持充值卡充值"), {"box 16 暂不支持充值卡充值"}, true},
      {"session ended", Reply::result(200, "请重新登录"), {kSessionEndedBox}, false},
  };
  AnswerWithCurrent("getSupportedChargeCard");
  StartGateway();
  Run("getSupportedChargeCard", cases, [&] { Open(), Select(1); }, [&](const StatusCase& c) {
    CMobileCardChargeDlg* input = host->GetCardInputPage();
    EXPECT_TRUE(Shown(input));
    bool listed = c.reply.body.find("supportedAmount") != std::string::npos;
    EXPECT_EQ(listed ? 2 : 0, SendMessageW(GetDlgItem(input->m_hWnd, IDC_CARD_AMOUNTS), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(listed ? u"3.00元" : u"", Text(GetDlgItem(input->m_hWnd, IDC_RECHARGE_HEADER)));
  });
}

TEST_F(RechargeStatusTest, CardDeposit)
{
  const std::vector<StatusCase> cases = {
      {"taken", Reply::success({{"depositId", "EO1"}, {"memo", "充值申请已受理"}}), {"box 128 充值申请已受理"}, true},
      {"taken without memo", Reply::success({{"depositId", "EO2"}}), {"box 128 充值成功！"}, true},
      {"refused", Reply::result(500, "卡号或密码错误"), {"box 64 卡号或密码错误"}, true},
      {"session ended", Reply::result(200, "请重新登录"), {kSessionEndedBox}, false},
  };
  gateway.script("getSupportedChargeCard",
                 Reply::success({{"supportedAmount", {{{"amount", "50"}}}}, {"rate", "0.05"}, {"balance", "3.00"}}));
  AnswerWithCurrent("easyownDeposit");
  StartGateway();
  Run("easyownDeposit", cases,
      [&] {
        UpToCardConfirm();
        app.ClearCalls();
        Key(IDC_RECHARGE_ACTION);
      },
      [&](const StatusCase& c) {
        EXPECT_TRUE(Shown(host->GetCardConfirmPage()));
        bool taken = c.reply.body.find("depositId") != std::string::npos;
        EXPECT_EQ(taken, !host->GetCardConfirmPage()->GetDepositId().IsEmpty());
      });
  // The request carries the checked card and the chosen face value, behind a wait of type 70.
  auto sent = gateway.waitForRequest("easyownDeposit");
  ASSERT_TRUE(sent);
  EXPECT_EQ("12345678901234567", sent->field("cardNo"));
  EXPECT_EQ("123456789012345678", sent->field("cardPass"));
  EXPECT_EQ("50", sent->field("cardAmount"));
}

TEST_F(RechargeStatusTest, CardDepositWaitsInTheNoticeFrame)
{
  gateway.script("getSupportedChargeCard",
                 Reply::success({{"supportedAmount", {{{"amount", "50"}}}}, {"rate", "0.05"}, {"balance", "3.00"}}));
  gateway.script("easyownDeposit", Reply::success({{"depositId", "EO1"}}));
  StartGateway();
  UpToCardConfirm();
  app.ClearCalls();
  Key(IDC_RECHARGE_ACTION);
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  EXPECT_TRUE(Called("box 70 正在查询充值结果，请耐心等待20秒~1分钟。")) << Recorded();
}

TEST_F(RechargeStatusTest, BankList)
{
  const std::vector<StatusCase> cases = {
      {"listed", Reply::success({{"supportedBankList", {{{"bankId", "CMB"}, {"bankName", "招商银行"}}}}, {"balance", "3.00"}}), {}, true},
      {"refused", Reply::result(500, "网银充值暂停"), {"box 16 网银充值暂停"}, true},
      {"session ended", Reply::result(200, "请重新登录"), {kSessionEndedBox}, false},
  };
  AnswerWithCurrent("getSupportedBank");
  StartGateway();
  Run("getSupportedBank", cases, [&] { Open(), Select(2); }, [&](const StatusCase& c) {
    CEbankChargeDlg* input = host->GetEbankInputPage();
    EXPECT_TRUE(Shown(input));
    bool listed = c.reply.body.find("supportedBankList") != std::string::npos;
    EXPECT_EQ(listed ? 1 : 0, SendMessageW(GetDlgItem(input->m_hWnd, IDC_EBANK_BANKS), CB_GETCOUNT, 0, 0));
    // Without a bank the amount alone does not lead on. (The clock stands still meanwhile: the
    // confirmation's 10 s do not pass.)
    Type(input->m_hWnd, IDC_EBANK_AMOUNT, u"20");
    app.ClearCalls();
    clock.reset();
    Key(IDC_RECHARGE_ACTION);
    EXPECT_EQ(listed, Shown(host->GetEbankConfirmPage()));
    EXPECT_EQ(listed ? std::vector<std::string>{} : std::vector<std::string>{"box 71 请选择银行！"}, Boxes());
    if (Shown(host->GetEbankConfirmPage()))
      Key(IDC_RECHARGE_BACK);
    clock = std::make_unique<ClockDriver>();
    app.ClearCalls();
  });
}

TEST_F(RechargeStatusTest, BankDeposit)
{
  const char* notice = "box 64 您将转入网上银行进行充值，成功后请到 账户查询 中查看账户余额。";
  const std::vector<StatusCase> cases = {
      {"refused", Reply::result(500, "银行系统维护"), {notice, "box 64 银行系统维护"}, true},
      {"session ended", Reply::result(200, "请重新登录"), {notice, kSessionEndedBox}, false},
  };
  ScriptBanks();
  AnswerWithCurrent("ebankDeposit");
  StartGateway();
  Run("ebankDeposit", cases,
      [&] {
        Open();
        Select(2);
        Type(host->GetEbankInputPage()->m_hWnd, IDC_EBANK_AMOUNT, u"20");
        // The clock stands still until the action key sent the request, so the page's own 10 s
        // do not send it first.
        clock.reset();
        Key(IDC_RECHARGE_ACTION);
        ASSERT_TRUE(Shown(host->GetEbankConfirmPage()));
        app.ClearCalls();
        ui.Invoke([&] { ::PostMessageW(host->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_RECHARGE_ACTION, 0), 0); });
        clock = std::make_unique<ClockDriver>();
      },
      [&](const StatusCase&) { EXPECT_TRUE(Shown(host->GetEbankConfirmPage())); });
}

TEST_F(RechargeStatusTest, Draft)
{
  const std::vector<StatusCase> cases = {
      {"credited", Reply::success({{"memo", "已充值100.00元"}}), {"box 128 已充值100.00元"}, true},
      {"credited without memo", Reply::success(), {"box 128 充值成功！"}, true},
      {"refused", Reply::result(500, "网汇e密码错误"), {"box 16 网汇e密码错误"}, true},
      {"session ended", Reply::result(200, "请重新登录"), {kSessionEndedBox}, false},
  };
  AnswerWithCurrent("draftDeposit");
  StartGateway();
  Run("draftDeposit", cases,
      [&] {
        Open();
        Select(3);
        CNetChargeDlg* draft = host->GetDraftPage();
        Type(draft->m_hWnd, IDC_DRAFT_NUMBER, u"123456789012345678");
        TypeInto(GetDlgItem(draft->m_hWnd, IDC_DRAFT_PASSWORD), u"654321");
        Key(IDC_RECHARGE_ACTION);
      },
      [&](const StatusCase&) {
        // The page stays with its fields, ready to send the same draft again.
        EXPECT_TRUE(Shown(host->GetDraftPage()));
        EXPECT_EQ(u"123456789012345678", Text(GetDlgItem(host->GetDraftPage()->m_hWnd, IDC_DRAFT_NUMBER)));
      });
}

TEST_F(RechargeStatusTest, MilocardCards)
{
  const nlohmann::ordered_json twoCards = {{{"mcBankId", "B1"}, {"mcBankName", "招商银行"}, {"mcShortCode", "1234"}},
                                           {{"mcBankId", "B2"}, {"mcBankName", "建设银行"}, {"mcShortCode", "5678"}}};
  const std::vector<StatusCase> cases = {
      {"two cards", Reply::success({{"currentBalance", "8.00"}, {"mcDepositList", twoCards}}), {}, true},
      {"no card", Reply::success({{"currentBalance", "8.00"}, {"mcDepositList", nlohmann::ordered_json::array()}}), {}, true},
      // A refusal shows nothing beyond the common handling and offers the sign-up.
      {"refused", Reply::json({{"resultStatus", 500}, {"memo", "暂不可用"}, {"currentBalance", "8.00"}}), {}, true},
      // An unbound phone goes on to the phone binding (opened from a top-up).
      {"phone not bound", Reply::result(112, "请先绑定手机"), {"box 64 您需要先绑定手机才能使用本服务。"}, false,
       "ShowBindPhoneDlg(5)"},
      {"session ended", Reply::result(200, "请重新登录"), {kSessionEndedBox}, false},
  };
  AnswerWithCurrent("premcDeposit");
  StartGateway();
  UseTopWindow();
  Run("premcDeposit", cases, [&] { Open(), Select(0); }, [&](const StatusCase& c) {
    CMilocardChargeDlg* page = host->GetMilocardPage();
    EXPECT_TRUE(Shown(page));
    EXPECT_EQ(u"8.00", Text(GetDlgItem(page->m_hWnd, IDC_RECHARGE_HEADER)));
    bool cards = std::string(c.name) == "two cards";
    HWND combo = GetDlgItem(page->m_hWnd, IDC_MILOCARD_CARDS);
    EXPECT_EQ(cards, IsWindowVisible(combo) != FALSE);
    EXPECT_EQ(!cards, IsWindowVisible(GetDlgItem(page->m_hWnd, IDC_MILOCARD_NO_CARD)) != FALSE);
    EXPECT_EQ(cards ? u"充值" : u"Milocard业务", std::u16string(host->GetActionText().GetString()));
    if (cards) {
      // Reply order, the first chosen, each as bank name and last digits.
      ASSERT_EQ(2, SendMessageW(combo, CB_GETCOUNT, 0, 0));
      EXPECT_EQ(0, SendMessageW(combo, CB_GETCURSEL, 0, 0));
      WCHAR item[64] = {};
      SendMessageW(combo, CB_GETLBTEXT, 1, reinterpret_cast<LPARAM>(item));
      EXPECT_EQ(u"建设银行（尾号5678）", std::u16string(item));
    }
  });
}

TEST_F(RechargeStatusTest, MilocardDeposit)
{
  const std::vector<StatusCase> cases = {
      {"credited", Reply::success({{"memo", "充值成功，已到账"}}), {"box 128 充值成功，已到账"}, true},
      {"credited without memo", Reply::success(), {"box 128 充值成功！"}, true},
      {"refused", Reply::result(500, "支付密码错误"), {"box 16 支付密码错误"}, true},
      {"session ended", Reply::result(200, "请重新登录"), {kSessionEndedBox}, false},
  };
  gateway.script("premcDeposit",
                 Reply::success({{"currentBalance", "8.00"},
                                 {"mcDepositList", {{{"mcBankId", "B1"}, {"mcBankName", "招商银行"}, {"mcShortCode", "1234"}}}}}));
  AnswerWithCurrent("mcDeposit");
  StartGateway();
  Run("mcDeposit", cases,
      [&] {
        Open();
        Select(0);
        CMilocardChargeDlg* page = host->GetMilocardPage();
        Type(page->m_hWnd, IDC_MILOCARD_AMOUNT, u" 30.5 ");
        TypeInto(GetDlgItem(page->m_hWnd, IDC_MILOCARD_PASSWORD), u"pay123456");
        Key(IDC_RECHARGE_ACTION);
      },
      [&](const StatusCase&) { EXPECT_TRUE(Shown(host->GetMilocardPage())); });
  // The chosen card, the amount as checked and the password the gateway decrypts.
  auto sent = gateway.waitForRequest("mcDeposit");
  ASSERT_TRUE(sent);
  EXPECT_EQ("B1", sent->field("mcBankId"));
  EXPECT_EQ("1234", sent->field("mcShortCode"));
  EXPECT_EQ("30.5", sent->field("depositAmount"));
  auto plain = gateway.key().decryptPassword(sent->field("payPassword"));
  ASSERT_TRUE(plain);
  EXPECT_EQ("pay123456", plain->password);
}

// Each page's request held at the gateway: the unread count's notification comes during the wait,
// which goes on; the page's own refusal then shows with its own memo.
TEST_F(RechargeStatusTest, TheUnreadCountDuringAWaitChangesNothing)
{
  struct Case {
    const char* operation;
    std::function<void()> act;
    const char* box;
  };
  gateway.script("getSupportedChargeCard",
                 Reply::success({{"supportedAmount", {{{"amount", "50"}}}}, {"rate", "0.05"}, {"balance", "3.00"}}));
  gateway.script("premcDeposit",
                 Reply::success({{"currentBalance", "8.00"},
                                 {"mcDepositList", {{{"mcBankId", "B1"}, {"mcBankName", "招商银行"}, {"mcShortCode", "1234"}}}}}));
  ScriptBanks();
  const Case cases[] = {
      {"easyownDeposit", [&] { UpToCardConfirm(); }, "box 64 卡号或密码错误"},
      {"draftDeposit",
       [&] {
         Open();
         Select(3);
         Type(host->GetDraftPage()->m_hWnd, IDC_DRAFT_NUMBER, u"123456789012345678");
         TypeInto(GetDlgItem(host->GetDraftPage()->m_hWnd, IDC_DRAFT_PASSWORD), u"654321");
       },
       "box 16 卡号或密码错误"},
      {"mcDeposit",
       [&] {
         Open();
         Select(0);
         Type(host->GetMilocardPage()->m_hWnd, IDC_MILOCARD_AMOUNT, u"30");
         TypeInto(GetDlgItem(host->GetMilocardPage()->m_hWnd, IDC_MILOCARD_PASSWORD), u"pay123456");
       },
       "box 16 卡号或密码错误"},
  };
  for (const Case& c : cases)
    gateway.script(c.operation, Reply::stall(Reply::result(500, "卡号或密码错误")));
  StartGateway();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.operation);
    c.act();
    if (HasFatalFailure())
      return;
    app.ClearCalls();
    ui.Invoke([&] { ::PostMessageW(host->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_RECHARGE_ACTION, 0), 0); });
    ASSERT_TRUE(gateway.waitForRequest(c.operation));
    // The animated wait keeps the user-interface thread busy: poll, without running it until idle.
    ASSERT_TRUE(PollUntil([&] { return BoxShown(); }));
    NotifyUnreadCount();
    EXPECT_TRUE(BoxShown()) << "the wait goes on";
    EXPECT_TRUE(Boxes().empty());
    gateway.releaseStalled();
    ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(std::vector<std::string>{c.box}, Boxes());
    CloseHost();
  }
}

}  // namespace
