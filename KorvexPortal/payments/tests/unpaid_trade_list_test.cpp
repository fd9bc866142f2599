// The unpaid-trade list against the test gateway: its rows, banner count and link from the
// login reply's table, paying a row (its detail fetched, the trade pay dialog opened on it, the
// row removed once paid), a refused detail, the soft keys and the link to the desktop.
#include "ini_file.h"
#include "payment_screen_fixture.h"
#include "trade_pay_dlg.h"
#include "tradepay_ids.h"
#include "unpaid_ids.h"
#include "unpaid_trade_list_dlg.h"

using namespace paytest;
using testgateway::Reply;

namespace {

constexpr char16_t kThreeOfFive[] = uR"({"resultStatus":100,"totalCount":5,"tradeTableList":[
  {"tradeNO":"T1","tradeStatus":"WAIT_BUYER_PAY","tradeTime":"07-01 10:00","goodsName":"西湖龙井","act":"买","tradeMoney":"128.50"},
  {"tradeNO":"T2","tradeStatus":"WAIT_BUYER_PAY","tradeTime":"07-02 11:30","goodsName":"紫砂壶","act":"买","tradeMoney":"66.00"},
  {"tradeNO":"T3","tradeStatus":"WAIT_BUYER_PAY","tradeTime":"07-03 09:15","goodsName":"茶盘","act":"买","tradeMoney":"45.00"}]})";

// The detail of an unpaid trade as "queryTradeDetail" answers it.
nlohmann::ordered_json UnpaidDetail(const std::string& tradeNo, const std::string& tradeType = "担保交易")
{
  return {{"paid", 0},           {"tradeNO", tradeNo},        {"tradeType", tradeType},
          {"goodsName", "西湖龙井"}, {"partnerName", "淘宝"},       {"sellerName", "李四"},
          {"sellerAccount", "li@example.com"}, {"payMoney", "128.50"}, {"balance", "300.00"},
          {"supportedByCoupon", "true"}, {"couponAmount", "5"}};
}

class UnpaidListTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override { dialog.reset(); }

  HWND Show(const std::u16string& table = kThreeOfFive)
  {
    app.SetUserName(u"张三");
    app.SetGreeting(u"春眠不觉晓");
    ui.Invoke([&] {
      dialog = std::make_unique<CUnpaidTradeListDlg>();
      dialog->SetTradeListText(table.c_str());
      dialog->SetReplyValue(u"2010-07-04 12:09:30");
      dialog->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return dialog->m_hWnd;
  }
  HWND Item(int id) { return GetDlgItem(dialog->m_hWnd, id); }
  std::vector<std::u16string> TradeNumbers()
  {
    std::vector<std::u16string> numbers;
    for (const TradeRecord& trade : dialog->GetTrades().records)
      numbers.push_back(trade.tradeNO);
    return numbers;
  }
  // The list itself (inside its scroll panel): it has the focus once the dialog shows rows.
  HWND List()
  {
    HWND focus = nullptr;
    ui.Invoke([&] { focus = GetFocus(); });
    return focus;
  }
  // Taps the row; returns once the detail's outcome shows (the trade pay dialog or a box).
  void TapRow(HWND list, int row)
  {
    int height = 32 * GetSystemMetrics(SM_CXSCREEN) / 240;
    ASSERT_TRUE(kvtest::TapWindow(list, POINT{60, row * height + height / 2}));
    ASSERT_TRUE(RunUntil([&] {
      CTradePayDlg* pay = dialog->GetTradePayDlg();
      return (pay && pay->IsWindow()) || !Boxes().empty() || !dialog->IsWindow();
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  // Pays in the open trade pay dialog; returns once its outcome reached the list.
  void PayInTradePayDlg()
  {
    CTradePayDlg* pay = dialog->GetTradePayDlg();
    ASSERT_TRUE(pay && pay->IsWindow());
    HWND edit = pay->GetDlgItem(IDC_TRADEPAY_PASSWORD);
    ui.Invoke([&] { SetFocus(edit); });
    ASSERT_TRUE(kvtest::TypeText(u"pay123456"));
    ASSERT_TRUE(kvtest::TapWindow(pay->GetDlgItem(IDC_TRADEPAY_PAY)));
    ASSERT_TRUE(RunUntil([&] { return dialog->GetTradePayDlg() == nullptr; }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  // The detail asked for each request, answered by the scripted handler.
  void ScriptDetails(std::function<Reply(const std::string& tradeNo)> answer)
  {
    gateway.scriptHandler("queryTradeDetail",
                          [answer](const testgateway::RecordedRequest& r) { return answer(r.field("tradeNO")); });
  }

  std::unique_ptr<CUnpaidTradeListDlg> dialog;
};

TEST_F(UnpaidListTest, ListsTheTradesOfTheLoginReplyAndLinksToTheRest)
{
  Show();
  EXPECT_EQ((std::vector<std::u16string>{u"T1", u"T2", u"T3"}), TradeNumbers());
  EXPECT_EQ(5, dialog->GetTotalCount());
  EXPECT_TRUE(IsWindowVisible(Item(IDC_UNPAID_MORE))) << "more trades wait than are listed";
  EXPECT_EQ(u"您的账户：张三", Text(Item(IDC_UNPAID_ACCOUNT)));
  EXPECT_EQ(u"待付款交易", std::u16string(dialog->GetTitle().GetString()));
}

TEST_F(UnpaidListTest, AllTradesListedOrATableThatDoesNotParseHidesTheLink)
{
  struct Case {
    const char* name;
    const char16_t* table;
    size_t rows;
  };
  const Case cases[] = {
      {"all listed", uR"({"resultStatus":100,"totalCount":1,"tradeTableList":[{"tradeNO":"T1"}]})", 1},
      {"refused", uR"({"resultStatus":500,"totalCount":3,"tradeTableList":[{"tradeNO":"T1"}]})", 0},
      {"not JSON", u"<html>", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Show(c.table);
    EXPECT_EQ(c.rows, dialog->GetTrades().records.size());
    EXPECT_FALSE(IsWindowVisible(Item(IDC_UNPAID_MORE)));
    ui.Invoke([&] { dialog->CloseDialog(2, FALSE); });
    ui.Invoke([&] { dialog.reset(); });
  }
}

TEST_F(UnpaidListTest, PayingARowOpensTheTradePayOnItsDetailAndRemovesItOncePaid)
{
  ScriptDetails([](const std::string& tradeNo) { return Reply::success(UnpaidDetail(tradeNo)); });
  gateway.script("tradePay", Reply::success());
  StartGateway();
  Show();
  HWND list = List();
  TapRow(list, 0);
  auto detail = gateway.waitForRequest("queryTradeDetail");
  ASSERT_TRUE(detail);
  EXPECT_EQ("T1", detail->field("tradeNO"));
  CTradePayDlg* pay = dialog->GetTradePayDlg();
  ASSERT_TRUE(pay && pay->IsWindow());
  EXPECT_EQ(u"交易对方：李四", Text(pay->GetDlgItem(IDC_TRADEPAY_COUNTERPARTY)));
  EXPECT_EQ(u"来　　自：淘宝", Text(pay->GetDlgItem(IDC_TRADEPAY_FROM)));
  EXPECT_EQ(u"您的户名：张三", Text(pay->GetDlgItem(IDC_TRADEPAY_ACCOUNT)));
  EXPECT_EQ(u"安全签名：春眠不觉晓", Text(pay->GetDlgItem(IDC_TRADEPAY_SIGNATURE)));
  EXPECT_EQ(u"您有 5 元红包可用于此次支付。", Text(pay->GetDlgItem(IDC_TRADEPAY_COUPON_NOTE)));

  PayInTradePayDlg();
  auto paid = gateway.waitForRequest("tradePay");
  ASSERT_TRUE(paid);
  EXPECT_EQ("T1", paid->field("tradeNo"));
  EXPECT_EQ("Y", paid->field("useCoupon"));
  EXPECT_EQ((std::vector<std::u16string>{u"T2", u"T3"}), TradeNumbers());
  EXPECT_EQ(4, dialog->GetTotalCount());

  // The first row is now the trade that was second.
  app.ClearCalls();
  TapRow(list, 0);
  auto next = gateway.waitForRequest("queryTradeDetail", 2);
  ASSERT_TRUE(next);
  EXPECT_EQ("T2", next->field("tradeNO"));
}

TEST_F(UnpaidListTest, AnInstantTransferTradeAsksBeforeItIsPaid)
{
  ScriptDetails([](const std::string& tradeNo) { return Reply::success(UnpaidDetail(tradeNo, "即时到账交易")); });
  StartGateway();
  Show();
  TapRow(List(), 1);
  app.answer = KV_BOX_ANSWER_CANCEL;
  CTradePayDlg* pay = dialog->GetTradePayDlg();
  ASSERT_TRUE(pay && pay->IsWindow());
  HWND edit = pay->GetDlgItem(IDC_TRADEPAY_PASSWORD);
  ui.Invoke([&] { SetFocus(edit); });
  ASSERT_TRUE(kvtest::TypeText(u"pay123456"));
  ASSERT_TRUE(kvtest::TapWindow(pay->GetDlgItem(IDC_TRADEPAY_PAY)));
  EXPECT_EQ((std::vector<std::string>{"box 65 即时到账交易不受Korvex保护，钱直接到对方的账户，不能退款，您是否确定。"}),
            Boxes());
  EXPECT_TRUE(gateway.requestsOf("tradePay").empty());
  EXPECT_EQ(3u, dialog->GetTrades().records.size());
}

TEST_F(UnpaidListTest, ARefusedDetailShowsItsMemoAndNeverOpensThePreviousTrade)
{
  gateway.scriptSequence("queryTradeDetail", {Reply::success(UnpaidDetail("T1")), Reply::result(500, "交易不存在"),
                                              Reply::http(500)});
  StartGateway();
  Show();
  HWND list = List();
  TapRow(list, 0);
  ASSERT_TRUE(dialog->GetTradePayDlg());
  // Back from the trade pay dialog, then the next detail is refused.
  ASSERT_TRUE(kvtest::TapWindow(dialog->GetTradePayDlg()->GetDlgItem(IDC_TRADEPAY_BACK)));
  app.ClearCalls();
  TapRow(list, 1);
  EXPECT_EQ((std::vector<std::string>{"box 16 交易不存在"}), Boxes());
  EXPECT_FALSE(dialog->GetTradePayDlg() && dialog->GetTradePayDlg()->IsWindow());
  // No answer at all: the network text.
  app.ClearCalls();
  TapRow(list, 2);
  EXPECT_EQ((std::vector<std::string>{"box 16 连接服务器出错"}), Boxes());
  EXPECT_FALSE(dialog->GetTradePayDlg() && dialog->GetTradePayDlg()->IsWindow());
  EXPECT_EQ(3u, dialog->GetTrades().records.size());
}

TEST_F(UnpaidListTest, ASessionEndedWhileFetchingTheDetailClosesTheList)
{
  gateway.script("queryTradeDetail", Reply::result(200, "请重新登录"));
  StartGateway();
  HWND window = Show();
  TapRow(List(), 0);
  ASSERT_TRUE(RunUntil([&] { return !IsWindow(window); }));
  EXPECT_FALSE(dialog->GetTradePayDlg());
}

TEST_F(UnpaidListTest, PayWithoutTheListFocusedAsksToChooseATrade)
{
  Show();
  HWND check = Item(IDC_UNPAID_SHOW_NEW_ONLY);
  ui.Invoke([&] { SetFocus(check); });
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_UNPAID_PAY)));
  EXPECT_EQ((std::vector<std::string>{"box 64 请选择需要付款的交易！"}), Boxes());
}

TEST_F(UnpaidListTest, SkipAndTheLinkGoToTheDesktop)
{
  HWND window = Show();
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_UNPAID_SKIP)));
  EXPECT_EQ((std::vector<std::string>{"ShowDesktopDlg(5)"}), app.Calls());
  EXPECT_FALSE(IsWindow(window));

  ui.Invoke([&] {
    app.desktop = kvtest::CreateRecordingWindow(log, {.name = "desktop", .style = WS_POPUP});
    dialog.reset();
  });
  app.ClearCalls();
  window = Show();
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_UNPAID_MORE)));
  EXPECT_EQ((std::vector<std::string>{"ShowDesktopDlg(5)"}), app.Calls());
  auto commands = Received("desktop", WM_COMMAND);
  ASSERT_EQ(1u, commands.size());
  EXPECT_EQ(static_cast<WPARAM>(ID_KV_DESKTOP_ITEM0 + 2), commands[0].wParam);
  EXPECT_EQ(4, commands[0].lParam);
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace

namespace {

// The check box and the settings: it starts from "ShowOrderList", and closing the list stores the
// choice in "appconfig.dat"; checked, it also keeps this login's server time for the next login's
// query of unpaid trades.
TEST_F(UnpaidListTest, TheCheckBoxStartsFromTheSettingAndClosingTheListSavesTheChoice)
{
  struct Case {
    const char* name;
    const char16_t* stored;  // "ShowOrderList" before; null: absent
    bool tap;
    bool startsChecked;
    const char16_t* saved;
    const char16_t* serverTime;  // "loginServerTime" after
  };
  const char16_t kEarlier[] = u"2010-07-01 08:00:00";
  const char16_t kThisLogin[] = u"2010-07-04 12:09:30";
  const Case cases[] = {
      {"absent, left", nullptr, false, false, u"0", kEarlier},
      {"absent, checked", nullptr, true, false, u"1", kThisLogin},
      {"empty, left", u"", false, false, u"0", kEarlier},
      {"0, checked", u"0", true, false, u"1", kThisLogin},
      {"1, left", u"1", false, true, u"1", kThisLogin},
      {"1, unchecked", u"1", true, true, u"0", kEarlier},
  };
  CIniFile* config = app.GetConfigFile();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    config->Remove(u"main", u"ShowOrderList");
    if (c.stored)
      app.SetConfig(u"ShowOrderList", c.stored);
    app.SetConfig(u"loginServerTime", kEarlier);
    ASSERT_TRUE(config->Save());
    app.ClearCalls();

    HWND window = Show();
    HWND check = Item(IDC_UNPAID_SHOW_NEW_ONLY);
    EXPECT_EQ(c.startsChecked ? BST_CHECKED : BST_UNCHECKED, SendMessageW(check, BM_GETCHECK, 0, 0));
    if (c.tap) {
      ASSERT_TRUE(kvtest::TapWindow(check));
    }
    // Checking it tells where every unpaid trade can still be found; unchecking says nothing.
    std::vector<std::string> told;
    if (c.tap && !c.startsChecked)
      told.push_back("box 64 所有未付款交易可以在“交易查询”中查看！");
    EXPECT_EQ(told, Boxes());
    ASSERT_TRUE(kvtest::TapWindow(Item(IDC_UNPAID_SKIP)));
    ASSERT_FALSE(IsWindow(window));
    ui.Invoke([&] { dialog.reset(); });

    // What reached the disk.
    ASSERT_TRUE(config->Load());
    CStringW value;
    ASSERT_TRUE(app.GetConfig(u"ShowOrderList", value));
    EXPECT_EQ(std::u16string(c.saved), value.GetString());
    ASSERT_TRUE(app.GetConfig(u"loginServerTime", value));
    EXPECT_EQ(std::u16string(c.serverTime), value.GetString());
  }
}

}  // namespace

namespace {

// Up and Down move the focus in a cycle: the list's rows, the link when it shows, the check box,
// and round to the list.
TEST_F(UnpaidListTest, UpAndDownCycleThroughTheRowsTheLinkAndTheCheckBox)
{
  struct Step {
    UINT key;
    const char* focus;  // "list", "link" or "check"
    int row;            // the list's selected row
  };
  struct Case {
    const char* name;
    const char16_t* table;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"link shown",
       kThreeOfFive,
       {{VK_DOWN, "list", 1},
        {VK_DOWN, "list", 2},
        {VK_DOWN, "link", 2},
        {VK_DOWN, "check", 2},
        {VK_DOWN, "list", 0},
        {VK_UP, "check", 0},
        {VK_UP, "link", 0},
        {VK_UP, "list", 2},
        {VK_UP, "list", 1},
        {VK_TAB, "link", 1},
        {VK_TAB, "check", 1},
        {VK_TAB, "list", 1}}},
      {"link hidden",
       uR"({"resultStatus":100,"totalCount":2,"tradeTableList":[{"tradeNO":"T1"},{"tradeNO":"T2"}]})",
       {{VK_DOWN, "list", 1}, {VK_DOWN, "check", 1}, {VK_UP, "list", 1}, {VK_UP, "list", 0}, {VK_UP, "check", 0},
        {VK_DOWN, "list", 0}, {VK_TAB, "check", 0}, {VK_TAB, "list", 0}}},
  };
  RunAppLoop();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Show(c.table);
    HWND list = List();
    auto focusName = [&] {
      HWND focus = List();
      return focus == list                              ? std::string("list")
             : focus == Item(IDC_UNPAID_MORE)          ? std::string("link")
             : focus == Item(IDC_UNPAID_SHOW_NEW_ONLY) ? std::string("check")
                                                        : std::string("elsewhere");
    };
    ASSERT_EQ("list", focusName());
    for (size_t i = 0; i < c.steps.size(); ++i) {
      const Step& step = c.steps[i];
      SCOPED_TRACE(i);
      ASSERT_TRUE(kvtest::PressKey(step.key));
      EXPECT_EQ(step.focus, focusName());
      LRESULT selected = 0;
      ui.Invoke([&] { selected = SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); });
      EXPECT_EQ(step.row, selected);
    }
    EXPECT_TRUE(Boxes().empty());
    ui.Invoke([&] { dialog->CloseDialog(2, FALSE); });
    ui.Invoke([&] { dialog.reset(); });
  }
}

}  // namespace
