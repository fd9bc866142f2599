// The phone recharge against the test gateway: the stored number and the first amount at
// opening, the amount chosen in its skinned list, the number check before any request, the quote
// handed to the trade pay dialog, the refusals, and the trade pay dialog's outcome closing both
// dialogs.
#include "combo_input.h"
#include "payment_screen_fixture.h"
#include "phone_payment_dlg.h"
#include "phonepay_ids.h"
#include "testing/screenshot.h"
#include "trade_pay_dlg.h"
#include "tradepay_ids.h"

using namespace paytest;
using testgateway::Reply;

namespace {

const nlohmann::ordered_json kQuote = {{"toMobileAmount", "100"}, {"toPayAmount", "99.50"},
                                       {"toMobileNO", "13800138000"}, {"availableBalance", "300.00"},
                                       {"goodsName", "手机充值100元"},  {"merName", "移动"}};

class PhonePaymentTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override { dialog.reset(); }

  void Show()
  {
    app.SetUserName(u"张三");
    ui.Invoke([&] {
      dialog = std::make_unique<CPhonePaymentDlg>();
      dialog->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  HWND Item(int id) { return GetDlgItem(dialog->m_hWnd, id); }
  std::u16string SelectedAmount()
  {
    WCHAR text[16] = {};
    ui.Invoke([&] {
      HWND combo = Item(IDC_PHONEPAY_AMOUNT);
      SendMessageW(combo, CB_GETLBTEXT, SendMessageW(combo, CB_GETCURSEL, 0, 0), reinterpret_cast<LPARAM>(text));
    });
    return text;
  }
  void Submit(const std::u16string& number, int amountIndex = 0)
  {
    ui.Invoke([&] {
      SetWindowTextW(Item(IDC_PHONEPAY_NUMBER), number.c_str());
      SendMessageW(Item(IDC_PHONEPAY_AMOUNT), CB_SETCURSEL, amountIndex, 0);
    });
    app.ClearCalls();
    ASSERT_TRUE(kvtest::TapWindow(Item(IDC_PHONEPAY_SUBMIT)));
    ASSERT_TRUE(RunUntil([&] {
      CTradePayDlg* pay = dialog->GetTradePayDlg();
      return !Boxes().empty() || (pay && pay->IsWindow()) || !dialog->IsWindow();
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  int FocusedItem()
  {
    int id = 0;
    ui.Invoke([&] { id = GetDlgCtrlID(GetFocus()); });
    return id;
  }

  std::unique_ptr<CPhonePaymentDlg> dialog;
};

TEST_F(PhonePaymentTest, OpensWithTheStoredNumberAndFifty)
{
  ASSERT_TRUE(app.SetConfig(u"mobileNO", u"13912345678"));
  Show();
  EXPECT_EQ(u"13912345678", Text(Item(IDC_PHONEPAY_NUMBER)));
  EXPECT_EQ(u"50", SelectedAmount());
  EXPECT_EQ(IDC_PHONEPAY_NUMBER, FocusedItem());
}

// The amount is a skinned box: the amount tapped in its list is the one priced. The list dropped
// at each size is saved for a reviewer (build/test/screenshots/).
TEST_F(PhonePaymentTest, TheAmountTappedInTheSkinnedListIsTheOneSent)
{
  gateway.script("preDeposit4Mobile", Reply::result(500, "暂不支持该号码"));
  StartGateway();
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    std::string size = UseSize(width, height);
    SCOPED_TRACE(size);
    Show();
    HWND combo = Item(IDC_PHONEPAY_AMOUNT);
    EXPECT_TRUE(kvtest::ShowsComboSkin(combo));
    HWND list = kvtest::TapComboOpen(combo);
    ASSERT_NE(nullptr, list);
    EXPECT_FALSE(kvtest::SaveScreenshot("phone_payment_amount_dropped_" + size).empty());
    ASSERT_TRUE(kvtest::TapListItem(list, 1));
    EXPECT_FALSE(IsWindowVisible(list));
    EXPECT_EQ(u"100", SelectedAmount());
    ui.Invoke([&] { SetWindowTextW(Item(IDC_PHONEPAY_NUMBER), u"13800138000"); });
    size_t sent = gateway.requestsOf("preDeposit4Mobile").size();
    ASSERT_TRUE(kvtest::TapWindow(Item(IDC_PHONEPAY_SUBMIT)));
    ASSERT_TRUE(RunUntil([&] { return gateway.requestsOf("preDeposit4Mobile").size() > sent; }));
    EXPECT_EQ("100", gateway.requestsOf("preDeposit4Mobile").back().field("toMobileAmount"));
    ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); });
    ui.Invoke([&] { dialog.reset(); });
    app.ClearCalls();
  }
}

TEST_F(PhonePaymentTest, ANumberThatFailsTheCheckNeverReachesTheGateway)
{
  StartGateway();
  Show();
  for (const char16_t* number : {u"1380013800", u"", u"23800138000"}) {
    SCOPED_TRACE(kvtest::Narrow(number));
    Submit(number);
    ASSERT_EQ(1u, Boxes().size());
    EXPECT_EQ(0u, Boxes()[0].rfind("box 23 ", 0));
    EXPECT_EQ(IDC_PHONEPAY_NUMBER, FocusedItem());
  }
  EXPECT_TRUE(gateway.requestsOf("preDeposit4Mobile").empty());
}

TEST_F(PhonePaymentTest, TheQuoteOpensTheTradePayAndItsOutcomeClosesBoth)
{
  gateway.script("preDeposit4Mobile", Reply::success(kQuote));
  StartGateway();
  Show();
  Submit(u"  13800138000 ", 1);
  auto request = gateway.waitForRequest("preDeposit4Mobile");
  ASSERT_TRUE(request);
  EXPECT_EQ("13800138000", request->field("toMobileNO"));
  EXPECT_EQ("100", request->field("toMobileAmount"));
  CTradePayDlg* pay = dialog->GetTradePayDlg();
  ASSERT_TRUE(pay && pay->IsWindow());
  EXPECT_EQ(u"手机充值", std::u16string(pay->GetTitle().GetString()));
  const TradePayParams& params = dialog->GetTradePayParams();
  EXPECT_EQ(kTradePayMobileRecharge, params.kind);
  EXPECT_EQ(u"13800138000", std::u16string(params.from.GetString()));
  EXPECT_EQ(u"100", std::u16string(params.counterparty.GetString()));
  EXPECT_EQ(u"99.50", std::u16string(params.totalPayable.GetString()));
  EXPECT_EQ(u"300.00", std::u16string(params.availableBalance.GetString()));
  EXPECT_EQ(u"张三", std::u16string(params.accountName.GetString()));
  EXPECT_EQ(u"手机号码：13800138000", Text(pay->GetDlgItem(IDC_TRADEPAY_FROM)));

  // A failed payment ends the recharge as a paid one does.
  ui.Invoke([&] { PostMessageW(dialog->m_hWnd, WM_KV_TRADEPAY_RESULT, 0, 500); });
  ASSERT_TRUE(RunUntil([&] { return !dialog->IsWindow(); }));
  EXPECT_FALSE(dialog->GetTradePayDlg());
}

TEST_F(PhonePaymentTest, RefusalsOfTheQuote)
{
  struct Case {
    const char* name;
    Reply reply;
    std::vector<std::string> boxes;
    int focus;
    bool closed;
  };
  const Case cases[] = {
      {"field error", Reply::result(301, "toPayAmount,余额不足"), {"box 23 余额不足"}, IDC_PHONEPAY_AMOUNT, false},
      {"whole memo", Reply::result(500, "暂不支持该号码"), {"box 23 暂不支持该号码"}, 0, false},
      {"session ended", Reply::result(200, "请重新登录"), {"box 64 请重新登录"}, 0, true},
  };
  std::vector<Reply> replies;
  for (const Case& c : cases)
    replies.push_back(c.reply);
  gateway.scriptSequence("preDeposit4Mobile", replies);
  StartGateway();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Show();
    Submit(u"13800138000");
    EXPECT_EQ(c.boxes, Boxes());
    if (c.focus) {
      EXPECT_EQ(c.focus, FocusedItem());
    }
    EXPECT_EQ(c.closed, !dialog->IsWindow());
    EXPECT_EQ(c.closed, Called("ShowLoginDlg"));
    EXPECT_FALSE(dialog->GetTradePayDlg());
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); });
    ui.Invoke([&] { dialog.reset(); });
  }
}

}  // namespace
