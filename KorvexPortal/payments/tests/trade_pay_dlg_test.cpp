// The trade pay dialog against the test gateway: the summary of each kind, the red packet, the
// request of each kind with its keys and the password encrypted under the gateway's key, each
// reply status's box and result message, the instant-transfer question, a notification of
// another operation during the wait.
#include "payment_screen_fixture.h"
#include "shell/sip.h"
#include "testing/screen_rotation.h"
#include "trade_pay_dlg.h"
#include "tradepay_ids.h"

using namespace paytest;
using testgateway::Reply;

namespace {

constexpr char kPassword[] = "pay123456";

class TradePayTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override { dialog.reset(); }

  // The dialog opened over a recording opener with the record.
  HWND Open(TradePayParams& record, int resultMessage = 0)
  {
    opener = Opener();
    ui.Invoke([&] {
      dialog = std::make_unique<CTradePayDlg>();
      dialog->SetResultMessageChoice(resultMessage);
      dialog->ShowDialog(opener, reinterpret_cast<LPARAM>(&record), FALSE, TRUE);
      // The input panel that the password raised goes down: the whole form shows.
      SipShowIM(SIPF_OFF);
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return dialog->m_hWnd;
  }
  HWND Item(int id) { return GetDlgItem(dialog->m_hWnd, id); }
  // Types the password into the guarded edit and taps "付款"; returns once the outcome is shown
  // (a box other than the wait, or the dialog gone) or nothing was sent.
  void PayWith(const std::u16string& password = Wide(kPassword))
  {
    HWND edit = Item(IDC_TRADEPAY_PASSWORD);
    ui.Invoke([&] { SetFocus(edit); });
    ASSERT_TRUE(kvtest::TypeText(password));
    ASSERT_TRUE(kvtest::TapWindow(Item(IDC_TRADEPAY_PAY)));
    ASSERT_TRUE(RunUntil([&] { return !Boxes().empty() || !IsWindow(dialog->m_hWnd); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  static TradePayParams Record(int kind)
  {
    TradePayParams record;
    record.kind = kind;
    record.tradeNo = u"T20100704001";
    record.counterparty = u"李四的茶叶专卖店";
    record.goodsName = u"西湖龙井";
    record.from = u"淘宝";
    record.accountName = u"张三";
    record.totalPayable = u"128.50";
    record.availableBalance = u"300.00";
    record.signature = u"春眠不觉晓";
    record.couponAvailable = u"false";
    return record;
  }
  // A trade payment with a red packet of 5 yuan.
  static TradePayParams RedPacketRecord()
  {
    TradePayParams record = Record(kTradePayTrade);
    record.couponAvailable = u"true";
    record.couponAmount = u"5";
    return record;
  }
  // The password the request carried, decrypted with the gateway's key.
  std::string SentPassword(const testgateway::RecordedRequest& request)
  {
    auto plain = gateway.key().decryptPassword(request.field("payPassword"));
    return plain ? plain->password : "<not decryptable>";
  }

  HWND opener = nullptr;
  std::unique_ptr<CTradePayDlg> dialog;
  // The reply of the table's current case.
  std::mutex currentLock;
  Reply current = Reply::success();
};

TEST_F(TradePayTest, EachKindShowsItsSummary)
{
  struct Case {
    int kind;
    const char16_t* counterparty;
    const char16_t* from;
    const char16_t* state;
    const char16_t* note;
  };
  const Case cases[] = {
      {kTradePayTrade, u"交易对方：李四的茶叶专卖店", u"来　　自：淘宝", u"可用余额：300.00",
       u"* 当余额不足时从您开通Milocard的银行卡账户里扣除。"},
      {kTradePayConfirmGoods, u"交易对方：李四的茶叶专卖店", u"来　　自：淘宝", u"交易状态：卖家已发货", u""},
      {kTradePayMobileRecharge, u"充值金额：50.00", u"手机号码：13912345678", u"可用余额：300.00",
       u"* 当余额不足时从您开通Milocard的银行卡账户里扣除。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    TradePayParams record = Record(c.kind);
    if (c.kind == kTradePayMobileRecharge) {
      record.counterparty = u"50.00";
      record.from = u"13912345678";
    }
    Open(record);
    EXPECT_EQ(u"安全签名：春眠不觉晓", Text(Item(IDC_TRADEPAY_SIGNATURE)));
    EXPECT_EQ(c.counterparty, Text(Item(IDC_TRADEPAY_COUNTERPARTY)));
    EXPECT_EQ(u"商　　品：西湖龙井", Text(Item(IDC_TRADEPAY_GOODS)));
    EXPECT_EQ(c.from, Text(Item(IDC_TRADEPAY_FROM)));
    EXPECT_EQ(u"您的户名：张三", Text(Item(IDC_TRADEPAY_ACCOUNT)));
    EXPECT_EQ(u"应付总价：128.50", Text(Item(IDC_TRADEPAY_TOTAL)));
    EXPECT_EQ(c.state, Text(Item(IDC_TRADEPAY_STATE)));
    EXPECT_EQ(c.note, Text(Item(IDC_TRADEPAY_NOTE)));
    ui.Invoke([&] { dialog->CloseDialog(2, FALSE); });
  }
  // A long counterparty is shortened to 24 characters.
  TradePayParams record = Record(kTradePayTrade);
  record.counterparty = u"一二三四五六七八九十一二三四五六七八九十一二三四五六";
  Open(record);
  EXPECT_EQ(u"交易对方：一二三四五六七八九十一二三四五六七八九十一二..", Text(Item(IDC_TRADEPAY_COUNTERPARTY)));
}

TEST_F(TradePayTest, TheRedPacketIsOfferedCheckedAndSentAsChosen)
{
  gateway.script("tradePay", Reply::success());
  StartGateway();
  TradePayParams record = RedPacketRecord();
  Open(record);
  EXPECT_TRUE(IsWindowVisible(Item(IDC_TRADEPAY_COUPON_NOTE)));
  EXPECT_EQ(u"您有 5 元红包可用于此次支付。", Text(Item(IDC_TRADEPAY_COUPON_NOTE)));
  EXPECT_EQ(u"使用红包 5 元", Text(Item(IDC_TRADEPAY_COUPON_CHECK)));
  EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_TRADEPAY_COUPON_CHECK), BM_GETCHECK, 0, 0));
  // Unchecked: "N", the amount still sent.
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_TRADEPAY_COUPON_CHECK)));
  EXPECT_EQ(BST_UNCHECKED, SendMessageW(Item(IDC_TRADEPAY_COUPON_CHECK), BM_GETCHECK, 0, 0));
  PayWith();
  auto sent = gateway.waitForRequest("tradePay");
  ASSERT_TRUE(sent);
  EXPECT_EQ("N", sent->field("useCoupon"));
  EXPECT_EQ("5", sent->field("couponAmount"));

  // Without a red packet neither the note nor the check box shows, and none is used.
  TradePayParams plain = Record(kTradePayTrade);
  plain.couponAvailable = u"false";
  plain.couponAmount = u"5";
  ui.Invoke([&] { dialog->CloseDialog(2, FALSE); });
  Open(plain);
  EXPECT_FALSE(IsWindowVisible(Item(IDC_TRADEPAY_COUPON_NOTE)));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_TRADEPAY_COUPON_CHECK)));
  app.ClearCalls();
  PayWith();
  auto second = gateway.waitForRequest("tradePay", 2);
  ASSERT_TRUE(second);
  EXPECT_EQ("N", second->field("useCoupon"));
}

// Turning the screen lays the red-packet line out again for the new width; the user's choice
// stays, and is what is sent.
TEST_F(TradePayTest, TurningTheScreenKeepsTheRedPacketChoice)
{
  gateway.script("tradePay", Reply::success());
  StartGateway();
  TradePayParams record = RedPacketRecord();
  Open(record);
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_TRADEPAY_COUPON_CHECK)));
  ASSERT_EQ(BST_UNCHECKED, SendMessageW(Item(IDC_TRADEPAY_COUPON_CHECK), BM_GETCHECK, 0, 0));

  ui.Invoke([] { kvtest::RotateScreen(); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(IsWindowVisible(Item(IDC_TRADEPAY_COUPON_CHECK)));
  EXPECT_EQ(BST_UNCHECKED, SendMessageW(Item(IDC_TRADEPAY_COUPON_CHECK), BM_GETCHECK, 0, 0));
  PayWith();
  auto sent = gateway.waitForRequest("tradePay");
  ASSERT_TRUE(sent);
  EXPECT_EQ("N", sent->field("useCoupon"));
  ui.Invoke([] { kvtest::RotateScreen(); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
}

struct StatusCase {
  const char* name;
  int kind;
  int resultMessage;
  const char* operation;
  Reply reply;
  std::vector<std::string> boxes;
  // The message to the opener: none when message is 0.
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  bool stillOpen;
};

TEST_F(TradePayTest, EachKindAndStatusSendsItsRequestShowsItsBoxAndTellsTheOpener)
{
  const StatusCase cases[] = {
      {"trade paid", kTradePayTrade, 0, "tradePay", Reply::success(), {"box 128 支付成功！"},
       WM_KV_TRADEPAY_RESULT, 1, 100, true},
      {"goods confirmed", kTradePayConfirmGoods, 1, "confirmGoods", Reply::success({{"memo", "已确认"}}),
       {"box 128 确认收货成功！"}, WM_KV_CONFIRMGOODS_RESULT, 1, kTradePayConfirmGoods, true},
      {"phone recharged", kTradePayMobileRecharge, 0, "deposit4Mobile", Reply::success({{"memo", "充值成功"}}),
       {"box 128 充值成功"}, WM_KV_TRADEPAY_RESULT, 1, 100, true},
      // The service client hands a paid bill over as 71 with its page.
      {"bill paid", kTradePayBill, 1, "pucPay", Reply::success({{"url", "https://pay.example/ok"}}),
       {"box 128 支付成功！"}, WM_KV_CONFIRMGOODS_RESULT, 1, kTradePayBill, true},
      {"bill refused", kTradePayBill, 1, "pucPay", Reply::result(500, "账单已过期"), {"box 16 账单已过期"},
       WM_KV_CONFIRMGOODS_RESULT, 0, -1, true},
      {"trade refused", kTradePayTrade, 0, "tradePay", Reply::result(301, "余额不足"), {"box 16 余额不足"},
       WM_KV_TRADEPAY_RESULT, 0, 301, true},
      {"no connection", kTradePayTrade, 0, "tradePay", Reply::close(), {"box 16 连接服务器出错"},
       WM_KV_TRADEPAY_RESULT, 0, 0, true},
      {"wrong password", kTradePayTrade, 0, "tradePay", Reply::result(105, "密码错误"),
       {"box 16 支付密码错误！请重输"}, 0, 0, 0, true},
      {"not activated", kTradePayTrade, 0, "tradePay", Reply::result(111, "未开通"),
       {"box 64 您需在本手机客户端上开通支付功能，请按短信提示回复开通。"}, 0, 0, 0, true},
      {"not activated, list opener", kTradePayConfirmGoods, 1, "confirmGoods", Reply::result(111, "未开通"),
       {"box 64 您需在本手机客户端上开通支付功能，请按短信提示回复开通。"}, WM_KV_CONFIRMGOODS_RESULT, 0, -1, true},
      {"session ended", kTradePayTrade, 0, "tradePay", Reply::result(200, "请重新登录"), {}, 0, 0, 0, false},
  };
  for (const char* operation : {"tradePay", "confirmGoods", "deposit4Mobile", "pucPay"})
    gateway.scriptHandler(operation, [&](const testgateway::RecordedRequest&) {
      std::lock_guard<std::mutex> guard(currentLock);
      return current;
    });
  StartGateway();
  // The desktop keeps a trade query page: only the session's end closes it.
  ui.Invoke([&] { app.tradeQuery = kvtest::CreateRecordingWindow(log, {.name = "tradequery", .style = WS_POPUP}); });
  size_t sentBefore = 0;
  for (const StatusCase& c : cases) {
    SCOPED_TRACE(c.name);
    {
      std::lock_guard<std::mutex> guard(currentLock);
      current = c.reply;
    }
    app.ClearCalls();
    log.Clear();
    TradePayParams record = Record(c.kind);
    Open(record, c.resultMessage);
    HWND window = dialog->m_hWnd;
    PayWith();

    // A closed connection is tried again: at least one request went out.
    auto sent = gateway.requests();
    ASSERT_GT(sent.size(), sentBefore);
    sentBefore = sent.size();
    const testgateway::RecordedRequest& request = sent.back();
    EXPECT_EQ(c.operation, request.operation);
    EXPECT_EQ(kPassword, SentPassword(request));
    if (c.kind == kTradePayBill) {
      EXPECT_EQ("T20100704001", request.field("billNO"));
    } else if (c.kind != kTradePayMobileRecharge) {
      EXPECT_EQ("T20100704001", request.field("tradeNo"));
    }
    if (c.stillOpen) {
      EXPECT_EQ(c.boxes, Boxes());
    } else {
      // The session's end is the application's common handling: at most its notice shows.
      for (const std::string& box : Boxes())
        EXPECT_EQ(0u, box.rfind("box 64 ", 0)) << box;
    }
    auto tradePay = Received("opener", WM_KV_TRADEPAY_RESULT);
    auto confirm = Received("opener", WM_KV_CONFIRMGOODS_RESULT);
    if (c.message == 0) {
      EXPECT_TRUE(tradePay.empty() && confirm.empty());
    } else {
      auto& got = c.message == WM_KV_TRADEPAY_RESULT ? tradePay : confirm;
      EXPECT_EQ(0u, (c.message == WM_KV_TRADEPAY_RESULT ? confirm : tradePay).size());
      ASSERT_EQ(1u, got.size());
      EXPECT_EQ(c.wParam, got[0].wParam);
      EXPECT_EQ(c.lParam, got[0].lParam);
    }
    EXPECT_EQ(c.stillOpen, IsWindow(window) != FALSE);
    // The session's end returns to the login and closes the desktop's trade query without
    // raising what lies under it.
    EXPECT_EQ(!c.stillOpen, Called("ShowLoginDlg"));
    auto closes = Received("tradequery", WM_CLOSE);
    ASSERT_EQ(c.stillOpen ? 0u : 1u, closes.size());
    if (!closes.empty()) {
      EXPECT_EQ(1u, closes[0].wParam);
    }
    if (IsWindow(window))
      ui.Invoke([&] { dialog->CloseDialog(2, FALSE); });
  }
}

TEST_F(TradePayTest, AWrongPasswordClearsTheFieldForAnotherTry)
{
  gateway.scriptSequence("tradePay", {Reply::result(105, "密码错误"), Reply::success()});
  StartGateway();
  TradePayParams record = Record(kTradePayTrade);
  Open(record);
  PayWith(u"wrong1234");
  WCHAR typed[260] = {};
  ui.Invoke([&] { GetInputForMe(Item(IDC_TRADEPAY_PASSWORD), typed, sizeof typed); });
  EXPECT_EQ(u"", std::u16string(typed));
  app.ClearCalls();
  PayWith();
  auto second = gateway.waitForRequest("tradePay", 2);
  ASSERT_TRUE(second);
  EXPECT_EQ(kPassword, SentPassword(*second));
  EXPECT_EQ((std::vector<std::string>{"box 128 支付成功！"}), Boxes());
}

TEST_F(TradePayTest, ABadPasswordIsRefusedBeforeAnythingIsSent)
{
  StartGateway();
  TradePayParams record = Record(kTradePayTrade);
  Open(record);
  PayWith(u"abc");
  EXPECT_EQ((std::vector<std::string>{"box 64 密码格式不正确，只能由6-20个字符或数字组成！"}), Boxes());
  EXPECT_TRUE(gateway.requests().empty());
}

TEST_F(TradePayTest, TheInstantTransferQuestionCancelledSendsNothing)
{
  gateway.script("tradePay", Reply::success());
  StartGateway();
  TradePayParams record = Record(kTradePayTrade);
  record.instantTransfer = 1;
  Open(record);
  // Only an explicit OK pays: Cancel, and a box that ended with no answer at all, send nothing.
  for (int answer : {KV_BOX_ANSWER_CANCEL, KV_BOX_NO_ANSWER}) {
    SCOPED_TRACE(answer);
    app.answer = answer;
    app.ClearCalls();
    ui.Invoke([&] { ClearInputForMe(Item(IDC_TRADEPAY_PASSWORD)); });
    PayWith();
    EXPECT_EQ((std::vector<std::string>{"box 65 即时到账交易不受Korvex保护，钱直接到对方的账户，不能退款，您是否确定。"}),
              Boxes());
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_TRUE(gateway.requests().empty());
    EXPECT_TRUE(Received("opener", WM_KV_TRADEPAY_RESULT).empty());
    EXPECT_TRUE(IsWindow(dialog->m_hWnd));
  }

  // Confirmed, the trade is paid.
  app.answer = KV_BOX_ANSWER_OK;
  app.ClearCalls();
  ui.Invoke([&] { ClearInputForMe(Item(IDC_TRADEPAY_PASSWORD)); });
  HWND edit = Item(IDC_TRADEPAY_PASSWORD);
  ui.Invoke([&] { SetFocus(edit); });
  ASSERT_TRUE(kvtest::TypeText(Wide(kPassword)));
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_TRADEPAY_PAY)));
  ASSERT_TRUE(RunUntil([&] { return Boxes().size() == 2; }));
  EXPECT_EQ(1u, gateway.requestsOf("tradePay").size());
  EXPECT_EQ("box 128 支付成功！", Boxes().back());
}

TEST_F(TradePayTest, AnotherOperationsNotificationDuringTheWaitChangesNothing)
{
  gateway.script("tradePay", Reply::stall(Reply::result(301, "余额不足")));
  StartGateway();
  TradePayParams record = Record(kTradePayTrade);
  Open(record);
  HWND edit = Item(IDC_TRADEPAY_PASSWORD);
  ui.Invoke([&] { SetFocus(edit); });
  ASSERT_TRUE(kvtest::TypeText(Wide(kPassword)));
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_TRADEPAY_PAY)));
  ASSERT_TRUE(gateway.waitForRequest("tradePay"));
  // The unread count (code 32) reaches every listener while the payment waits, from the
  // network worker's side as a command notifies.
  // The call returns once every listener has been told.
  std::thread([&] { service->ListenerPart()->OnServiceNotify(32, S_OK, 3, nullptr); }).join();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(Received("opener", WM_KV_TRADEPAY_RESULT).empty());
  gateway.releaseStalled();
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ((std::vector<std::string>{"box 16 余额不足"}), Boxes());
  auto result = Received("opener", WM_KV_TRADEPAY_RESULT);
  ASSERT_EQ(1u, result.size());
  EXPECT_EQ(301, result[0].lParam);
}

}  // namespace

namespace {

// Tab, Shift+Tab, Up and Down move the focus between the password and the red packet's check box
// and never onto a label; without a red packet it stays on the password.
TEST_F(TradePayTest, KeysMoveTheFocusBetweenThePasswordAndTheRedPacket)
{
  constexpr UINT kShiftTab = 0;
  const char* password = "password";
  const char* redPacket = "red packet";
  struct Step {
    UINT key;
    const char* focus;
  };
  struct Case {
    const char16_t* couponAvailable;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {u"true",
       {{VK_TAB, redPacket},
        {VK_TAB, password},
        {VK_DOWN, redPacket},
        {VK_DOWN, password},
        {VK_UP, redPacket},
        {VK_UP, password},
        {kShiftTab, redPacket},
        {kShiftTab, password}}},
      {u"false", {{VK_TAB, password}, {VK_DOWN, password}, {VK_UP, password}, {kShiftTab, password}}},
  };
  RunAppLoop();
  for (const Case& c : cases) {
    SCOPED_TRACE(kvtest::Narrow(c.couponAvailable));
    TradePayParams record = Record(kTradePayTrade);
    record.couponAvailable = c.couponAvailable;
    record.couponAmount = u"5";
    Open(record);
    auto focus = [&] {
      HWND window = nullptr;
      ui.Invoke([&] { window = GetFocus(); });
      return window == Item(IDC_TRADEPAY_PASSWORD)       ? password
             : window == Item(IDC_TRADEPAY_COUPON_CHECK) ? redPacket
                                                         : "elsewhere";
    };
    ASSERT_STREQ(password, focus());
    for (size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE(i);
      if (c.steps[i].key == kShiftTab) {
        ASSERT_TRUE(kvtest::KeyDown(VK_SHIFT));
        ASSERT_TRUE(kvtest::PressKey(VK_TAB));
        ASSERT_TRUE(kvtest::KeyUp(VK_SHIFT));
      } else {
        ASSERT_TRUE(kvtest::PressKey(c.steps[i].key));
      }
      EXPECT_STREQ(c.steps[i].focus, focus());
    }
    ui.Invoke([&] { dialog->CloseDialog(2, FALSE); });
  }
}

}  // namespace
