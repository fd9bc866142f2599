// The trade pay dialog and the unpaid-trade list at each screen size, portrait and landscape,
// with the input panel down and up: the layout check of every screen, a few checks of what shows,
// and screenshots for a reviewer (build/test/screenshots/).
#include "payment_screen_fixture.h"
#include "shell/sip.h"
#include "testing/screenshot.h"
#include "layout_checks.h"
#include "trade_pay_dlg.h"
#include "tradepay_ids.h"
#include "unpaid_ids.h"
#include "unpaid_trade_list_dlg.h"

using namespace paytest;

namespace {

class PaymentScreensLook : public PaymentScreenTest {
 protected:
  void DestroyScreens() override
  {
    pay.reset();
    list.reset();
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

  TradePayParams record;
  std::unique_ptr<CTradePayDlg> pay;
  std::unique_ptr<CUnpaidTradeListDlg> list;
};

TEST_F(PaymentScreensLook, TradePayAndTheUnpaidListAtEachSize)
{
  app.SetUserName(u"张三");
  record.kind = kTradePayTrade;
  record.tradeNo = u"T20100704001";
  record.counterparty = u"李四的茶叶专卖店";
  record.goodsName = u"西湖龙井 明前特级 250克";
  record.from = u"淘宝";
  record.accountName = u"张三";
  record.totalPayable = u"128.50";
  record.availableBalance = u"300.00";
  record.signature = u"春眠不觉晓";
  record.couponAvailable = u"true";
  record.couponAmount = u"5";
  for (auto [width, height] : kvtest::kLookSizes) {
    SCOPED_TRACE(Size(width, height));
    UseLibrary(width, height);
    ui.Invoke([&] {
      pay = std::make_unique<CTradePayDlg>();
      pay->ShowDialog(nullptr, reinterpret_cast<LPARAM>(&record), FALSE, TRUE);
      SipShowIM(SIPF_OFF);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_TRUE(IsWindowVisible(pay->GetDlgItem(IDC_TRADEPAY_COUPON_CHECK)));
    kvtest::ExpectSoundLayout(ui, *pay, "trade_pay_" + Size(width, height));
    // Each line of the summary shows whole, above the next and clear of the password.
    const int summary[] = {IDC_TRADEPAY_SIGNATURE, IDC_TRADEPAY_COUNTERPARTY, IDC_TRADEPAY_GOODS, IDC_TRADEPAY_FROM,
                           IDC_TRADEPAY_ACCOUNT,   IDC_TRADEPAY_TOTAL,        IDC_TRADEPAY_STATE};
    HWND password = pay->GetDlgItem(IDC_TRADEPAY_PASSWORD);
    for (size_t i = 0; i < std::size(summary); ++i) {
      SCOPED_TRACE(i);
      HWND line = pay->GetDlgItem(summary[i]);
      EXPECT_TRUE(kvtest::ShowsWholeText(line)) << kvtest::Narrow(Text(line));
      EXPECT_FALSE(kvtest::Overlap(line, password));
      if (i + 1 < std::size(summary)) {
        EXPECT_FALSE(kvtest::Overlap(line, pay->GetDlgItem(summary[i + 1])));
      }
    }
    Close();

    ui.Invoke([&] {
      list = std::make_unique<CUnpaidTradeListDlg>();
      list->SetTradeListText(uR"({"resultStatus":100,"totalCount":5,"tradeTableList":[
        {"tradeNO":"T1","tradeStatus":"WAIT_BUYER_PAY","tradeTime":"07-01 10:00","goodsName":"西湖龙井","act":"买","tradeMoney":"128.50"},
        {"tradeNO":"T2","tradeStatus":"WAIT_BUYER_PAY","tradeTime":"07-02 11:30","goodsName":"紫砂壶","act":"买","tradeMoney":"66.00"},
        {"tradeNO":"T3","tradeStatus":"WAIT_BUYER_PAY","tradeTime":"07-03 09:15","goodsName":"茶盘","act":"买","tradeMoney":"45.00"}]})");
      list->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_TRUE(IsWindowVisible(list->GetDlgItem(IDC_UNPAID_MORE)));
    kvtest::ExpectSoundLayout(ui, *list, "unpaid_trades_" + Size(width, height));
    Close();
  }
}

}  // namespace
