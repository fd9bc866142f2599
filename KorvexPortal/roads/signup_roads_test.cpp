// The roads that sign something up: a new account registered from the login's menu, and a bank
// card linked (activated) through the card wizard from the desktop.
#include "desktop_dlg.h"
#include "dialog_ids.h"
#include "milocard_card_list_page.h"
#include "milocard_host_dlg.h"
#include "milocard_ids.h"
#include "milocard_step4_dlg.h"
#include "register_dlg.h"
#include "register_form_dlg.h"
#include "register_ids.h"
#include "road_fixture.h"

using namespace roads;

TEST_F(RoadTest, Register)
{
  Install();
  StartClient();
  // The login's menu starts the registration: the gateway's key and check-code picture first.
  Command(app.GetLoginDialog()->m_hWnd, ID_KV_REGISTER);
  ASSERT_TRUE(RunUntil([&] {
    CBaseDlg* form = app.GetRegisterDialog();
    return form && form->IsWindow() && IsWindowVisible(form->m_hWnd);
  })) << Recorded();
  ASSERT_TRUE(gateway.waitForRequest("preRegister"));
  auto* form = static_cast<CRegisterDlg*>(app.GetRegisterDialog());
  HWND window = form->m_hWnd;
  SetText(GetDlgItem(window, IDC_REGISTER_PHONE), u"13912345678");
  SetText(GetDlgItem(window, IDC_REGISTER_REALNAME), u"李华");
  SetText(GetDlgItem(window, IDC_REGISTER_CHECKCODE), u"3947");
  Type(GetDlgItem(window, IDC_REGISTER_LOGINPASSWORD), u"login1234");
  Type(GetDlgItem(window, IDC_REGISTER_PAYPASSWORD), u"pay98765");
  Shot("form");

  Command(window, IDC_REGISTER_SUBMIT);
  ASSERT_TRUE(RunUntil([&] {
    HWND page = form->GetFormPage().m_hWnd;
    return (page && IsWindow(page) && IsWindowVisible(page)) || !app.Boxes().empty();
  })) << Recorded();
  EXPECT_TRUE(app.Boxes().empty()) << Recorded();
  auto sent = gateway.waitForRequest("register");
  ASSERT_TRUE(sent);
  EXPECT_EQ("13912345678", sent->field("phoneNO"));
  EXPECT_EQ("李华", sent->field("realName"));
  for (auto [key, typed] : {std::pair{"loginPassword", "login1234"}, std::pair{"payPassword", "pay98765"}}) {
    auto plain = gateway.key().decryptPassword(sent->field(key));
    ASSERT_TRUE(plain) << key;
    EXPECT_EQ(typed, plain->password) << key;
  }
  ASSERT_TRUE(kvtest::RunUntilIdle());
  Shot("activation");

  // Done: the registration ends and the login is there again.
  Command(form->GetFormPage().m_hWnd, ID_KV_REGISTER_DONE);
  ASSERT_TRUE(RunUntil([&] { return !IsWindow(window); })) << Recorded();
  EXPECT_TRUE(app.GetLoginDialog() && IsWindowVisible(app.GetLoginDialog()->m_hWnd));
}

TEST_F(RoadTest, LinkABankCard)
{
  Install();
  StartClient();
  LogInToDesktop();
  OpenDesktopEntry(static_cast<int>(DesktopSlot::kCardWizard));
  auto* wizard = dynamic_cast<CMilocardHostDlg*>(
      static_cast<CDesktopDlg*>(app.GetDesktopDialog())->GetPage(DesktopSlot::kCardWizard));
  ASSERT_NE(nullptr, wizard);
  ASSERT_TRUE(gateway.waitForRequest("preRequestMC2"));
  ASSERT_TRUE(RunUntil([&] {
    return wizard->GetCardListPage() && IsWindowVisible(wizard->GetCardListPage()->m_hWnd);
  })) << Recorded();
  Shot("cards");

  // The account's cards wait for activation: the card's number and the payment password link it.
  Command(wizard->m_hWnd, IDC_MILOCARD_FORWARD);
  ASSERT_TRUE(RunUntil([&] {
    CMilocardStep4Dlg* page = wizard->GetActivationPage();
    return page && IsWindowVisible(page->m_hWnd);
  })) << Recorded();
  HWND page = wizard->GetActivationPage()->m_hWnd;
  SetText(GetDlgItem(page, IDC_MILOCARD_CARD_NUMBER), u"6222020200112233445");
  Type(GetDlgItem(page, IDC_MILOCARD_PAY_PASSWORD), kDemoPayPassword);
  Shot("activation");
  HWND window = wizard->m_hWnd;
  Command(window, IDC_MILOCARD_FORWARD);
  ASSERT_TRUE(RunUntil([&] { return !IsWindow(window); })) << Recorded();
  auto sent = gateway.waitForRequest("bindingMC");
  ASSERT_TRUE(sent);
  EXPECT_EQ("6222020200112233445", sent->field("bankCardNO"));
  auto plain = gateway.key().decryptPassword(sent->field("payPassword"));
  ASSERT_TRUE(plain);
  EXPECT_EQ("pay123456", plain->password);
  ASSERT_FALSE(app.Boxes().empty());
  EXPECT_NE(std::string::npos, app.Boxes().back().find("激活成功")) << Recorded();
  ASSERT_TRUE(RunUntil([&] { return ActiveWindow() == app.GetDesktopDlgWindow(); })) << Recorded();
  Shot("desktop");
}
