// The top-up road: the recharge page opened from the desktop once for each method (the linked
// bank card, a prepaid phone-credit card, net banking handing over to the bank's page in the
// browser, a remittance draft), each sent to the gateway with what the user typed.

#include "desktop_dlg.h"
#include "ebank_charge_dlg.h"
#include "ebank_confirm_dlg.h"
#include "milocard_charge_dlg.h"
#include "mobile_card_charge_dlg.h"
#include "mobile_card_confirm_dlg.h"
#include "net_charge_dlg.h"
#include "recharge_host_dlg.h"
#include "recharge_ids.h"
#include "recharge_menu_page.h"
#include "road_fixture.h"
#include "testing/clock.h"

using namespace roads;

namespace {

// The methods in the order of the recharge page's menu.
enum Method { kLinkedCard = 0, kPhoneCreditCard = 1, kNetBank = 2, kDraft = 3 };

template <class Page>
bool Shown(Page* page)
{
  return page && page->m_hWnd && IsWindowVisible(page->m_hWnd);
}

}  // namespace

class TopUpRoadTest : public RoadTest {
 protected:
  // Opens the recharge page from the desktop and chooses the method; the method's page.
  CRechargeHostDlg* OpenMethod(Method method)
  {
    OpenDesktopEntry(DesktopSlot::kRechargeHost);
    auto* host = PageIn<CRechargeHostDlg>(DesktopSlot::kRechargeHost);
    EXPECT_TRUE(host && host->GetMenuPage());
    if (!host || !host->GetMenuPage())
      return nullptr;
    HWND menu = host->GetMenuPage()->m_hWnd;
    Driver().OnUi([&] { ::SendMessageW(menu, WM_KV_RECHARGE_METHOD, CRechargeMenuPage::kFirstMethodId + method, 0); });
    ClientDriver::PostCommand(host->m_hWnd, IDC_RECHARGE_ACTION);
    EXPECT_TRUE(ClientDriver::WaitUntil([&] {
      return Shown(host->GetMilocardPage()) || Shown(host->GetCardInputPage()) || Shown(host->GetEbankInputPage()) ||
             Shown(host->GetDraftPage());
    })) << Recorded();
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return host;
  }
  // The action key, and a wait until the outcome: a box more than before, or the page gone.
  void Act(CRechargeHostDlg* host)
  {
    size_t boxes = App().Boxes().size();
    HWND window = host->m_hWnd;
    ClientDriver::PostCommand(window, IDC_RECHARGE_ACTION);
    ASSERT_TRUE(ClientDriver::WaitUntil([&] {
      return App().Boxes().size() > boxes || !IsWindow(window);
    })) << Recorded();
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  void TypeInto(HWND page, int id, const std::u16string& text)
  {
    ASSERT_TRUE(Driver().Type(GetDlgItem(page, id), text));
  }
  std::string LastBox()
  {
    std::vector<std::string> boxes = App().Boxes();
    return boxes.empty() ? std::string() : boxes.back();
  }
  // What the device's browser was started with; empty while it has not run.
  std::string BrowserArguments()
  {
    std::string all = ReadHostFile(root.path() + "/args.bin");
    return all.substr(0, all.find('\0'));
  }
};

TEST_F(TopUpRoadTest, TopUpByEachMethod)
{
  Install();
  StartClient();
  LogInToDesktop();

  {
    SCOPED_TRACE("the linked bank card");
    CRechargeHostDlg* host = OpenMethod(kLinkedCard);
    ASSERT_TRUE(host && Shown(host->GetMilocardPage()));
    HWND page = host->GetMilocardPage()->m_hWnd;
    ASSERT_TRUE(ClientDriver::WaitUntil([&] {
      return SendMessageW(GetDlgItem(page, IDC_MILOCARD_CARDS), CB_GETCOUNT, 0, 0) > 0;
    }));
    TypeInto(page, IDC_MILOCARD_AMOUNT, u"50");
    TypeInto(page, IDC_MILOCARD_PASSWORD, kDemoPayPassword);
    Shot("linked_card");
    Act(host);
    auto sent = gateway.waitForRequest("mcDeposit");
    ASSERT_TRUE(sent) << Recorded();
    EXPECT_EQ("50", sent->field("depositAmount"));
    EXPECT_EQ("ICBC", sent->field("mcBankId")) << "the first linked card";
    auto password = gateway.key().decryptPassword(sent->field("payPassword"));
    ASSERT_TRUE(password);
    EXPECT_EQ("pay123456", password->password);
    EXPECT_NE(std::string::npos, LastBox().find("成功")) << Recorded();
  }
  {
    SCOPED_TRACE("a phone-credit card");
    CRechargeHostDlg* host = OpenMethod(kPhoneCreditCard);
    ASSERT_TRUE(host && Shown(host->GetCardInputPage()));
    HWND page = host->GetCardInputPage()->m_hWnd;
    TypeInto(page, IDC_CARD_NUMBER, u"12345678901234567");
    TypeInto(page, IDC_CARD_PASSWORD, u"123456789012345678");
    ClientDriver::PostCommand(host->m_hWnd, IDC_RECHARGE_ACTION);
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return Shown(host->GetCardConfirmPage()); })) << Recorded();
    Shot("phone_credit_card");
    Act(host);
    auto sent = gateway.waitForRequest("easyownDeposit");
    ASSERT_TRUE(sent) << Recorded();
    EXPECT_EQ("12345678901234567", sent->field("cardNo"));
    EXPECT_EQ("30", sent->field("cardAmount")) << "the first face value";
  }
  {
    SCOPED_TRACE("net banking");
    CRechargeHostDlg* host = OpenMethod(kNetBank);
    ASSERT_TRUE(host && Shown(host->GetEbankInputPage()));
    TypeInto(host->GetEbankInputPage()->m_hWnd, IDC_EBANK_AMOUNT, u"20");
    ClientDriver::PostCommand(host->m_hWnd, IDC_RECHARGE_ACTION);
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return Shown(host->GetEbankConfirmPage()); })) << Recorded();
    Shot("net_bank");
    // The confirmation sends itself after ten seconds and hands the bank's page to the browser.
    device::testing::AdvanceClock(10000);
    auto sent = gateway.waitForRequest("ebankDeposit");
    ASSERT_TRUE(sent) << Recorded();
    EXPECT_EQ("20", sent->field("depositAmount"));
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !BrowserArguments().empty(); })) << Recorded();
    EXPECT_EQ(gateway.httpsUrl() + "/ebank/pay.htm", BrowserArguments());
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !IsWindow(host->m_hWnd); })) << Recorded();
  }
  {
    SCOPED_TRACE("a remittance draft");
    CRechargeHostDlg* host = OpenMethod(kDraft);
    ASSERT_TRUE(host && Shown(host->GetDraftPage()));
    HWND page = host->GetDraftPage()->m_hWnd;
    TypeInto(page, IDC_DRAFT_NUMBER, u"123456789012345678");
    TypeInto(page, IDC_DRAFT_PASSWORD, u"654321");
    Shot("draft");
    Act(host);
    auto sent = gateway.waitForRequest("draftDeposit");
    ASSERT_TRUE(sent) << Recorded();
    EXPECT_EQ("123456789012345678", sent->field("draftNO"));
    auto password = gateway.key().decryptPassword(sent->field("draftPassword"));
    ASSERT_TRUE(password);
    EXPECT_EQ("654321", password->password);
    EXPECT_NE(std::string::npos, LastBox().find("充值成功")) << Recorded();
  }
}
