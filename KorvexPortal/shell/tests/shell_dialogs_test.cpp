// The screens' lifetimes in the application object: the login and phone-binding dialogs made anew
// on every show (also from inside their own handlers), the others kept; closing the open dialogs
// and destroying them at the end; the about dialog.
#include "dialog_ids.h"
#include "shell_fixture.h"
#include "shell_ids.h"

using namespace shelltest;

namespace {

// A screen made anew on every show, as the table of lifetimes says.
struct RenewedScreen {
  const char* name;
  int (CKorvexPortalShellApp::*show)(int);
  CBaseDlg* (CKorvexPortalShellApp::*get)() const;
  const char* title;
};

const RenewedScreen kRenewed[] = {
    {"login", &CKorvexPortalShellApp::ShowLoginDlg, &CKorvexPortalShellApp::GetLoginDialog, "用户登录"},
    {"bind phone", &CKorvexPortalShellApp::ShowBindPhoneDlg, &CKorvexPortalShellApp::GetBindPhoneDialog, "绑定手机"},
};

}  // namespace

TEST_F(ShellTest, LoginAndBindPhoneAreMadeAnewOnEveryShow)
{
  for (const RenewedScreen& screen : kRenewed) {
    SCOPED_TRACE(screen.name);
    HWND first = nullptr;
    OnUi([&] {
      (app.*screen.show)(0);
      first = (app.*screen.get)()->m_hWnd;
    });
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(screen.title, TitleOf(first));
    EXPECT_TRUE(IsWindowVisible(first));

    HWND second = nullptr;
    OnUi([&] {
      (app.*screen.show)(0);
      second = (app.*screen.get)()->m_hWnd;
    });
    EXPECT_FALSE(IsWindow(first)) << "the old dialog is closed";
    ASSERT_TRUE(IsWindow(second));
    EXPECT_TRUE(IsWindowVisible(second));
    EXPECT_EQ(0u, app.GetRetiredDialogs().Pending()) << "the old object is deleted at once";
  }
}

TEST_F(ShellTest, DesktopIsKeptAndShownAgain)
{
  CBaseDlg* first = nullptr;
  OnUi([&] {
    app.ShowDesktopDlg(0);
    first = app.GetDesktopDialog();
  });
  ASSERT_TRUE(IsShown(first));
  HWND window = first->m_hWnd;
  OnUi([&] { app.ShowDesktopDlg(0); });
  EXPECT_EQ(first, app.GetDesktopDialog());
  EXPECT_EQ(window, first->m_hWnd) << "the live window is shown again";
  EXPECT_EQ("我的钱包", TitleOf(window));
}

// A reply that the dialog itself is handling (status 200 during its own pre-registration) opens a
// new dialog of its kind: the old one's window goes at once, its object once its handler returned.
TEST_F(ShellTest, ADialogReplacedFromItsOwnHandlerIsDeletedAfterTheHandler)
{
  for (const RenewedScreen& screen : kRenewed) {
    SCOPED_TRACE(screen.name);
    HWND old = nullptr;
    OnUi([&] {
      (app.*screen.show)(0);
      old = (app.*screen.get)()->m_hWnd;
    });
    size_t pendingInside = 0;
    bool oldWindowInside = true;
    app.onPreRegisterReply = [&] {
      (app.*screen.show)(0);
      pendingInside = app.GetRetiredDialogs().Pending();
      oldWindowInside = IsWindow(old);
    };
    ui.Invoke([&] { SendMessageW(old, WM_KV_PREREGISTER_REPLY, 0, 0); });
    app.onPreRegisterReply = nullptr;
    EXPECT_EQ(1u, pendingInside) << "kept while its handler runs";
    EXPECT_FALSE(oldWindowInside) << "closed at once";
    HWND renewed = (app.*screen.get)()->m_hWnd;
    EXPECT_NE(old, renewed);
    EXPECT_TRUE(IsWindow(renewed));

    // The run's loop sweeps when it is idle, with no handler of the old dialog on the stack.
    size_t pendingAfter = 1;
    ui.Invoke([&] {
      app.OnIdle();
      pendingAfter = app.GetRetiredDialogs().Pending();
    });
    EXPECT_EQ(0u, pendingAfter);
  }
}

TEST_F(ShellTest, CloseOpenDialogsClosesTheKeptWindowsAndKeepsTheObjects)
{
  OnUi([&] {
    app.ShowDesktopDlg(0);
    app.ShowHelpDlg();
    app.ShowAboutDlg();
    app.ShowBindPhoneDlg(0);
    app.ShowLoginDlg(0);
  });
  CBaseDlg* login = app.GetLoginDialog();
  CBaseDlg* desktop = app.GetDesktopDialog();
  ASSERT_TRUE(IsShown(login));
  ASSERT_TRUE(IsShown(desktop));
  ASSERT_TRUE(IsShown(&app.GetAboutDialog()));
  ASSERT_TRUE(IsShown(app.GetBindPhoneDialog()));

  OnUi([&] { app.CloseOpenDialogs(); });
  EXPECT_EQ(login, app.GetLoginDialog());
  EXPECT_EQ(desktop, app.GetDesktopDialog());
  EXPECT_EQ(nullptr, login->m_hWnd);
  EXPECT_EQ(nullptr, desktop->m_hWnd);
  EXPECT_EQ(nullptr, app.GetAboutDialog().m_hWnd);
  EXPECT_TRUE(IsShown(app.GetBindPhoneDialog())) << "the phone binding is not among the dialogs closed";

  OnUi([&] { app.ShowDesktopDlg(0); });
  EXPECT_TRUE(IsShown(desktop)) << "a kept dialog opens again";
}

TEST_F(ShellTest, DestroyDialogsDeletesTheDialogsAndOnlyClosesTheAbout)
{
  OnUi([&] {
    app.ShowLoginDlg(0);
    app.ShowDesktopDlg(0);
    app.ShowBindPhoneDlg(0);
    app.ShowApnSettingsDlg(FALSE);
    app.ShowAboutDlg();
  });
  HWND bindPhone = app.GetBindPhoneDialog()->m_hWnd;
  OnUi([&] { app.DestroyDialogs(); });
  EXPECT_EQ(nullptr, app.GetLoginDialog());
  EXPECT_EQ(nullptr, app.GetDesktopDialog());
  EXPECT_EQ(nullptr, app.GetBindPhoneDialog());
  EXPECT_FALSE(IsWindow(bindPhone));
  EXPECT_EQ(nullptr, app.GetAboutDialog().m_hWnd);
  EXPECT_EQ(0u, app.GetRetiredDialogs().Pending());
  OnUi([&] { app.ShowAboutDlg(); });
  EXPECT_TRUE(IsShown(&app.GetAboutDialog())) << "the about dialog lives on";
}

TEST_F(ShellTest, TheAboutDialogsLeftKeyClosesIt)
{
  OnUi([&] { app.ShowAboutDlg(); });
  CAboutDlg& about = app.GetAboutDialog();
  ASSERT_TRUE(IsShown(&about));
  HWND back = GetDlgItem(about.m_hWnd, IDC_DIALOG_SOFTKEY1);
  ASSERT_NE(nullptr, back);
  EXPECT_EQ("返回", TitleOf(back));
  EXPECT_TRUE(kvtest::PressKey(VK_F1));
  EXPECT_EQ(nullptr, about.m_hWnd);
}
