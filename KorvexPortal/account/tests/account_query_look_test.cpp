// Screenshots of the account query page (balance and statement tabs) and the transaction detail
// at 240x320 and 480x640, for a reviewer to look at (build/test/screenshots/).
#include "account_query_fixture.h"
#include "testing/screenshot.h"

using namespace accounttest;
using testgateway::Reply;

namespace {

TEST_F(AccountQueryTest, LookAtEachSize)
{
  gateway.script("queryBalance", Balance());
  gateway.script("queryTransList", TransPage({TransJson("20100704001"), TransJson("20100703002", ""),
                                              TransJson("20100702003")},
                                             1, 3));
  StartGateway();
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    Show();
    ASSERT_EQ(4u, page->GetBalanceRows().m_rows.size());
    EXPECT_FALSE(kvtest::SaveScreenshot("account_balance_" + size).empty());
    Query([this] {
      CAccountTabCtrl& tabs = page->GetTabs();
      tabs.TabCtrlSetCurSel(1);
      NMHDR notify{tabs.m_hWnd, CAccountQueryPage::kTabsId, TCN_SELCHANGE};
      ::SendMessageW(page->m_hWnd, WM_NOTIFY, CAccountQueryPage::kTabsId, reinterpret_cast<LPARAM>(&notify));
    });
    ASSERT_EQ(3u, Statement().GetTransRows().m_rows.size());
    EXPECT_FALSE(kvtest::SaveScreenshot("account_statement_" + size).empty());
    ui.Invoke([this] { Statement().PostMessage(WM_KV_LIST_OPENITEM); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    ASSERT_TRUE(Statement().GetDetailDlg() && Statement().GetDetailDlg()->IsWindow());
    EXPECT_FALSE(kvtest::SaveScreenshot("account_trans_detail_" + size).empty());
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      page.reset();
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

}  // namespace
