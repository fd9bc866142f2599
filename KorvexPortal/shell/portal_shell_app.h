// The application object of the client program: the shared operations of the toolkit's
// application object, plus the screens it owns and opens (each Show* in
// portal_shell_screens.cpp), the end of the run's dialogs, the start of registration, and the run
// itself: the order-pay dialog in order-pay mode, else the main window and its message loop.
//
// Lifetimes of the screens: the login and phone-binding dialogs are made anew on every show (the
// old object is deleted once none of its handlers runs any more); every other screen is made on
// first use and kept until DestroyDialogs; the about dialog lives as long as the application.
#pragma once

#include <memory>

#include "about_dlg.h"
#include "app_services.h"
#include "base_dlg.h"
#include "retired_dialogs.h"

class CKorvexPortalShellApp : public CKorvexPortalApp, public CIdleHandler {
 public:
  CKorvexPortalShellApp();
  ~CKorvexPortalShellApp() override;

  // The run: the order-pay dialog's result in order-pay mode ("/ORDERPAY" on the command line),
  // else the message loop's result, or 0 when the main window cannot be created.
  int Run(const CStringW& commandLine, int showCommand);

  int ShowLoginDlg(int unused) override;
  int ShowDesktopDlg(int unused) override;
  int ShowUnpaidTradeList(const CStringW& tradeTable, const CStringW& secondReply) override;
  int ShowAboutDlg() override;
  int ShowHelpDlg() override;
  void ShowApnSettingsDlg(BOOL show) override;
  void ShowPersonalInfoDlg(int backKey, int unused) override;
  int ShowQtoTDlg(int unused) override;
  int ShowBindPhoneDlg(int unused) override;

  void PreRegister(HWND window, UINT replyMessage, const CStringW& url) override;
  void OnPreRegisterResult(WPARAM result, LPARAM reply) override;

  // Closes the windows of the kept dialogs (the objects stay); the shared box is hidden first.
  void CloseOpenDialogs() override;
  // Closes and deletes the dialogs; the about dialog's window is only closed, and the unpaid-trade
  // list and trade query are left to the end of the process.
  void DestroyDialogs() override;

  // Deletes replaced dialogs whose handlers have returned; run when the run's loop is idle.
  BOOL OnIdle() override;

  // The screens as they are now, for those that look at them (null when not made).
  CBaseDlg* GetLoginDialog() const { return m_pLoginDlg.get(); }
  CBaseDlg* GetDesktopDialog() const { return m_pDesktopDlg.get(); }
  CBaseDlg* GetUnpaidTradeListDialog() const { return m_pUnpaidTradeListDlg.get(); }
  HWND GetDesktopDlgWindow() const override { return m_pDesktopDlg ? m_pDesktopDlg->m_hWnd : nullptr; }
  HWND GetDesktopTradeQueryWindow() const override;
  // Keeps the count and shows it on the desktop's messages button.
  void ShowUnreadCount(int count) override;
  CBaseDlg* GetBindPhoneDialog() const { return m_pBindPhoneDlg.get(); }
  CBaseDlg* GetRegisterDialog() const { return m_pRegisterDlg.get(); }
  CBaseDlg* GetHelpDialog() const { return m_pHelpDlg.get(); }
  CAboutDlg& GetAboutDialog() { return m_aboutDlg; }
  const CRetiredDialogs& GetRetiredDialogs() const { return m_retired; }

 private:
  // The registration dialog made on first use; null when it cannot be made.
  CBaseDlg* EnsureRegisterDialog();
  // Hands the registration dialog the gateway's key, its time stamp and the check-code picture.
  void SetRegisterKeyInfo(const CStringW& publicKey, const CStringW& timeStamp, HBITMAP checkCode);
  // Shows the order-pay dialog modally over the foreground window with the order as the top
  // window; its result.
  int RunOrderPay(const CStringW& order);
  // Creates the main window and runs the loop until it ends; 0 when it cannot be created.
  int RunMainWindow(CMessageLoop& loop, const CStringW& commandLine);

  std::unique_ptr<CBaseDlg> m_pDesktopDlg;
  std::unique_ptr<CBaseDlg> m_pUnpaidTradeListDlg;
  std::unique_ptr<CBaseDlg> m_pApnSettingsDlg;
  std::unique_ptr<CBaseDlg> m_pLoginDlg;
  std::unique_ptr<CBaseDlg> m_pPersonalInfoDlg;
  CAboutDlg m_aboutDlg;
  std::unique_ptr<CBaseDlg> m_pHelpDlg;
  std::unique_ptr<CBaseDlg> m_pQtoTDlg;
  std::unique_ptr<CBaseDlg> m_pBindPhoneDlg;
  std::unique_ptr<CBaseDlg> m_pRegisterDlg;
  CRetiredDialogs m_retired;
};
