// The transfer against the test gateway: the field checks before "p2pPrePay", each prepay
// status, the payment to a payee who is or is not yet a contact, and the result page that keeps
// the payee in the contact list file and at the gateway.
#include "contact_store.h"
#include "input_validators.h"
#include "p2p_ids.h"
#include "p2p_pay_dlg.h"
#include "payment_screen_fixture.h"
#include "transfer_checks.h"

using namespace paytest;
using testgateway::Reply;

namespace {

const nlohmann::ordered_json kPayee = {{"isQuser", 1}, {"toPayUserName", "李四"}, {"toPayAccount", "li@example.com"}};

class TransferTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override { dialog.reset(); }

  // Shows the transfer dialog; once its unpaid count was answered when the gateway runs.
  void Show()
  {
    app.SetLogonId(u"zhangsan@example.com");
    app.SetUserName(u"张三");
    ui.Invoke([&] {
      dialog = std::make_unique<CP2PPayDlg>();
      dialog->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    if (service) {
      ASSERT_TRUE(RunUntil([&] { return dialog->GetUnpaidCount() >= 0; }));
    }
  }
  HWND Item(int id) { return GetDlgItem(dialog->m_hWnd, id); }
  void Fill(const std::u16string& account, const std::u16string& amount, const std::u16string& reason)
  {
    ui.Invoke([&] {
      SetWindowTextW(Item(IDC_P2P_ACCOUNT), account.c_str());
      SetWindowTextW(Item(IDC_P2P_AMOUNT), amount.c_str());
      SetWindowTextW(Item(IDC_P2P_REASON), reason.c_str());
    });
  }
  // Taps submit and waits until the outcome shows (a box, the confirmation page, or the close).
  void Submit()
  {
    ASSERT_TRUE(kvtest::TapWindow(Item(IDC_P2P_SUBMIT)));
    ASSERT_TRUE(RunUntil([&] {
      return !Boxes().empty() || dialog->GetConfirmDlg().IsWindow() || !dialog->IsWindow();
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  int FocusedItem()
  {
    int id = 0;
    ui.Invoke([&] { id = GetDlgCtrlID(GetFocus()); });
    return id;
  }
  // Types the password on the confirmation page and confirms; waits for its outcome.
  void Confirm(const std::u16string& password = u"pay123456")
  {
    CP2PPayConfirmDlg& confirm = dialog->GetConfirmDlg();
    HWND edit = confirm.GetDlgItem(IDC_P2P_CONFIRM_PASSWORD);
    ui.Invoke([&] { SetFocus(edit); });
    ASSERT_TRUE(kvtest::TypeText(password));
    app.ClearCalls();
    ASSERT_TRUE(kvtest::TapWindow(confirm.GetDlgItem(IDC_P2P_SUBMIT)));
    ASSERT_TRUE(RunUntil([&] {
      CP2PPayResultDlg* result = confirm.GetResultDlg();
      return Boxes().size() > 1 || (result && result->IsWindow()) || !confirm.IsWindow();
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }

  std::unique_ptr<CP2PPayDlg> dialog;
};

TEST_F(TransferTest, FieldChecksRunInOrderAndFocusTheField)
{
  CStringW accountMessage;
  CStringW noAccount;
  ValidateAccount(noAccount, accountMessage);
  struct Case {
    const char16_t* account;
    const char16_t* amount;
    const char16_t* reason;
    std::u16string box;  // empty: all checks pass
    int focus;
  };
  const std::u16string amountMissing = u"请输入大于0的付款金额！";
  const std::u16string amountFormat = u"付款金额格式不正确，请重输！";
  const Case cases[] = {
      {u"", u"", u"", amountMissing, IDC_P2P_AMOUNT},
      {u"li@example.com", u"0.00", u"房租", amountMissing, IDC_P2P_AMOUNT},
      {u"li@example.com", u"01", u"房租", amountFormat, IDC_P2P_AMOUNT},
      {u"li@example.com", u"1 2", u"房租", amountFormat, IDC_P2P_AMOUNT},
      {u"li@example.com", u"0.5", u"  ", u"请输入付款原因！", IDC_P2P_REASON},
      {u"  ", u"10", u"一二三四五六七八九十一二三四五六七八九十一二三四", accountMessage.GetString(), IDC_P2P_ACCOUNT},
      {u" li@example.com ", u"0.5", u"房租", u"", 0},
  };
  Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(kvtest::Narrow(std::u16string(c.amount) + u"/" + c.reason));
    app.ClearCalls();
    Fill(c.account, c.amount, c.reason);
    ASSERT_TRUE(kvtest::TapWindow(Item(IDC_P2P_SUBMIT)));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    if (c.box.empty()) {
      EXPECT_TRUE(Boxes().empty());
      continue;
    }
    EXPECT_EQ((std::vector<std::string>{"box 23 " + kvtest::Narrow(c.box)}), Boxes());
    EXPECT_EQ(c.focus, FocusedItem());
  }
}

TEST_F(TransferTest, TheReasonFieldTakesNoMoreThan24Characters)
{
  // The field keeps longer text out; the check still stands behind it.
  TransferCheck check = CheckTransferFields(u"li@example.com", u"1", u"一二三四五六七八九十一二三四五六七八九十一二三四五");
  EXPECT_FALSE(check.passed);
  EXPECT_EQ(u"付款原因超出24个字符，请重输！", std::u16string(check.message.GetString()));
  EXPECT_EQ(IDC_P2P_REASON, check.focusItem);
  EXPECT_TRUE(CheckTransferFields(u"li@example.com", u"1", u"一二三四五六七八九十一二三四五六七八九十一二三四").passed);
  Show();
  ui.Invoke([&] { SetFocus(Item(IDC_P2P_REASON)); });
  ASSERT_TRUE(kvtest::TypeText(u"abcdefghijklmnopqrstuvwxyz"));
  EXPECT_EQ(u"abcdefghijklmnopqrstuvwx", Text(Item(IDC_P2P_REASON)));
}

TEST_F(TransferTest, EachPrepayStatusHasItsOutcome)
{
  struct Case {
    const char* name;
    Reply reply;
    std::vector<std::string> boxes;
    int focus;  // 0: not checked
    bool confirmShown;
    bool closed;
  };
  const Case cases[] = {
      {"payee known", Reply::success(kPayee), {}, 0, true, false},
      {"field error", Reply::result(301, "toPayAmount,超出单笔限额"), {"box 23 超出单笔限额"}, IDC_P2P_AMOUNT, false, false},
      {"field error on the reason", Reply::result(400, "toPayReason,含有非法字符"), {"box 23 含有非法字符"}, IDC_P2P_REASON,
       false, false},
      {"field error without a field", Reply::result(350, "对方账户不存在"), {"box 23 对方账户不存在"}, 0, false, false},
      {"refused", Reply::result(500, "系统繁忙"), {"box 16 系统繁忙"}, 0, false, false},
      {"no reply", Reply::http(500), {"box 16 连接服务器出错"}, 0, false, false},
      {"session ended", Reply::result(200, "请重新登录"), {"box 64 请重新登录"}, 0, false, true},
  };
  std::vector<Reply> replies;
  for (const Case& c : cases)
    replies.push_back(c.reply);
  gateway.scriptSequence("p2pPrePay", replies);
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 3}}));
  StartGateway();
  size_t sent = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Show();
    EXPECT_EQ(3, dialog->GetUnpaidCount());
    Fill(u"li@example.com", u"12.50", u"房租");
    ui.Invoke([&] { SetFocus(Item(IDC_P2P_ACCOUNT)); });
    app.ClearCalls();
    Submit();
    auto request = gateway.waitForRequest("p2pPrePay", ++sent);
    ASSERT_TRUE(request);
    EXPECT_EQ("li@example.com", request->field("toPayAccount"));
    EXPECT_EQ("12.50", request->field("toPayAmount"));
    EXPECT_EQ("房租", request->field("toPayReason"));
    EXPECT_EQ("", request->field("toPayMemo"));
    EXPECT_EQ(c.boxes, Boxes());
    if (c.focus) {
      EXPECT_EQ(c.focus, FocusedItem());
    }
    EXPECT_EQ(c.confirmShown, dialog->GetConfirmDlg().IsWindow() != FALSE);
    EXPECT_EQ(c.closed, !dialog->IsWindow());
    EXPECT_EQ(c.closed, Called("ShowLoginDlg"));
    if (c.confirmShown) {
      CP2PPayConfirmDlg& confirm = dialog->GetConfirmDlg();
      EXPECT_EQ(u"对方账户：li@example.com", Text(confirm.GetDlgItem(IDC_P2P_CONFIRM_ACCOUNT)));
      EXPECT_EQ(u"对方姓名：李四", Text(confirm.GetDlgItem(IDC_P2P_CONFIRM_NAME)));
      EXPECT_EQ(u"付款金额：12.50", Text(confirm.GetDlgItem(IDC_P2P_CONFIRM_AMOUNT)));
    }
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); });
    ui.Invoke([&] { dialog.reset(); });
  }
}

TEST_F(TransferTest, PayingAPayeeWhoIsAContactEndsTheTransfer)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 0}}));
  gateway.script("p2pPrePay", Reply::success(kPayee));
  gateway.script("p2pPay", Reply::success({{"isContact", 1}}));
  StartGateway();
  Show();
  Fill(u"li@example.com", u"12.50", u"房租");
  Submit();
  Confirm();
  auto paid = gateway.waitForRequest("p2pPay");
  ASSERT_TRUE(paid);
  EXPECT_FALSE(paid->field("payPassword").empty());
  EXPECT_EQ((std::vector<std::string>{"box 65 即时到账交易不受Korvex保护，钱直接到对方的账户，不能退款，您是否确定。",
                                      "box 128 支付成功！"}),
            Boxes());
  EXPECT_FALSE(dialog->GetConfirmDlg().IsWindow());
  EXPECT_FALSE(dialog->IsWindow());
}

TEST_F(TransferTest, AWrongFormPasswordOrACancelledQuestionSendsNothing)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 0}}));
  gateway.script("p2pPrePay", Reply::success(kPayee));
  StartGateway();
  Show();
  Fill(u"li@example.com", u"12.50", u"房租");
  Submit();
  CP2PPayConfirmDlg& confirm = dialog->GetConfirmDlg();
  HWND edit = confirm.GetDlgItem(IDC_P2P_CONFIRM_PASSWORD);
  ui.Invoke([&] { SetFocus(edit); });
  ASSERT_TRUE(kvtest::TypeText(u"12"));
  app.ClearCalls();
  ASSERT_TRUE(kvtest::TapWindow(confirm.GetDlgItem(IDC_P2P_SUBMIT)));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  ASSERT_EQ(1u, Boxes().size());
  EXPECT_EQ(0u, Boxes()[0].rfind("box 23 ", 0));

  app.answer = KV_BOX_ANSWER_CANCEL;
  ui.Invoke([&] { SetFocus(edit); });
  ASSERT_TRUE(kvtest::TypeText(u"3456"));
  ASSERT_TRUE(kvtest::TapWindow(confirm.GetDlgItem(IDC_P2P_SUBMIT)));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(gateway.requestsOf("p2pPay").empty());
  EXPECT_TRUE(confirm.IsWindow());
}

TEST_F(TransferTest, TheResultPageKeepsANewPayeeLocallyAndAtTheGateway)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 0}}));
  gateway.script("p2pPrePay", Reply::success(kPayee));
  gateway.script("p2pPay", Reply::success({{"isContact", 0}}));
  gateway.script("addContact", Reply::success());
  StartGateway();
  Show();
  Fill(u"li@example.com", u"12.50", u"房租");
  Submit();
  Confirm();
  CP2PPayResultDlg* result = dialog->GetConfirmDlg().GetResultDlg();
  ASSERT_TRUE(result && result->IsWindow());
  EXPECT_EQ(u"李四(li@example.com)", Text(result->GetDlgItem(IDC_P2P_RESULT_PAYEE)));
  EXPECT_EQ(u"添加联系人", std::u16string(result->GetTitle().GetString()));

  app.ClearCalls();
  ASSERT_TRUE(kvtest::TapWindow(result->GetDlgItem(IDC_P2P_RESULT_ADD)));
  ASSERT_TRUE(RunUntil([&] { return !dialog->IsWindow(); }));
  auto added = gateway.waitForRequest("addContact");
  ASSERT_TRUE(added);
  ASSERT_TRUE(added->json);
  EXPECT_EQ("", added->field("groupName"));
  EXPECT_EQ("li@example.com", (*added->json)["contactInfo"]["account"]);
  EXPECT_EQ("李四", (*added->json)["contactInfo"]["name"]);
  EXPECT_EQ((std::vector<std::string>{"box 128 李四已经成为您的联系人。"}), Boxes());
  EXPECT_TRUE(CContactStore(u"zhangsan@example.com").Exists(CContactRecord{u"", u"li@example.com"}));
}

TEST_F(TransferTest, SkippingTheResultPageClosesAllThreeScreens)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 0}}));
  gateway.script("p2pPrePay", Reply::success(kPayee));
  gateway.script("p2pPay", Reply::success({{"isContact", 0}}));
  StartGateway();
  Show();
  Fill(u"li@example.com", u"12.50", u"房租");
  Submit();
  Confirm();
  CP2PPayResultDlg* result = dialog->GetConfirmDlg().GetResultDlg();
  ASSERT_TRUE(result && result->IsWindow());
  ASSERT_TRUE(kvtest::TapWindow(result->GetDlgItem(IDC_P2P_RESULT_SKIP)));
  ASSERT_TRUE(RunUntil([&] { return !dialog->IsWindow(); }));
  EXPECT_FALSE(dialog->GetConfirmDlg().IsWindow());
  EXPECT_TRUE(gateway.requestsOf("addContact").empty());
  EXPECT_FALSE(CContactStore(u"zhangsan@example.com").Exists(CContactRecord{u"", u"li@example.com"}));
}

TEST_F(TransferTest, TheBannerOpensTheUnpaidTradesOfTheDesktop)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 2}}));
  StartGateway();
  ui.Invoke([&] { app.desktop = kvtest::CreateRecordingWindow(log, {.name = "desktop", .style = WS_POPUP}); });
  Show();
  EXPECT_EQ(2, dialog->GetUnpaidCount());
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_P2P_BANNER)));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  auto commands = Received("desktop", WM_COMMAND);
  ASSERT_EQ(1u, commands.size());
  EXPECT_EQ(static_cast<WPARAM>(ID_KV_DESKTOP_ITEM0 + 2), commands[0].wParam);
  EXPECT_EQ(4, commands[0].lParam);
  EXPECT_FALSE(dialog->IsWindow());
}

}  // namespace
