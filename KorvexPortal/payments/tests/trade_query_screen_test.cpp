// The trade query list against the test gateway: the first query and its filter, each reply
// status, paging, the filter (chosen in its skinned list too), opening a row (the detail, or the
// trade pay dialog on the fetched detail) and the row after a payment.
#include "combo_input.h"
#include "testing/screenshot.h"
#include "trade_detail_dlg.h"
#include "trade_query_fixture.h"
#include "trade_status_table.h"
#include "tradepay_ids.h"

using namespace paytest;
using testgateway::Reply;

namespace {

TEST_F(TradeQueryTest, TheUnpaidPresetAsksForWaitingTradesAndShowsThePage)
{
  gateway.script("queryTradeLists", TradePage({TradeJson("T1", "WAIT_BUYER_PAY", 0), TradeJson("T2", "TRADE_FINISHED", 0),
                                               TradeJson("T3", "WAIT_BUYER_CONFIRM_GOODS", 0)},
                                              1, 25));
  StartGateway();
  Show(CTradeQueryDlg::kFilterWaitPay);
  auto sent = gateway.waitForRequest("queryTradeLists");
  ASSERT_TRUE(sent);
  EXPECT_EQ("waitPay", sent->field("queryTradeType"));
  EXPECT_EQ("1m", sent->field("timeRange"));
  EXPECT_EQ(1, Number(*sent, "nextPage"));
  int size = dialog->GetPageSize();
  EXPECT_GT(size, 0);
  EXPECT_EQ(size, Number(*sent, "pageCount"));
  EXPECT_EQ(u"交易查询", std::u16string(dialog->GetTitle().GetString()));

  EXPECT_EQ((std::vector<std::u16string>{u"T1", u"T2", u"T3"}), TradeNumbers());
  EXPECT_EQ(25, dialog->GetTotalCount());
  EXPECT_TRUE(IsWindowVisible(dialog->GetFilterCombo()));
  EXPECT_EQ(4, static_cast<int>(SendMessageW(dialog->GetFilterCombo(), CB_GETCURSEL, 0, 0)));
  EXPECT_EQ(List(), Focus());
  EXPECT_EQ(0, dialog->GetList().GetSelectedIndex());
  std::u16string counter = u"1/" + Wide(std::to_string((25 + size - 1) / size));
  EXPECT_EQ(counter, CentreKey());
  // Icons only on the trades that wait for the user.
  const auto& rows = dialog->GetTradeRows().m_rows;
  EXPECT_NE(nullptr, rows[0]->GetCell(5)->m_hImage);
  EXPECT_EQ(nullptr, rows[1]->GetCell(5)->m_hImage);
  EXPECT_NE(nullptr, rows[2]->GetCell(5)->m_hImage);
}

TEST_F(TradeQueryTest, EachReplyStatusEndsItsWay)
{
  struct Case {
    const char* name;
    Reply reply;
    std::vector<std::string> boxes;
    bool open;
    bool login;
  };
  const Case cases[] = {
      {"no trades", TradePage({}, 1, 0), {}, true, false},
      {"refused", Reply::result(500, "查询失败"), {"box 64 查询失败"}, true, false},
      {"no answer", Reply::http(500), {"box 64 连接服务器出错"}, true, false},
      {"session ended", Reply::result(200, "会话已过期"), {"box 64 会话已过期"}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway.script("queryTradeLists", c.reply);
    if (!service)
      StartGateway();
    app.ClearCalls();
    Show();
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(c.open, dialog->IsWindow() != FALSE);
    EXPECT_EQ(c.login, Called("ShowLoginDlg"));
    if (c.open) {
      // The single row of an empty result; the combo has the focus and the clock shows.
      EXPECT_EQ(&dialog->GetEmptyRows(), dialog->GetList().GetModel());
      EXPECT_TRUE(dialog->GetTradeRows().m_rows.empty());
      EXPECT_EQ(dialog->GetFilterCombo(), Focus());
      EXPECT_EQ(std::u16string::npos, CentreKey().find(u'/'));
      // Opening the row does nothing.
      size_t details = gateway.requestsOf("queryTradeDetail").size();
      ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_KV_LIST_OPENITEM, 0, 0); });
      EXPECT_EQ(details, gateway.requestsOf("queryTradeDetail").size());
      EXPECT_EQ(nullptr, dialog->GetTradeDetailDlg());
      ui.Invoke([&] { dialog->CloseDialog(2, FALSE); });
    }
    ui.Invoke([&] { dialog.reset(); });
  }
}

TEST_F(TradeQueryTest, ACancelledQueryLeavesNoItemOnAFreedRow)
{
  gateway.scriptSequence("queryTradeLists", {TradePage({TradeJson("T1", "TRADE_FINISHED", 0)}, 1, 1),
                                             Reply::stall(TradePage({}, 1, 0))});
  StartGateway();
  Show();
  ASSERT_EQ(1u, dialog->GetTradeRows().m_rows.size());
  ui.Post([&] { dialog->Refresh(); });
  ASSERT_TRUE(gateway.waitForRequest("queryTradeLists", 2));
  // The user cancels the wait.
  ASSERT_TRUE(PollUntil([] { return IsWindowVisible(CThreadMessageBox::SharedWindow()); }));
  ASSERT_TRUE(kvtest::TapWindow(GetDlgItem(CThreadMessageBox::SharedWindow(), KV_BOX_ANSWER_CANCEL)));
  ASSERT_TRUE(PollUntil([] { return !IsWindowVisible(CThreadMessageBox::SharedWindow()); }));
  gateway.releaseStalled();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(dialog->GetTradeRows().m_rows.empty());
  EXPECT_EQ(nullptr, dialog->GetList().GetItemData(0));
  ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_KV_LIST_OPENITEM, 0, 0); });
  EXPECT_EQ((std::vector<std::string>{"box 64 请先选择一条记录！"}), Boxes());
  EXPECT_EQ(1u, gateway.requestsOf("queryTradeLists").size() - 1);
}

TEST_F(TradeQueryTest, AnotherOperationsNotificationDuringTheWaitChangesNothing)
{
  gateway.scriptSequence("queryTradeLists", {TradePage({TradeJson("T1", "TRADE_FINISHED", 0)}, 1, 1),
                                             Reply::stall(TradePage({TradeJson("T2", "TRADE_FINISHED", 0)}, 1, 1))});
  StartGateway();
  Show();
  ui.Post([&] { dialog->Refresh(); });
  ASSERT_TRUE(gateway.waitForRequest("queryTradeLists", 2));
  ASSERT_TRUE(PollUntil([] { return IsWindowVisible(CThreadMessageBox::SharedWindow()); }));
  // The unread count (code 32) reaches every listener while the list waits.
  std::thread([&] { service->ListenerPart()->OnServiceNotify(32, S_OK, 3, nullptr); }).join();
  EXPECT_TRUE(dialog->GetTradeRows().m_rows.empty()) << "still waiting";
  EXPECT_EQ(&dialog->GetTradeRows(), dialog->GetList().GetModel());
  EXPECT_TRUE(Boxes().empty());
  gateway.releaseStalled();
  ASSERT_TRUE(PollUntil([&] { return Replied(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ((std::vector<std::u16string>{u"T2"}), TradeNumbers());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(TradeQueryTest, PagingStopsAtEitherEnd)
{
  // Twice the rows per page plus one: three pages.
  gateway.scriptHandler("queryTradeLists", [](const testgateway::RecordedRequest& r) {
    int page = (*r.json)["nextPage"].get<int>();
    int size = (*r.json)["pageCount"].get<int>();
    return TradePage({TradeJson("P" + std::to_string(page), "TRADE_FINISHED", 0)}, page, 2 * size + 1);
  });
  StartGateway();
  Show();
  ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_PREVPAGE, 0); });
  EXPECT_EQ((std::vector<std::string>{"box 64 已经是第一页了！"}), Boxes());
  EXPECT_EQ(1, dialog->GetPage());
  EXPECT_EQ(List(), Focus());
  EXPECT_EQ(1u, gateway.requestsOf("queryTradeLists").size());

  app.ClearCalls();
  Query([&] { SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_NEXTPAGE, 0); });
  Query([&] { PostMessageW(dialog->m_hWnd, WM_KV_LIST_NEXTPAGE, 0, 0); });
  EXPECT_EQ(3, Number(gateway.requestsOf("queryTradeLists").back(), "nextPage"));
  EXPECT_EQ((std::vector<std::u16string>{u"P3"}), TradeNumbers());
  EXPECT_EQ(u"3/3", CentreKey());
  ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_NEXTPAGE, 0); });
  EXPECT_EQ((std::vector<std::string>{"box 64 已经是最后一页了！"}), Boxes());
  EXPECT_EQ(3, dialog->GetPage());
  EXPECT_EQ(3u, gateway.requestsOf("queryTradeLists").size());

  app.ClearCalls();
  Query([&] { PostMessageW(dialog->m_hWnd, WM_KV_LIST_PREVPAGE, 0, 0); });
  EXPECT_EQ(2, Number(gateway.requestsOf("queryTradeLists").back(), "nextPage"));
}

TEST_F(TradeQueryTest, ChoosingTheSelectedFilterSendsNothingAnotherAsksFromPageOne)
{
  gateway.script("queryTradeLists", TradePage({TradeJson("T1", "TRADE_FINISHED", 0)}, 1, 1));
  StartGateway();
  Show();
  HWND combo = dialog->GetFilterCombo();
  ui.Invoke([&] {
    SendMessageW(combo, CB_SETCURSEL, 0, 0);
    SendMessageW(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(1002, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
  });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(1u, gateway.requestsOf("queryTradeLists").size());

  Query([&] {
    SendMessageW(combo, CB_SETCURSEL, 2, 0);
    SendMessageW(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(1002, CBN_CLOSEUP), reinterpret_cast<LPARAM>(combo));
  });
  auto sent = gateway.requestsOf("queryTradeLists").back();
  EXPECT_EQ("tradeSuc", sent.field("queryTradeType"));
  EXPECT_EQ("1m", sent.field("timeRange"));
  EXPECT_EQ(1, Number(sent, "nextPage"));
}

// The filter is a skinned box that closes its list itself when an entry is tapped: the dialog
// still hears the list close and asks for the entry's trades. The list dropped at each size is
// saved for a reviewer (build/test/screenshots/).
TEST_F(TradeQueryTest, AFilterTappedInTheSkinnedListAsksForItsTrades)
{
  gateway.script("queryTradeLists", TradePage({TradeJson("T1", "TRADE_FINISHED", 0)}, 1, 1));
  StartGateway();
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    std::string size = UseSize(width, height);
    SCOPED_TRACE(size);
    Show();
    HWND combo = dialog->GetFilterCombo();
    EXPECT_TRUE(kvtest::ShowsComboSkin(combo));
    HWND list = kvtest::TapComboOpen(combo);
    ASSERT_NE(nullptr, list);
    EXPECT_FALSE(kvtest::SaveScreenshot("trade_query_filter_dropped_" + size).empty());
    size_t sent = gateway.requestsOf("queryTradeLists").size();
    ASSERT_TRUE(kvtest::TapListItem(list, 2));
    ASSERT_TRUE(RunUntil([&] { return gateway.requestsOf("queryTradeLists").size() > sent; }));
    ASSERT_TRUE(RunUntil([&] { return Replied(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    auto request = gateway.requestsOf("queryTradeLists").back();
    EXPECT_EQ("tradeSuc", request.field("queryTradeType"));
    EXPECT_EQ(1, Number(request, "nextPage"));
    EXPECT_EQ(0, SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(2, SendMessageW(combo, CB_GETCURSEL, 0, 0));
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      DestroyScreens();
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

nlohmann::ordered_json UnpaidDetailJson(const std::string& tradeNo)
{
  return {{"paid", 0},           {"tradeNO", tradeNo},    {"tradeType", "担保交易"}, {"goodsName", "西湖龙井"},
          {"partnerName", "淘宝"}, {"sellerName", "李四"}, {"sellerAccount", "li@example.com"},
          {"payMoney", "128.50"}, {"balance", "300.00"},  {"supportedByCoupon", "false"}, {"couponAmount", "0"}};
}

nlohmann::ordered_json PaidDetailJson(const std::string& tradeNo, const std::string& status)
{
  return {{"paid", 1},           {"tradeNO", tradeNo},       {"goodsName", "紫砂壶"}, {"tradeMoney", "66.00"},
          {"tradeTime", "2010-07-02 11:30"}, {"tradeType", "担保交易"}, {"tradeStatus", status},
          {"sellerName", "王五"}, {"logisticsid", 0}};
}

TEST_F(TradeQueryTest, OpeningARowPaysConfirmsOrShowsTheDetailByStatusAndBuyer)
{
  gateway.script("queryTradeLists",
                 TradePage({TradeJson("T1", "WAIT_BUYER_PAY", 0), TradeJson("T2", "WAIT_BUYER_CONFIRM_GOODS", 0),
                            TradeJson("T3", "WAIT_BUYER_PAY", 1), TradeJson("T4", "TRADE_FINISHED", 0, "交易成功结束")},
                           1, 4));
  gateway.scriptHandler("queryTradeDetail", [](const testgateway::RecordedRequest& r) {
    std::string no = r.field("tradeNO");
    if (no == "T2")
      return Reply::success(PaidDetailJson(no, "WAIT_BUYER_CONFIRM_GOODS"));
    if (no == "T1")
      return Reply::success(UnpaidDetailJson(no));
    return Reply::success(PaidDetailJson(no, "TRADE_FINISHED"));
  });
  StartGateway();
  Show();
  struct Case {
    int row;
    const char* tradeNo;
    bool pays;
    int kind;
    const char16_t* title;  // the confirmation's title, or the detail's caption
  };
  const Case cases[] = {
      {0, "T1", true, kTradePayTrade, nullptr},
      {1, "T2", true, kTradePayConfirmGoods, u"确认收货"},
      {2, "T3", false, 0, u"交易状态"},
      {3, "T4", false, 0, u"交易成功结束"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tradeNo);
    size_t details = gateway.requestsOf("queryTradeDetail").size();
    int height = RowHeight();
    ASSERT_TRUE(kvtest::TapWindow(List(), POINT{60, c.row * height + height / 2}));
    ASSERT_TRUE(RunUntil([&] {
      CTradePayDlg* pay = dialog->GetTradePayDlg();
      CTradeDetailDlg* detail = dialog->GetTradeDetailDlg();
      return (pay && pay->IsWindow()) || (detail && !detail->GetDetailRows().m_rows.empty()) || !Boxes().empty();
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_TRUE(Boxes().empty());
    auto asked = gateway.requestsOf("queryTradeDetail");
    ASSERT_EQ(details + 1, asked.size());
    EXPECT_EQ(c.tradeNo, asked.back().field("tradeNO"));
    CTradePayDlg* pay = dialog->GetTradePayDlg();
    CTradeDetailDlg* detail = dialog->GetTradeDetailDlg();
    EXPECT_EQ(c.pays, pay && pay->IsWindow());
    EXPECT_EQ(!c.pays, detail && detail->IsWindow());
    if (c.pays) {
      EXPECT_EQ(c.kind, dialog->GetTradePayParams().kind);
      if (c.title) {
        EXPECT_EQ(c.title, std::u16string(pay->GetTitle().GetString()));
      }
      EXPECT_EQ(Wide(c.tradeNo), std::u16string(dialog->GetTradePayParams().tradeNo.GetString()));
      ui.Invoke([&] { pay->CloseDialog(2, FALSE); });
    } else {
      EXPECT_EQ(c.title, std::u16string(detail->GetCaptionStrip().GetText().GetString()));
      ui.Invoke([&] { detail->CloseDialog(2, FALSE); });
    }
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

TEST_F(TradeQueryTest, ConfirmedGoodsTurnTheRowIntoAPlainTrade)
{
  gateway.script("queryTradeLists", TradePage({TradeJson("T2", "WAIT_BUYER_CONFIRM_GOODS", 0)}, 1, 1));
  gateway.script("queryTradeDetail", Reply::success(PaidDetailJson("T2", "WAIT_BUYER_CONFIRM_GOODS")));
  gateway.script("confirmGoods", Reply::success());
  StartGateway();
  Show();
  ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_OPENITEM, 0); });
  ASSERT_TRUE(RunUntil([&] { return dialog->GetTradePayDlg() && dialog->GetTradePayDlg()->IsWindow(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  CTradePayDlg* pay = dialog->GetTradePayDlg();
  HWND edit = pay->GetDlgItem(IDC_TRADEPAY_PASSWORD);
  ui.Invoke([&] { SetFocus(edit); });
  ASSERT_TRUE(kvtest::TypeText(u"pay123456"));
  ASSERT_TRUE(kvtest::TapWindow(pay->GetDlgItem(IDC_TRADEPAY_PAY)));
  ASSERT_TRUE(RunUntil([&] { return dialog->GetTradePayDlg() == nullptr; }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  auto confirmed = gateway.requestsOf("confirmGoods");
  ASSERT_EQ(1u, confirmed.size());
  EXPECT_EQ("T2", confirmed[0].field("tradeNo"));

  const CListRow* row = dialog->GetTradeRows().m_rows[0];
  EXPECT_EQ(1, row->m_nFlag);
  EXPECT_EQ(nullptr, row->GetCell(5)->m_hImage);
  EXPECT_EQ(TradeStatusTable::Instance().Lookup(u"TRADE_FINISHED"), row->GetCell(5)->m_strText);
  // It now opens the detail.
  ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_OPENITEM, 0); });
  ASSERT_TRUE(RunUntil([&] { return dialog->GetTradeDetailDlg() != nullptr; }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(u"交易成功结束", std::u16string(dialog->GetTradeDetailDlg()->GetCaptionStrip().GetText().GetString()));
}

TEST_F(TradeQueryTest, TheDetailOfATradeToPayRefusedOrEndingTheSession)
{
  gateway.script("queryTradeLists", TradePage({TradeJson("T1", "WAIT_BUYER_PAY", 0)}, 1, 1));
  gateway.scriptSequence("queryTradeDetail", {Reply::result(500, "交易不存在"), Reply::result(200, "会话已过期")});
  StartGateway();
  Show();
  ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_OPENITEM, 0); });
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
  EXPECT_EQ((std::vector<std::string>{"box 64 交易不存在"}), Boxes());
  EXPECT_EQ(nullptr, dialog->GetTradePayDlg());

  app.ClearCalls();
  ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_OPENITEM, 0); });
  ASSERT_TRUE(RunUntil([&] { return !dialog->IsWindow(); }));
  EXPECT_TRUE(Called("ShowLoginDlg"));
  EXPECT_EQ((std::vector<std::string>{"box 64 会话已过期"}), Boxes());
  EXPECT_FALSE(CThreadMessageBox::SharedWindow() && IsWindowVisible(CThreadMessageBox::SharedWindow()));
}

}  // namespace

namespace {

// The road of a trade paid from the desktop's trade query when the gateway has ended the
// session: the trade pay dialog gives way to the login, and the list of the ended session's
// trades closes behind it.
TEST_F(TradeQueryTest, ASessionEndedAtThePaymentClosesTheListAndReturnsToLogin)
{
  gateway.script("queryTradeLists", TradePage({TradeJson("T1", "WAIT_BUYER_PAY", 0)}, 1, 1));
  gateway.script("queryTradeDetail", Reply::success(UnpaidDetailJson("T1")));
  gateway.script("tradePay", Reply::result(200, "会话已过期"));
  StartGateway();
  Show();
  app.tradeQuery = dialog->m_hWnd;
  ui.Invoke([&] { SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_OPENITEM, 0); });
  ASSERT_TRUE(RunUntil([&] { return dialog->GetTradePayDlg() && dialog->GetTradePayDlg()->IsWindow(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  CTradePayDlg* pay = dialog->GetTradePayDlg();
  HWND payWindow = pay->m_hWnd;
  HWND edit = pay->GetDlgItem(IDC_TRADEPAY_PASSWORD);
  ui.Invoke([&] { SetFocus(edit); });
  ASSERT_TRUE(kvtest::TypeText(u"pay123456"));
  app.ClearCalls();
  ASSERT_TRUE(kvtest::TapWindow(pay->GetDlgItem(IDC_TRADEPAY_PAY)));
  ASSERT_TRUE(RunUntil([&] { return !dialog->IsWindow(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(1u, gateway.requestsOf("tradePay").size());
  EXPECT_FALSE(IsWindow(payWindow));
  EXPECT_EQ(nullptr, dialog->GetTradePayDlg());
  EXPECT_TRUE(Called("ShowLoginDlg"));
  EXPECT_EQ((std::vector<std::string>{"box 64 会话已过期"}), Boxes());
  EXPECT_FALSE(CThreadMessageBox::SharedWindow() && IsWindowVisible(CThreadMessageBox::SharedWindow()));
}

}  // namespace
