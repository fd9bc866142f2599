// The payment roads from login: an unpaid trade paid from the list the login brings up, a
// transfer to a contact chosen from the contact list, and a phone recharge paid through the trade
// pay dialog. Each ends with the payment password the gateway received and the user told.
#include "contact_pick_dlg.h"
#include "contacts_ids.h"
#include "desktop_dlg.h"
#include "p2p_ids.h"
#include "p2p_pay_dlg.h"
#include "p2p_pay_result_dlg.h"
#include "paged_list_view.h"
#include "phonepay_ids.h"
#include "road_fixture.h"
#include "tradepay_ids.h"

using namespace roads;

namespace {

// The payment password a request carried, as the gateway decrypts it.
std::string PayPassword(testgateway::TestGateway& gateway, const testgateway::RecordedRequest& request)
{
  auto plain = gateway.key().decryptPassword(request.field("payPassword"));
  return plain ? plain->password : "<not decryptable>";
}

// Whether a success box (type 128) was shown.
bool ToldSuccess(const std::vector<std::string>& boxes)
{
  for (const std::string& box : boxes)
    if (box.rfind("128 ", 0) == 0)
      return true;
  return false;
}

}  // namespace

class PaymentRoadTest : public RoadTest {
 protected:
  using RoadTest::RoadTest;

  // Types the payment password into the trade pay dialog and pays; returns once it has gone.
  void PayInTradePayDialog()
  {
    HWND pay = WaitForActive(u"付款");
    ASSERT_NE(nullptr, pay) << Recorded();
    Shot("trade_pay");
    ASSERT_TRUE(Driver().Type(GetDlgItem(pay, IDC_TRADEPAY_PASSWORD), kDemoPayPassword));
    kvtest::TapWindow(GetDlgItem(pay, IDC_TRADEPAY_PAY));
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !IsWindow(pay); })) << Recorded();
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }

  // From the unpaid-trade list a login brings up: the first trade is chosen, its detail fetched,
  // and it is paid in the trade pay dialog that opens on it.
  void PayTheFirstUnpaidTrade()
  {
    HWND unpaid = WaitForActive(u"待付款交易");
    ASSERT_NE(nullptr, unpaid) << Recorded();
    Shot("list");
    PostMessageW(unpaid, WM_KV_LIST_OPENITEM, 0, 0);
    auto detail = gateway.waitForRequest("queryTradeDetail");
    ASSERT_TRUE(detail);
    PayInTradePayDialog();
    auto paid = gateway.waitForRequest("tradePay");
    ASSERT_TRUE(paid) << Recorded();
    EXPECT_EQ(detail->field("tradeNO"), paid->field("tradeNo"));
    EXPECT_EQ("pay123456", PayPassword(gateway, *paid));
    EXPECT_TRUE(ToldSuccess(App().Boxes())) << Recorded();
    Shot("paid");
  }
};

TEST_F(PaymentRoadTest, PayAnUnpaidTrade)
{
  Install();
  StartClient();
  LogIn(kDemoAccount, kDemoPassword, false);
  PayTheFirstUnpaidTrade();
}

// The same road on a large screen, from the login through the payment to the desktop.
using LargeScreenPaymentRoadTest = OnALargeScreen<PaymentRoadTest>;

TEST_F(LargeScreenPaymentRoadTest, PayAnUnpaidTradeOnALargeScreen)
{
  Install();
  StartClient();
  Shot("login");
  LogIn(kDemoAccount, kDemoPassword, false);
  PayTheFirstUnpaidTrade();
  GoOnToDesktop();
  Shot("desktop");
}

TEST_F(PaymentRoadTest, TransferToAContact)
{
  Install();
  StartClient();
  LogInToDesktop();
  OpenDesktopEntry(DesktopSlot::kTransfer);
  auto* transfer = PageIn<CP2PPayDlg>(DesktopSlot::kTransfer);
  ASSERT_NE(nullptr, transfer);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return transfer->GetUnpaidCount() >= 0; })) << Recorded();
  Shot("form");

  // The contact list comes from the gateway the first time; its first contact is chosen.
  kvtest::TapWindow(transfer->GetDlgItem(IDC_P2P_CONTACTS));
  CContactListDlg* list = nullptr;
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    CContactPickDlg* picker = transfer->GetContactPicker();
    list = picker ? picker->GetList() : nullptr;
    return list && list->IsWindow() && !list->GetContacts().empty();
  })) << Recorded();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  Shot("contacts");
  std::u16string chosen = list->GetContacts()[0].account.GetString();
  ASSERT_TRUE(kvtest::TapWindow(GetDlgItem(list->m_hWnd, IDC_CONTACT_ROW0)));
  ASSERT_TRUE(kvtest::TapWindow(transfer->GetContactPicker()->GetDlgItem(IDC_CONTACT_CHOOSE)));
  EXPECT_EQ(chosen, TextOf(transfer->GetDlgItem(IDC_P2P_ACCOUNT)));

  SetText(transfer->GetDlgItem(IDC_P2P_AMOUNT), u"12.50");
  SetText(transfer->GetDlgItem(IDC_P2P_REASON), u"午餐");
  kvtest::TapWindow(transfer->GetDlgItem(IDC_P2P_SUBMIT));
  CP2PPayConfirmDlg& confirm = transfer->GetConfirmDlg();
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    return confirm.IsWindow() && IsWindowVisible(confirm.m_hWnd);
  })) << Recorded();
  auto prepay = gateway.waitForRequest("p2pPrePay");
  ASSERT_TRUE(prepay);
  EXPECT_EQ(kvtest::Narrow(chosen), prepay->field("toPayAccount"));
  EXPECT_EQ("12.50", prepay->field("toPayAmount"));
  Shot("confirm");

  ASSERT_TRUE(Driver().Type(confirm.GetDlgItem(IDC_P2P_CONFIRM_PASSWORD), kDemoPayPassword));
  kvtest::TapWindow(confirm.GetDlgItem(IDC_P2P_SUBMIT));
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    CP2PPayResultDlg* result = confirm.GetResultDlg();
    return (result && result->IsWindow()) || !confirm.IsWindow();
  })) << Recorded();
  auto paid = gateway.waitForRequest("p2pPay");
  ASSERT_TRUE(paid);
  EXPECT_EQ("pay123456", PayPassword(gateway, *paid));

  // The payee is not yet a contact of the account: the result page offers to add them.
  CP2PPayResultDlg* result = confirm.GetResultDlg();
  ASSERT_TRUE(result && result->IsWindow()) << Recorded();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  Shot("paid");
  kvtest::TapWindow(result->GetDlgItem(IDC_P2P_RESULT_ADD));
  auto added = gateway.waitForRequest("addContact");
  ASSERT_TRUE(added);
  ASSERT_TRUE(added->json);
  EXPECT_EQ(kvtest::Narrow(chosen), (*added->json)["contactInfo"]["account"]);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !transfer->IsWindow(); })) << Recorded();
  EXPECT_TRUE(ToldSuccess(App().Boxes())) << Recorded();
  Shot("contact_added");
}

TEST_F(PaymentRoadTest, RechargeAPhone)
{
  Install();
  StartClient();
  LogInToDesktop();
  HWND page = OpenDesktopEntry(DesktopSlot::kPhoneRecharge);
  ASSERT_EQ(u"手机充值", TextOf(page)) << Recorded();
  SetText(GetDlgItem(page, IDC_PHONEPAY_NUMBER), u"13912345678");
  Driver().OnUi([&] { SendMessageW(GetDlgItem(page, IDC_PHONEPAY_AMOUNT), CB_SETCURSEL, 0, 0); });
  Shot("form");
  kvtest::TapWindow(GetDlgItem(page, IDC_PHONEPAY_SUBMIT));
  auto quote = gateway.waitForRequest("preDeposit4Mobile");
  ASSERT_TRUE(quote);
  EXPECT_EQ("13912345678", quote->field("toMobileNO"));
  PayInTradePayDialog();
  auto paid = gateway.waitForRequest("deposit4Mobile");
  ASSERT_TRUE(paid) << Recorded();
  EXPECT_EQ("pay123456", PayPassword(gateway, *paid));
  EXPECT_TRUE(ToldSuccess(App().Boxes())) << Recorded();
  Shot("paid");
}
