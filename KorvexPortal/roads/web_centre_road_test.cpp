// The web centre's road: the desktop's entry opens the gateway's centre page, whose script gives
// the soft keys; its bill form goes to the gateway as a request, the bill that comes back is paid
// through the trade pay dialog, and the page's other key goes back to the desktop.
#include "desktop_dlg.h"
#include "html_dlg.h"
#include "trade_pay_dlg.h"
#include "road_fixture.h"
#include "tradepay_ids.h"

using namespace roads;
using testgateway::Reply;

namespace {

// The centre page: its menu pays the bill of the form, or goes back to the desktop.
Reply CentrePage()
{
  return Reply::http(200,
                     "<html><head><title>生活缴费</title><script>"
                     "function clientMenu() { return '缴费:send;回桌面:gotodesktop'; }\n"
                     "function send() { document.forms[0].submit(); }</script></head><body>"
                     "<h3>生活缴费</h3><p>水费、电费、燃气费，一点即缴。</p>"
                     "<form action=\"/puc/bill.do\" method=\"post\">"
                     "<input type=\"text\" name=\"account\" value=\"SH-0012345\"></form></body></html>",
                     "text/html;charset=UTF-8");
}

// The bill the form's request brings back: status 888 asks the client to pay it, with the key
// the payment password is to be encrypted with.
Reply Bill(testgateway::GatewayKey& key)
{
  nlohmann::ordered_json bill = key.sessionKey();
  bill.update({{"resultStatus", 888},
                      {"billNO", "B20240611"},
                      {"sellerName", "自来水公司"},
                      {"goodsName", "水费"},
                      {"tradeFrom", "生活缴费"},
                      {"totalFee", "35.00"},
                      {"availableBalance", "1200.00"},
                      {"memo", "请付款"}});
  return Reply::json(bill);
}

}  // namespace

class WebCentreRoadTest : public RoadTest {
 protected:
  using RoadTest::RoadTest;

  void PayABillFromTheWebCentre()
  {
    gateway.servePage("/puc/webMC.htm", CentrePage());
    gateway.servePageHandler("/puc/bill.do",
                             [&](const testgateway::RecordedRequest&) { return Bill(gateway.key()); });
    Install();
    StartClient();
    LogInToDesktop();
    OpenDesktopEntry(DesktopSlot::kWebCentre);
    auto* centre = PageIn<CHtmlDlg>(DesktopSlot::kWebCentre);
    ASSERT_NE(nullptr, centre);
    ASSERT_TRUE(gateway.waitForPath("/puc/webMC.htm"));
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return TextOf(GetDlgItem(centre->m_hWnd, 133)) == u"缴费"; }))
        << Recorded();
    Shot("centre");

    // The left key sends the bill form; the bill opens the trade pay dialog.
    ClientDriver::PostCommand(centre->m_hWnd, 133);
    ASSERT_TRUE(gateway.waitForPath("/puc/bill.do"));
    ASSERT_TRUE(ClientDriver::WaitUntil([&] {
      CTradePayDlg* dialog = centre->GetTradePayDialog();
      return dialog && dialog->m_hWnd && IsWindowVisible(dialog->m_hWnd);
    })) << Recorded();
    HWND pay = centre->GetTradePayDialog()->m_hWnd;
    EXPECT_EQ(pay, Driver().ActiveWindow()) << Recorded();
    EXPECT_EQ(pay, ClientDriver::WindowOnTop()) << Recorded();
    Shot("bill");
    ASSERT_TRUE(Driver().Type(GetDlgItem(pay, IDC_TRADEPAY_PASSWORD), kDemoPayPassword));
    kvtest::TapWindow(GetDlgItem(pay, IDC_TRADEPAY_PAY));
    auto paid = gateway.waitForRequest("pucPay");
    ASSERT_TRUE(paid) << Recorded();
    EXPECT_EQ("B20240611", paid->field("billNO")) << paid->body;
    auto password = gateway.key().decryptPassword(paid->field("payPassword"));
    ASSERT_TRUE(password) << paid->body;
    EXPECT_EQ("pay123456", password->password);
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !IsWindow(pay); })) << Recorded();
    ASSERT_TRUE(kvtest::RunUntilIdle());
    Shot("paid");

    // The entry said to close the page after a payment: the desktop is back.
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return Driver().ActiveWindow() == App().GetDesktopDlgWindow(); }))
        << Recorded();
  }
};

TEST_F(WebCentreRoadTest, TheWebCentreAndABillPayment)
{
  PayABillFromTheWebCentre();
}

using LargeScreenWebCentreRoadTest = OnALargeScreen<WebCentreRoadTest>;

TEST_F(LargeScreenWebCentreRoadTest, TheWebCentreAndABillPaymentOnALargeScreen)
{
  PayABillFromTheWebCentre();
}
