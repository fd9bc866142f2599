// The withdrawal dialog against the test gateway: the account data it shows, the checks of the
// amount and password, "drawMoney" with what was typed (the password decrypted at the gateway),
// the fields emptied after a submit, each reply status's box (status 111 going on to the
// activation request), a cancelled wait, and another operation's notification during the wait,
// whose memo does not replace the gateway's.
#include "account_screen_fixture.h"
#include "atm_dlg.h"
#include "atm_ids.h"
#include "selvane/selvane.h"

using namespace accounttest;
using testgateway::Reply;

namespace {

constexpr char16_t kPassword[] = u"pay123456";

class AtmTest : public AccountScreenTest<CAtmDlg> {
 protected:
  HWND OpenWithData()
  {
    return Open([](CAtmDlg& atm) {
      atm.SetWithdrawInfo(u"", nullptr, u"张三", u"招商银行", u"借记卡", u"6225880123456789", u"50000.00");
    });
  }
  void Fill(const std::u16string& amount, const std::u16string& password = kPassword)
  {
    Type(Item(IDC_ATM_AMOUNT), amount);
    Type(Item(IDC_ATM_PASSWORD), password);
  }
  std::u16string TypedPassword()
  {
    WCHAR typed[SELVANE_MAX_INPUT + 1] = {};
    ui.Invoke([&] { GetInputForMe(Item(IDC_ATM_PASSWORD), typed, sizeof typed); });
    return typed;
  }
};

TEST_F(AtmTest, ShowsTheAccountItWithdrawsTo)
{
  OpenWithData();
  EXPECT_EQ(u"张三", Text(Item(IDC_ATM_HOLDER)));
  EXPECT_EQ(u"招商银行", Text(Item(IDC_ATM_BANK)));
  EXPECT_EQ(u"借记卡", Text(Item(IDC_ATM_ACCOUNT_TYPE)));
  EXPECT_EQ(u"6225880123456789", Text(Item(IDC_ATM_ACCOUNT_NO)));
  EXPECT_EQ(u"50000.00", Text(Item(IDC_ATM_LIMIT)));
}

// On a dialog of another background the holder's name keeps its own light grey; the other values
// take the dialog's.
class WhiteAtmDlg : public CAtmDlg {
 public:
  COLORREF GetBackgroundColor() override { return 0xFFFFFF; }
};

class WhiteAtmTest : public AccountScreenTest<WhiteAtmDlg> {};

TEST_F(WhiteAtmTest, TheHolderLabelLiesOnItsOwnLightGrey)
{
  Open([](CAtmDlg& atm) { atm.SetWithdrawInfo(u"", u"", u"张三", u"招商银行", u"借记卡", u"6225880123456789", u"5.00"); });
  auto background = [&](int id) {
    HWND label = Item(id);
    RECT client{};
    GetClientRect(label, &client);
    HDC dc = GetDC(label);
    COLORREF colour = GetPixel(dc, client.right - 2, client.bottom / 2);  // right of the short text
    ReleaseDC(label, dc);
    return colour;
  };
  EXPECT_EQ(0xF5F5F5u, background(IDC_ATM_HOLDER));
  EXPECT_EQ(0xFFFFFFu, background(IDC_ATM_BANK));
}

TEST_F(AtmTest, BadInputIsRefusedBeforeAnythingIsSent)
{
  struct Case {
    const char16_t* amount;
    const char16_t* password;
    const char* box;
  };
  const Case cases[] = {
      {u"", kPassword, "box 23 输入金额不能为空！"},
      // The edit takes two decimals at most; a pasted third is refused by the check.
      {u"10.005", kPassword, "box 23 金额格式不正确！"},
      {u"10.00", u"abc", "box 23 密码格式不正确，只能由6-20个字符或数字组成！"},
  };
  StartGateway();
  for (const Case& c : cases) {
    SCOPED_TRACE(kvtest::Narrow(c.amount));
    app.ClearCalls();
    OpenWithData();
    ui.Invoke([&] { SetWindowTextW(Item(IDC_ATM_AMOUNT), c.amount); });
    Type(Item(IDC_ATM_PASSWORD), c.password);
    Command(IDC_ATM_SUBMIT);
    EXPECT_EQ((std::vector<std::string>{c.box}), Boxes());
    Close();
  }
  EXPECT_TRUE(gateway.requests().empty());
}

TEST_F(AtmTest, EachStatusSendsWhatWasTypedAndShowsItsBox)
{
  struct Case {
    const char* name;
    Reply reply;
    bool mainDialog;
    std::vector<std::string> boxes;
    bool stillOpen;
    size_t activations;  // "confirmMobilePay" requests the reply led to
  };
  const char* notActivated = "box 64 您需在本手机客户端上开通支付功能，请按短信提示回复开通。";
  const Case cases[] = {
      {"drawn", Reply::success(), true, {"box 64 提现成功！  请您在1-2个工作日后,查询银行账户余额。"}, false, 0},
      {"refused", Reply::result(500, "可提现余额不足"), true, {"box 23 可提现余额不足"}, true, 0},
      {"session ended", Reply::result(200, "请重新登录"), true, {"box 64 请重新登录"}, false, 0},
      // Not activated: the notice, then the activation request with its own box.
      {"not activated", Reply::result(111, "未开通支付"), true, {notActivated, "box 64 开通短信已发送"}, true, 1},
      {"not activated, no main dialog", Reply::result(111, "未开通支付"), false, {notActivated}, true, 0},
  };
  AnswerWithCurrent("drawMoney");
  gateway.script("confirmMobilePay", Reply::success({{"memo", "开通短信已发送"}}));
  StartGateway();
  UseTopWindow();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetCurrent(c.reply);
    app.SetMainDialog(c.mainDialog ? topWindow.get() : nullptr);
    app.ClearCalls();
    size_t before = gateway.requestsOf("drawMoney").size();
    size_t activationsBefore = gateway.requestsOf("confirmMobilePay").size();
    HWND window = OpenWithData();
    Fill(u"120.50");
    Command(IDC_ATM_SUBMIT);
    auto sent = gateway.waitForRequest("drawMoney", before + 1);
    ASSERT_TRUE(sent);
    // The request carries the amount and password as checked, though both fields were emptied.
    EXPECT_EQ("120.50", sent->field("amount"));
    EXPECT_EQ("pay123456", SentPassword(*sent));
    if (c.activations) {
      ASSERT_TRUE(RunUntil([&] { return Boxes().size() == c.boxes.size(); })) << Recorded();
    }
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(c.activations, gateway.requestsOf("confirmMobilePay").size() - activationsBefore);
    EXPECT_EQ(c.stillOpen, IsWindow(window) != FALSE);
    if (IsWindow(window)) {
      EXPECT_EQ(u"", Text(Item(IDC_ATM_AMOUNT)));
      EXPECT_EQ(u"", TypedPassword());
    }
    Close();
  }
}

TEST_F(AtmTest, CancellingTheWaitDropsTheRequestAndShowsNothing)
{
  gateway.script("drawMoney", Reply::stall(Reply::success()));
  StartGateway();
  HWND window = OpenWithData();
  Fill(u"10");
  ui.Invoke([&] { PostMessageW(window, WM_COMMAND, IDC_ATM_SUBMIT, 0); });
  ASSERT_TRUE(gateway.waitForRequest("drawMoney"));
  // The wait box's strip keeps its thread busy while it is up: poll for it rather than wait for idle.
  ASSERT_TRUE(kvtest::PollUntil([&] {
    HWND box = CThreadMessageBox::SharedWindow();
    return box && IsWindowVisible(box);
  }));
  PostMessageW(CThreadMessageBox::SharedWindow(), WM_COMMAND, KV_BOX_ANSWER_CANCEL, 0);
  // The command is cancelled: its connection is dropped before the gateway answers.
  EXPECT_TRUE(gateway.waitForAbandoned(1)) << Recorded();
  gateway.releaseStalled();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(Boxes().empty()) << Recorded();
  EXPECT_TRUE(IsWindow(window));
  EXPECT_EQ(u"", Text(Item(IDC_ATM_AMOUNT)));
  EXPECT_EQ(u"", TypedPassword());
}

TEST_F(AtmTest, TheUnreadCountDuringTheWaitNeitherEndsItNorReplacesTheMemo)
{
  gateway.script("drawMoney", Reply::stall(Reply::result(500, "可提现余额不足")));
  StartGateway();
  OpenWithData();
  Fill(u"10");
  ui.Invoke([&] { PostMessageW(dialog->m_hWnd, WM_COMMAND, IDC_ATM_SUBMIT, 0); });
  ASSERT_TRUE(gateway.waitForRequest("drawMoney"));
  NotifyUnreadCount();
  EXPECT_TRUE(Boxes().empty());
  gateway.releaseStalled();
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ((std::vector<std::string>{"box 23 可提现余额不足"}), Boxes());
}

}  // namespace
