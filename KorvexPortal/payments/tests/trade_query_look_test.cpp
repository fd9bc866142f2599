// The trade query list (a page of trades, the empty result) and the trade detail (its logistics
// tab) at each screen size, portrait and landscape, with the input panel down and up: the layout
// check of every screen and screenshots for a reviewer (build/test/screenshots/).
#include "layout_checks.h"
#include "shell/sip.h"
#include "testing/screenshot.h"
#include "trade_detail_dlg.h"
#include "trade_query_fixture.h"

using namespace paytest;
using testgateway::Reply;

namespace {

class TradeQueryLook : public TradeQueryTest {
 protected:
  void DestroyScreens() override
  {
    detail.reset();
    TradeQueryTest::DestroyScreens();
  }
  void Close()
  {
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      DestroyScreens();
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }
  static std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

  std::unique_ptr<CTradeDetailDlg> detail;
};

TEST_F(TradeQueryLook, TheListTheEmptyResultAndTheDetailAtEachSize)
{
  const auto& sizes = kvtest::kLookSizes;
  // At each size a page of trades, then the empty result.
  std::vector<Reply> pages;
  for (size_t i = 0; i < std::size(sizes); ++i) {
    pages.push_back(TradePage({TradeJson("T1", "WAIT_BUYER_PAY", 0, "等待买家付款"),
                               TradeJson("T2", "WAIT_BUYER_CONFIRM_GOODS", 0), TradeJson("T3", "TRADE_FINISHED", 0),
                               TradeJson("T4", "WAIT_BUYER_PAY", 1)},
                              1, 14));
    pages.push_back(TradePage({}, 1, 0));
  }
  gateway.scriptSequence("queryTradeLists", pages);
  gateway.script("queryTradeDetail",
                 Reply::success({{"paid", 1}, {"act", "买"}, {"tradeNO", "T3"}, {"goodsName", "西湖龙井 明前特级 250克"},
                                 {"tradeMoney", "128.50"}, {"tradeTime", "2010-07-01 10:00"}, {"tradeType", "担保交易"},
                                 {"tradeStatus", "TRADE_FINISHED"}, {"sellerName", "李四的茶叶专卖店"}, {"logisticsid", 1},
                                 {"logisticsType", "快递"}, {"buyerAddress", "浙江省杭州市西湖区文三路 100 号"},
                                 {"logisticsFee", "10.00"}, {"logisticsName", "顺风快递"},
                                 {"logisticsPhone", "0571-12345678"}, {"logisticsMemo", "工作日送货"}}));
  StartGateway();
  for (auto [width, height] : sizes) {
    SCOPED_TRACE(Size(width, height));
    UseLibrary(width, height);
    Show();
    ui.Invoke([] { SipShowIM(SIPF_OFF); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(4u, dialog->GetTradeRows().m_rows.size());
    // The page holds rows, and the first trade lies whole inside the list.
    int rowsPerPage = 0;
    RECT row{LVIR_BOUNDS, 0, 0, 0}, list{};
    ui.Invoke([&] {
      rowsPerPage = dialog->GetList().GetCountPerPage();
      dialog->GetList().SendMessage(LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
      dialog->GetList().GetClientRect(&list);
    });
    EXPECT_GE(rowsPerPage, 1);
    EXPECT_TRUE(row.top >= list.top && row.bottom <= list.bottom && row.bottom > row.top);
    kvtest::ExpectSoundLayout(ui, *dialog, "trade_query_" + Size(width, height));

    // The third trade opens the detail; its second tab shows the logistics.
    ui.Post([&] {
      dialog->GetList().SelectItem(2);
      SendMessageW(dialog->m_hWnd, WM_COMMAND, ID_KV_OPENITEM, 0);
    });
    ASSERT_TRUE(RunUntil([&] {
      CTradeDetailDlg* opened = dialog->GetTradeDetailDlg();
      return opened && opened->GetTabs().GetPageCount() == 2;
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    // The detail list ends above the soft-key bar, and a row it cannot show whole is reached by
    // scrolling.
    RECT detailList{}, keys{}, lastRow{LVIR_BOUNDS, 0, 0, 0}, detailClient{};
    bool scrolls = false;
    ui.Invoke([&] {
      CTradeDetailDlg* opened = dialog->GetTradeDetailDlg();
      CKorvexListView& rows = opened->GetTabs().GetList(CAccountTabCtrl::kTradeDetailPage);
      rows.GetWindowRect(&detailList);
      rows.GetClientRect(&detailClient);
      int last = static_cast<int>(opened->GetDetailRows().m_rows.size()) - 1;
      rows.SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(last), reinterpret_cast<LPARAM>(&lastRow));
      scrolls = (rows.GetStyle() & WS_VSCROLL) != 0;
      ::GetWindowRect(opened->GetDlgItem(133), &keys);
    });
    EXPECT_LE(detailList.bottom, keys.top) << "the list runs under the soft-key bar";
    EXPECT_TRUE(scrolls || lastRow.bottom <= detailClient.bottom) << "the last row is cut and cannot scroll";
    kvtest::ExpectSoundLayout(ui, *dialog->GetTradeDetailDlg(), "trade_detail_" + Size(width, height));
    ui.Invoke([&] { dialog->GetTradeDetailDlg()->GetTabs().SetCurSel(1); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    kvtest::ExpectSoundLayout(ui, *dialog->GetTradeDetailDlg(), "trade_detail_logistics_" + Size(width, height));
    ui.Invoke([&] { dialog->GetTradeDetailDlg()->CloseDialog(2, FALSE); });
    ASSERT_TRUE(kvtest::RunUntilIdle());

    Query([&] { dialog->Refresh(); });
    EXPECT_EQ(&dialog->GetEmptyRows(), dialog->GetList().GetModel());
    kvtest::ExpectSoundLayout(ui, *dialog, "trade_query_empty_" + Size(width, height));
    Close();
  }
}

}  // namespace
