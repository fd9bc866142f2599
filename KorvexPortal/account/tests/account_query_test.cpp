// The account query page against the test gateway: the balance, the statement's first query,
// its paging, range (chosen in its skinned list too), empty result and reply statuses, the
// transaction detail, and a query that is cancelled or never starts.
#include <set>

#include "account_query_fixture.h"
#include "combo_input.h"
#include "list_results.h"
#include "net_transport.h"
#include "payment_service.h"
#include "testing/screenshot.h"

using namespace accounttest;
using testgateway::Reply;

namespace {

TEST_F(AccountQueryTest, OpeningAsksTheBalanceAndShowsItsRows)
{
  gateway.script("queryBalance", Balance());
  StartGateway();
  Show();
  auto sent = gateway.requestsOf("queryBalance");
  ASSERT_EQ(1u, sent.size());
  std::set<std::string> keys;
  for (auto& member : sent[0].json->items())
    keys.insert(member.key());
  EXPECT_EQ((std::set<std::string>{"operationType", "clientID"}), keys);
  const auto& rows = page->GetBalanceRows().m_rows;
  ASSERT_EQ(4u, rows.size());
  EXPECT_EQ((std::vector<std::u16string>{u"", u"用 户 名", u"：", u"张三"}), Cells(rows[0]));
  EXPECT_EQ((std::vector<std::u16string>{u"", u"你的账户", u"：", u"zhang@example.com"}), Cells(rows[1]));
  EXPECT_EQ((std::vector<std::u16string>{u"", u"当前余额", u"：", u"1234.50"}), Cells(rows[2]));
  EXPECT_EQ((std::vector<std::u16string>{u"", u"可用余额", u"：", u"1200.00"}), Cells(rows[3]));
  EXPECT_TRUE(gateway.requestsOf("queryTransList").empty()) << "the statement waits for its tab";
  EXPECT_EQ(u"账户查询", std::u16string(page->GetTitle().GetString()));
  // On the balance tab the menu key is blank and disabled.
  EXPECT_EQ(u"", Text(MenuKey()));
  EXPECT_FALSE(IsWindowEnabled(MenuKey()));
}

TEST_F(AccountQueryTest, EachBalanceReplyStatus)
{
  struct Case {
    const char* name;
    Reply reply;
    size_t rows;
    std::vector<std::string> boxes;
    bool closed;
  };
  const Case cases[] = {
      {"success", Balance(), 4, {}, false},
      {"refused", Reply::result(500, "余额查询失败"), 0, {"box 64 余额查询失败"}, false},
      {"session ended", Reply::result(200, "会话已结束"), 0, {"box 64 会话已结束"}, true},
      {"not JSON", Reply::http(200, "<html>"), 0, {"box 64 " + kvtest::Narrow(kServerConnectionErrorText)}, false},
  };
  StartGateway();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway.script("queryBalance", c.reply);
    app.ClearCalls();
    Show();
    EXPECT_EQ(c.rows, page->GetBalanceRows().m_rows.size());
    // The session's end shows its memo through the common handling, once.
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(c.closed, !page->IsWindow());
    EXPECT_EQ(c.closed, Called("ShowLoginDlg"));
    ui.Invoke([&] {
      if (page->IsWindow())
        page->CloseDialog(2, FALSE);
      page.reset();
    });
  }
}

TEST_F(AccountQueryTest, AnUnreadCountDuringTheWaitChangesNothing)
{
  gateway.script("queryBalance", Reply::stall(Balance()));
  StartGateway();
  app.SetUserName(u"张三");
  opener = Opener();
  ui.Invoke([&] {
    page = std::make_unique<CAccountQueryPage>();
    page->ShowDialog(opener, 0, FALSE, TRUE);
  });
  ui.Post([this] { page->QueryBalance(); });
  ASSERT_TRUE(PollUntil([&] { return gateway.stalledCount() == 1; }));
  page->OnServiceNotify(32, S_OK, 7, u"未读消息");
  page->OnServiceNotify(33, E_FAIL, 0, u"失败");
  kvtest::RunUntilIdle(50);
  EXPECT_TRUE(page->GetBalanceRows().m_rows.empty());
  EXPECT_TRUE(Boxes().empty());
  gateway.releaseStalled();
  ASSERT_TRUE(PollUntil([&] { return !page->GetBalanceRows().m_rows.empty(); }));
  EXPECT_EQ(4u, page->GetBalanceRows().m_rows.size());
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(AccountQueryTest, TheStatementAsksOnceWhenItsTabIsFirstChosen)
{
  gateway.script("queryBalance", Balance());
  gateway.script("queryTransList", TransPage({TransJson("L1"), TransJson("L2")}, 1, 2));
  StartGateway();
  Show();
  Query([this] { SelectTab(1); });
  auto sent = gateway.requestsOf("queryTransList");
  ASSERT_EQ(1u, sent.size());
  EXPECT_EQ("1d", sent[0].field("timeRange"));
  EXPECT_EQ(1, Number(sent[0], "nextPage"));
  EXPECT_EQ(Statement().GetList().GetCountPerPage(), Number(sent[0], "pageCount"));
  EXPECT_EQ(2u, Statement().GetTransRows().m_rows.size());
  EXPECT_EQ(u"菜单", Text(MenuKey()));
  EXPECT_TRUE(IsWindowEnabled(MenuKey()));
  EXPECT_TRUE(IsWindowVisible(Statement().m_hWnd));
  // Back to the balance and again to the statement: nothing more is sent, and the counter goes.
  ChooseTab(0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(u"", page->GetCounterText());
  EXPECT_FALSE(IsWindowEnabled(MenuKey()));
  ChooseTab(1);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(1u, gateway.requestsOf("queryTransList").size());
  EXPECT_EQ(u"1/1", page->GetCounterText());
}

class StatementTest : public AccountQueryTest {
 protected:
  // The page with its statement's tab chosen and first query answered by the reply; ten rows a
  // page whatever the screen.
  void ShowStatement(Reply first)
  {
    gateway.script("queryBalance", Balance());
    gateway.scriptSequence("queryTransList", {first});
    StartGateway();
    Show();
    ui.Invoke([&] { Statement().GetList().SetMinRowsPerPage(10); });
    Query([this] { SelectTab(1); });
  }
  // A paging or open action on the user-interface thread; returns once it has been handled.
  void Act(std::function<void()> action)
  {
    ui.Invoke(action);
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  HWND Focus()
  {
    HWND focus = nullptr;
    ui.Invoke([&] { focus = GetFocus(); });
    return focus;
  }
};

TEST_F(StatementTest, TheCounterShowsThePageOfAllPages)
{
  std::vector<nlohmann::ordered_json> five;
  for (int i = 21; i <= 25; ++i)
    five.push_back(TransJson("L" + std::to_string(i)));
  ShowStatement(TransPage(five, 3, 25));
  EXPECT_EQ(10, Statement().GetPageSize());
  EXPECT_EQ(3, Statement().GetPage());
  EXPECT_EQ(u"3/3", page->GetCounterText());
  EXPECT_EQ(u"3/3", CentreKey());
}

TEST_F(StatementTest, PagingStopsAtEitherEnd)
{
  std::vector<nlohmann::ordered_json> ten;
  for (int i = 1; i <= 10; ++i)
    ten.push_back(TransJson("L" + std::to_string(i)));
  ShowStatement(TransPage(ten, 1, 15));
  app.ClearCalls();
  Act([this] { Statement().PrevPage(); });
  EXPECT_EQ((std::vector<std::string>{"box 64 已经是第一页了！"}), Boxes());
  EXPECT_EQ(1u, gateway.requestsOf("queryTransList").size());
  EXPECT_EQ(1, Statement().GetPage());

  gateway.script("queryTransList", TransPage({TransJson("L11")}, 2, 15));
  Query([this] { Statement().NextPage(); });
  auto sent = gateway.requestsOf("queryTransList");
  ASSERT_EQ(2u, sent.size());
  EXPECT_EQ(2, Number(sent[1], "nextPage"));
  EXPECT_EQ(10, Number(sent[1], "pageCount"));
  EXPECT_EQ(u"2/2", page->GetCounterText());

  app.ClearCalls();
  Act([this] { Statement().NextPage(); });
  EXPECT_EQ((std::vector<std::string>{"box 64 已经是最后一页了！"}), Boxes());
  EXPECT_EQ(2u, gateway.requestsOf("queryTransList").size());
  EXPECT_EQ(2, Statement().GetPage());
  EXPECT_EQ(Statement().GetList().m_hWnd, Focus());
}

TEST_F(StatementTest, ARangeChangeStartsAtPageOneAndTheSameRangeSendsNothing)
{
  std::vector<nlohmann::ordered_json> ten;
  for (int i = 1; i <= 10; ++i)
    ten.push_back(TransJson("L" + std::to_string(i)));
  ShowStatement(TransPage(ten, 1, 30));
  gateway.script("queryTransList", TransPage(ten, 2, 30));
  Query([this] { Statement().NextPage(); });
  ASSERT_EQ(2, Statement().GetPage());
  auto choose = [this](int index) {
    HWND combo = Statement().GetRangeCombo();
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(Statement().m_hWnd, WM_COMMAND, MAKEWPARAM(CAccountQueryDlg::kRangeComboId, CBN_CLOSEUP),
                 reinterpret_cast<LPARAM>(combo));
  };
  gateway.script("queryTransList", TransPage({TransJson("W1")}, 1, 1));
  Query([&] { choose(2); });
  auto sent = gateway.requestsOf("queryTransList");
  ASSERT_EQ(3u, sent.size());
  EXPECT_EQ("1w", sent[2].field("timeRange"));
  EXPECT_EQ(1, Number(sent[2], "nextPage"));
  EXPECT_EQ(u"1w", std::u16string(Statement().GetPeriodCode().GetString()));

  ui.Invoke([&] { choose(2); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(3u, gateway.requestsOf("queryTransList").size()) << "the range chosen already sends nothing";
}

// The range is a skinned box that closes its list itself when an entry is tapped: the page still
// hears the list close and asks for that range. The list dropped at each size is saved for a
// reviewer (build/test/screenshots/).
TEST_F(AccountQueryTest, ARangeTappedInTheSkinnedListAsksForIt)
{
  gateway.script("queryBalance", Balance());
  gateway.script("queryTransList", TransPage({TransJson("L1")}, 1, 1));
  StartGateway();
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    std::string size = UseSize(width, height);
    SCOPED_TRACE(size);
    Show();
    Query([this] { SelectTab(1); });
    HWND combo = Statement().GetRangeCombo();
    EXPECT_TRUE(kvtest::ShowsComboSkin(combo));
    HWND list = kvtest::TapComboOpen(combo);
    ASSERT_NE(nullptr, list);
    EXPECT_FALSE(kvtest::SaveScreenshot("account_statement_range_dropped_" + size).empty());
    size_t sent = gateway.requestsOf("queryTransList").size();
    // The tap's query shows the wait box, which keeps the threads busy: its outcome is polled for.
    kvtest::TapListItem(list, 3);
    ASSERT_TRUE(PollUntil([&] { return gateway.requestsOf("queryTransList").size() > sent; }));
    ASSERT_TRUE(PollUntil([&] { return !Statement().GetTransRows().m_rows.empty(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ("1m", gateway.requestsOf("queryTransList").back().field("timeRange"));
    EXPECT_EQ(0, SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0));
    EXPECT_FALSE(IsWindowVisible(list));
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      page.reset();
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

TEST_F(StatementTest, ARangeWithoutTransactionsShowsTheEmptyRow)
{
  ShowStatement(TransPage({}, 1, 0));
  CAccountQueryDlg& statement = Statement();
  EXPECT_EQ(&statement.GetEmptyRows(), statement.GetList().GetModel());
  ASSERT_EQ(1u, statement.GetEmptyRows().m_rows.size());
  const CListRow* row = statement.GetEmptyRows().m_rows[0];
  ASSERT_EQ(3u, row->GetCellCount());
  EXPECT_EQ(CListCell::kImage, row->GetCell(1)->m_nKind);
  EXPECT_NE(nullptr, row->GetCell(1)->m_hImage) << "bitmap 232";
  EXPECT_EQ(u"您选择的时间段无数据。", std::u16string(row->GetCell(2)->m_strText.GetString()));
  EXPECT_EQ(statement.GetRangeCombo(), Focus());
  EXPECT_EQ(u"", page->GetCounterText());
}

TEST_F(StatementTest, EachStatementReplyStatus)
{
  struct Case {
    const char* name;
    Reply reply;
    size_t rows;
    std::vector<std::string> boxes;
    bool closed;
  };
  const Case cases[] = {
      {"refused", Reply::result(500, "明细查询失败"), 0, {"box 64 明细查询失败"}, false},
      {"session ended", Reply::result(200, "会话已结束"), 0, {"box 64 会话已结束"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway.clearScripts();
    gateway.clearRequests();
    app.ClearCalls();
    if (page)
      ui.Invoke([&] {
        if (page->IsWindow())
          page->CloseDialog(2, FALSE);
        page.reset();
      });
    gateway.script("queryBalance", Balance());
    gateway.script("queryTransList", c.reply);
    if (!service)
      StartGateway();
    Show();
    Query([this] { SelectTab(1); });
    ASSERT_TRUE(PollUntil([&] { return !c.closed || !page->IsWindow(); }));
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(c.closed, !page->IsWindow());
    EXPECT_EQ(c.closed, Called("ShowLoginDlg"));
    if (!c.closed) {
      EXPECT_EQ(c.rows, Statement().GetTransRows().m_rows.size());
    }
  }
}

TEST_F(StatementTest, OpeningARowShowsItsDetailAndBackReturnsToTheList)
{
  ShowStatement(TransPage({TransJson("L1"), TransJson("L2", "")}, 1, 2));
  Act([this] {
    Statement().GetList().SelectItem(1);
    Statement().PostMessage(WM_KV_LIST_OPENITEM);
  });
  CTransDetailDlg* detail = Statement().GetDetailDlg();
  ASSERT_TRUE(detail && detail->IsWindow());
  EXPECT_EQ(u"账户信息", std::u16string(detail->GetTitle().GetString()));
  const auto& rows = Statement().GetDetailRows().m_rows;
  ASSERT_EQ(6u, rows.size());
  std::vector<std::vector<std::u16string>> cells;
  for (const CListRow* row : rows)
    cells.push_back(Cells(row));
  EXPECT_EQ((std::vector<std::vector<std::u16string>>{
                {u"", u"流水号", u"：", u"L2"},
                {u"", u"类   型", u"：", u"转账"},
                {u"", u"收   入", u"：", u"+12.50"},
                {u"", u"场   所", u"：", u"淘宝"},
                {u"", u"时   间", u"：", u"2010-07-04 12:00:00"},
                {u"", u"备   注", u"：", u""},
            }),
            cells);
  EXPECT_EQ(1, detail->GetTabs().GetPageCount());
  EXPECT_EQ(u"返回", Text(GetDlgItem(detail->m_hWnd, CTransDetailDlg::kBackKeyId)));
  // Back: the list keeps its page and selection.
  Act([&] { SendMessageW(detail->m_hWnd, WM_COMMAND, CTransDetailDlg::kBackKeyId, 0); });
  EXPECT_FALSE(detail->IsWindow());
  EXPECT_EQ(1, Statement().GetList().GetSelectedIndex());
  EXPECT_EQ(1, Statement().GetPage());
  EXPECT_TRUE(page->IsWindow());
}

TEST_F(StatementTest, TheDetailGoesToTheDesktopClosingTheAccountPage)
{
  ShowStatement(TransPage({TransJson("L1")}, 1, 1));
  Act([this] { Statement().PostMessage(WM_KV_LIST_OPENITEM); });
  CTransDetailDlg* detail = Statement().GetDetailDlg();
  ASSERT_TRUE(detail && detail->IsWindow());
  Act([&] { SendMessageW(detail->m_hWnd, WM_COMMAND, ID_KV_GODESKTOP, 0); });
  EXPECT_TRUE(Called("ShowDesktopDlg(0)"));
  EXPECT_FALSE(page->IsWindow());
}

TEST_F(StatementTest, ACancelledQueryLeavesNoRowToOpen)
{
  std::vector<nlohmann::ordered_json> ten;
  for (int i = 1; i <= 10; ++i)
    ten.push_back(TransJson("L" + std::to_string(i)));
  ShowStatement(TransPage(ten, 1, 20));
  gateway.script("queryTransList", Reply::stall(TransPage(ten, 2, 20)));
  ui.Post([this] { Statement().NextPage(); });
  ASSERT_TRUE(PollUntil([&] { return gateway.stalledCount() == 1; }));
  ASSERT_TRUE(PollUntil([&] { return CThreadMessageBox::SharedWindow() && IsWindowVisible(CThreadMessageBox::SharedWindow()); }));
  PostMessageW(CThreadMessageBox::SharedWindow(), WM_COMMAND, KV_BOX_ANSWER_CANCEL, 0);
  ASSERT_TRUE(PollUntil([&] { return !IsWindowVisible(CThreadMessageBox::SharedWindow()); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  gateway.releaseStalled();
  EXPECT_TRUE(Statement().GetTransRows().m_rows.empty());
  app.ClearCalls();
  // Return on the list: no row is read, nothing opens.
  Act([this] { Statement().PostMessage(WM_KV_LIST_OPENITEM); });
  EXPECT_EQ(nullptr, Statement().GetDetailDlg());
  EXPECT_EQ((std::vector<std::string>{"box 64 请先选择一条记录！"}), Boxes());
  EXPECT_TRUE(IsWindowVisible(Statement().GetList().m_hWnd));
}

// A facade that cannot make the statement's command.
class NoStatementService : public CPaymentService {
 public:
  CServiceCommand* QueryTransList(const WCHAR*, int, int) override { return nullptr; }
};

TEST_F(StatementTest, NoCommandMeansNoWait)
{
  ShowStatement(TransPage({TransJson("L1")}, 1, 1));
  NoStatementService broken;
  app.SetPaymentService(&broken);
  app.ClearCalls();
  log.Clear();
  Act([this] { Statement().RequestPage(); });
  app.SetPaymentService(service.get());
  for (const std::string& call : app.Calls())
    EXPECT_NE(0u, call.rfind("box 6 ", 0)) << "no wait box: " << call;
  EXPECT_TRUE(IsWindowVisible(Statement().GetList().m_hWnd));
  EXPECT_TRUE(Statement().GetTransRows().m_rows.empty());
  EXPECT_EQ(1u, gateway.requestsOf("queryTransList").size());
}

}  // namespace

namespace {

// A key as the page's message filter sees it before dispatch; true when consumed.
bool Filter(CAccountQueryPage& page, UINT message, WPARAM key, HWND target = nullptr)
{
  MSG msg{target ? target : page.m_hWnd, message, key, 0, 0, {}};
  return page.PreTranslateMessage(&msg) != FALSE;
}

TEST_F(StatementTest, LeftAndRightSwitchTabsAndTheMenuKeyFollows)
{
  ShowStatement(TransPage({TransJson("L1")}, 1, 1));
  bool consumed = false;
  // Right from the statement (the combo focused, its list closed) wraps to the balance.
  Act([&] {
    Statement().FocusRange();
    consumed = Filter(*page, WM_KEYDOWN, VK_RIGHT, Statement().GetRangeCombo());
  });
  EXPECT_EQ(0, page->GetTabs().GetCurSel());
  EXPECT_EQ(u"", page->GetCounterText()) << "the clock on the balance";
  EXPECT_FALSE(IsWindowEnabled(MenuKey()));
  Act([&] { consumed = Filter(*page, WM_KEYUP, VK_F2); });
  EXPECT_TRUE(consumed) << "the blank menu key's release ends on the balance";
  // Left from the balance goes to the last tab, which has been asked already.
  Act([&] { consumed = Filter(*page, WM_KEYDOWN, VK_LEFT); });
  EXPECT_TRUE(consumed);
  EXPECT_EQ(1, page->GetTabs().GetCurSel());
  EXPECT_EQ(u"菜单", Text(MenuKey()));
  EXPECT_TRUE(IsWindowEnabled(MenuKey()));
  EXPECT_EQ(1u, gateway.requestsOf("queryTransList").size());
}

TEST_F(StatementTest, TheMenuOffersTheStatementsCommandsOnItsTab)
{
  ShowStatement(TransPage({TransJson("L1")}, 1, 1));
  std::vector<UINT> ids;
  Act([&] {
    SendMessageW(page->m_hWnd, WM_KV_SOFTKEY_POPUP, CAccountQueryPage::kMenuKeyId, 0);
    SendMessageW(page->m_hWnd, WM_KV_SOFTKEY_POPUP, CAccountQueryPage::kMenuKeyId, 0);
    HMENU menu = page->GetSoftKeyMenu();
    HMENU popup = nullptr;
    for (int i = 0; menu && i < GetMenuItemCount(menu) && !popup; ++i)
      popup = GetSubMenu(menu, i);
    for (int i = 0; popup && i < GetMenuItemCount(popup); ++i)
      ids.push_back(GetMenuItemID(popup, i));
  });
  // Rebuilt on every popup, never doubled; the exit keeps its place.
  EXPECT_EQ((std::vector<UINT>{ID_KV_EXIT, ID_KV_OPENITEM, ID_KV_NEXTPAGE, ID_KV_PREVPAGE, ID_KV_FOCUSFILTER,
                               ID_KV_GODESKTOP, ID_KV_ABOUT}),
            ids);
}

}  // namespace
