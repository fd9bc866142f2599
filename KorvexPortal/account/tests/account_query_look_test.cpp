// The account query page (balance and statement tabs) and the transaction detail at each screen
// size, portrait and landscape, with the input panel down and up: the layout check of every
// screen and screenshots for a reviewer (build/test/screenshots/).
#include "account_query_fixture.h"
#include "layout_checks.h"
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
  for (auto [width, height] : kvtest::kLookSizes) {
    std::string size = kvtest::SizeName(width, height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    Show();
    ASSERT_EQ(4u, page->GetBalanceRows().m_rows.size());
    kvtest::ExpectSoundLayout(ui, *page, "account_balance_" + size);
    Query([this] {
      CAccountTabCtrl& tabs = page->GetTabs();
      tabs.TabCtrlSetCurSel(1);
      NMHDR notify{tabs.m_hWnd, CAccountQueryPage::kTabsId, TCN_SELCHANGE};
      ::SendMessageW(page->m_hWnd, WM_NOTIFY, CAccountQueryPage::kTabsId, reinterpret_cast<LPARAM>(&notify));
    });
    ASSERT_EQ(3u, Statement().GetTransRows().m_rows.size());
    kvtest::ExpectSoundLayout(ui, *page, "account_statement_" + size);
    ui.Invoke([this] { Statement().PostMessage(WM_KV_LIST_OPENITEM); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    ASSERT_TRUE(Statement().GetDetailDlg() && Statement().GetDetailDlg()->IsWindow());
    kvtest::ExpectSoundLayout(ui, *Statement().GetDetailDlg(), "account_trans_detail_" + size);
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      page.reset();
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

}  // namespace
