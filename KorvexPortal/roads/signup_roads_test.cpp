// The roads that sign something up: a new account registered from the login's menu, and a new
// bank card applied for through the card wizard from the desktop.
#include "desktop_dlg.h"
#include "dialog_ids.h"
#include "milocard_card_list_page.h"
#include "milocard_host_dlg.h"
#include "milocard_ids.h"
#include "milocard_apply_page.h"
#include "milocard_choice_page.h"
#include "milocard_done_page.h"
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
  ClientDriver::PostCommand(App().GetLoginDialog()->m_hWnd, ID_KV_REGISTER);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    CBaseDlg* form = App().GetRegisterDialog();
    return form && form->IsWindow() && IsWindowVisible(form->m_hWnd);
  })) << Recorded();
  ASSERT_TRUE(gateway.waitForRequest("preRegister"));
  auto* form = static_cast<CRegisterDlg*>(App().GetRegisterDialog());
  HWND window = form->m_hWnd;
  SetText(GetDlgItem(window, IDC_REGISTER_PHONE), u"13912345678");
  SetText(GetDlgItem(window, IDC_REGISTER_REALNAME), u"李华");
  SetText(GetDlgItem(window, IDC_REGISTER_CHECKCODE), u"3947");
  ASSERT_TRUE(Driver().Type(GetDlgItem(window, IDC_REGISTER_LOGINPASSWORD), u"login1234"));
  ASSERT_TRUE(Driver().Type(GetDlgItem(window, IDC_REGISTER_PAYPASSWORD), u"pay98765"));
  Shot("form");

  ClientDriver::PostCommand(window, IDC_REGISTER_SUBMIT);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    HWND page = form->GetFormPage().m_hWnd;
    return (page && IsWindow(page) && IsWindowVisible(page)) || !App().Boxes().empty();
  })) << Recorded();
  EXPECT_TRUE(App().Boxes().empty()) << Recorded();
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
  ClientDriver::PostCommand(form->GetFormPage().m_hWnd, ID_KV_REGISTER_DONE);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !IsWindow(window); })) << Recorded();
  EXPECT_TRUE(App().GetLoginDialog() && IsWindowVisible(App().GetLoginDialog()->m_hWnd));
}

TEST_F(RoadTest, LinkABankCard)
{
  Install();
  StartClient();
  LogInToDesktop();
  OpenDesktopEntry(DesktopSlot::kCardWizard);
  auto* wizard = PageIn<CMilocardHostDlg>(DesktopSlot::kCardWizard);
  ASSERT_NE(nullptr, wizard);
  ASSERT_TRUE(gateway.waitForRequest("preRequestMC2"));
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    return wizard->GetCardListPage() && IsWindowVisible(wizard->GetCardListPage()->m_hWnd);
  })) << Recorded();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(wizard->m_hWnd, ClientDriver::WindowOnTop()) << "the wizard shows above the other windows\n" << Recorded();
  Shot("cards");

  // A new card: the bank is chosen, the application carries the identity on file, and the
  // wizard ends on its last page.
  CMilocardCardListPage* list = wizard->GetCardListPage();
  int newCard = static_cast<int>(list->GetListedRows().size()) - 1;
  ASSERT_GE(newCard, 0);
  ClientDriver::PostCommand(list->m_hWnd, CMilocardCardListPage::kFirstButtonId + newCard);
  ClientDriver::PostCommand(wizard->m_hWnd, IDC_MILOCARD_FORWARD);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    return wizard->GetChoicePage() && IsWindowVisible(wizard->GetChoicePage()->m_hWnd);
  })) << Recorded();
  Shot("banks");
  ClientDriver::PostCommand(wizard->m_hWnd, IDC_MILOCARD_FORWARD);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    return wizard->GetApplyPage() && IsWindowVisible(wizard->GetApplyPage()->m_hWnd);
  })) << Recorded();
  Shot("application");
  ClientDriver::PostCommand(wizard->m_hWnd, IDC_MILOCARD_FORWARD);
  auto sent = gateway.waitForRequest("requestMC");
  ASSERT_TRUE(sent) << Recorded();
  EXPECT_FALSE(sent->field("bankId").empty());
  EXPECT_EQ("王小明", sent->field("realName"));
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    return wizard->GetDonePage() && IsWindowVisible(wizard->GetDonePage()->m_hWnd);
  })) << Recorded();
  Shot("done");
  HWND window = wizard->m_hWnd;
  ClientDriver::PostCommand(window, IDC_MILOCARD_FORWARD);
  ASSERT_TRUE(ClientDriver::WaitUntil([&] { return !IsWindow(window); })) << Recorded();
  EXPECT_TRUE(App().Boxes().empty()) << Recorded();
  ASSERT_TRUE(ClientDriver::WaitUntil([&] {
    return Driver().ActiveWindow() == App().GetDesktopDlgWindow();
  })) << Recorded();
  Shot("desktop");
}
