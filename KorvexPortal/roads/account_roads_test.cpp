// The account roads from the desktop: a withdrawal to the bound bank account, the trade query and
// the account query with the detail of a row each, and the service's messages read one after
// another.
#include "account_query_page.h"
#include "atm_ids.h"
#include "desktop_dlg.h"
#include "desktop_ids.h"
#include "dialog_ids.h"
#include "msg_dlg.h"
#include "paged_list_view.h"
#include "road_fixture.h"
#include "trade_detail_dlg.h"
#include "trade_query_dlg.h"
#include "trans_detail_dlg.h"

using namespace roads;

using AccountRoadTest = RoadTest;

TEST_F(AccountRoadTest, Withdraw)
{
  Install();
  StartClient();
  LogInToDesktop();
  // The desktop asks for the withdrawal data first; the page shows the bound bank account.
  HWND page = OpenDesktopEntry(DesktopSlot::kWithdrawal);
  ASSERT_TRUE(gateway.waitForRequest("preDrawMoney"));
  ASSERT_EQ(u"提现", TextOf(page)) << Recorded();
  EXPECT_FALSE(TextOf(GetDlgItem(page, IDC_ATM_ACCOUNT_NO)).empty());
  Shot("form");

  ASSERT_TRUE(Driver().Type(GetDlgItem(page, IDC_ATM_AMOUNT), u"100.00"));
  ASSERT_TRUE(Driver().Type(GetDlgItem(page, IDC_ATM_PASSWORD), kDemoPayPassword));
  ClientDriver::PostCommand(page, IDC_ATM_SUBMIT);
  auto drawn = gateway.waitForRequest("drawMoney");
  ASSERT_TRUE(drawn) << Recorded();
  EXPECT_EQ("100.00", drawn->field("amount"));
  auto password = gateway.key().decryptPassword(drawn->field("payPassword"));
  ASSERT_TRUE(password);
  EXPECT_EQ("pay123456", password->password);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !IsWindow(page); })) << Recorded();
  ASSERT_FALSE(App().Boxes().empty());
  EXPECT_NE(std::string::npos, App().Boxes().back().find("提现成功")) << Recorded();
  Shot("done");
}

TEST_F(AccountRoadTest, QueryTradesAndTheAccount)
{
  Install();
  StartClient();
  LogInToDesktop();

  // The trade query lists the account's trades; a finished one opens its detail.
  OpenDesktopEntry(DesktopSlot::kTradeQuery);
  auto* trades = PageIn<CTradeQueryDlg>(DesktopSlot::kTradeQuery);
  ASSERT_NE(nullptr, trades);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !trades->GetTradeRows().m_rows.empty(); })) << Recorded();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  Shot("trades");
  int last = static_cast<int>(trades->GetTradeRows().m_rows.size()) - 1;
  Driver().OnUi([&] {
    trades->GetList().SelectItem(last);
    trades->PostMessage(WM_KV_LIST_OPENITEM);
  });
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    CTradeDetailDlg* detail = trades->GetTradeDetailDlg();
    CTradePayDlg* pay = trades->GetTradePayDlg();
    return (detail && detail->IsWindow() && !detail->GetDetailRows().m_rows.empty()) || (pay && pay->IsWindow());
  })) << Recorded();
  ASSERT_TRUE(gateway.waitForRequest("queryTradeDetail"));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  Shot("trade_detail");

  // The account query: the balance at once, the statement on its tab, a transaction's detail.
  // The detail's menu goes back to the desktop.
  ClientDriver::PostCommand(Driver().ActiveWindow(), ID_KV_GODESKTOP);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    return Driver().ActiveWindow() == App().GetDesktopDlgWindow();
  })) << Recorded();
  OpenDesktopEntry(DesktopSlot::kAccountQuery);
  auto* account = PageIn<CAccountQueryPage>(DesktopSlot::kAccountQuery);
  ASSERT_NE(nullptr, account);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !account->GetBalanceRows().m_rows.empty(); })) << Recorded();
  ASSERT_TRUE(gateway.waitForRequest("queryBalance"));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  Shot("balance");
  Driver().PostToUi([account] {
    CAccountTabCtrl& tabs = account->GetTabs();
    tabs.TabCtrlSetCurSel(1);
    NMHDR notify{tabs.m_hWnd, CAccountQueryPage::kTabsId, TCN_SELCHANGE};
    ::SendMessageW(account->m_hWnd, WM_NOTIFY, CAccountQueryPage::kTabsId, reinterpret_cast<LPARAM>(&notify));
  });
  CAccountQueryDlg& statement = account->GetStatement();
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !statement.GetTransRows().m_rows.empty(); })) << Recorded();
  ASSERT_TRUE(gateway.waitForRequest("queryTransList"));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  Shot("statement");
  Driver().OnUi([&] {
    statement.GetList().SelectItem(0);
    statement.PostMessage(WM_KV_LIST_OPENITEM);
  });
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return statement.GetDetailDlg() && statement.GetDetailDlg()->IsWindow(); }))
      << Recorded();
  EXPECT_FALSE(statement.GetDetailRows().m_rows.empty());
  Shot("transaction_detail");
  EXPECT_TRUE(App().Boxes().empty()) << Recorded();
}

TEST_F(AccountRoadTest, ReadMessages)
{
  Install();
  StartClient();
  LogInToDesktop();
  ClientDriver::PostCommand(App().GetDesktopDlgWindow(), IDC_DESKTOP_MESSAGES);
  CMsgDlg* messages = nullptr;
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    messages = PageIn<CMsgDlg>(DesktopSlot::kMessages);
    return messages && messages->IsWindow() && messages->GetShownMessage().msgId >= 0;
  })) << Recorded();
  ASSERT_TRUE(gateway.waitForRequest("viewMsgDetail"));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  int first = messages->GetShownMessage().msgId;
  EXPECT_FALSE(messages->GetShownMessage().topic.IsEmpty());
  Shot("first");

  // The next message after the newest stored one is fetched again.
  ClientDriver::PostCommand(messages->m_hWnd, ID_MSG_NEXT);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return gateway.requestsOf("viewMsgDetail").size() >= 2; })) << Recorded();
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return messages->GetShownMessage().msgId != first; })) << Recorded();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  Shot("second");
  EXPECT_TRUE(App().Boxes().empty()) << Recorded();
}
