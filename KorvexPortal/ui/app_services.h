// The application object as the toolkit sees it: the program's module (with its per-thread
// message-loop registry), the screen-size resource library, the current user, the top dialog,
// and the operations the dialog base hands its commands and replies to. The operations are
// virtual: the application shell gives them their work, and tests record them.
#pragma once

#include "atl/app_module.h"
#include "text/cstring.h"

class CBaseDlg;

class CKorvexPortalApp : public CAppModule {
 public:
  // Records itself as the program's one application object.
  CKorvexPortalApp();
  ~CKorvexPortalApp() override;

  // The application's current top-level dialog; null before the run starts.
  CBaseDlg* GetMainDialog() const { return m_pMainDialog; }
  void SetMainDialog(CBaseDlg* dialog) { m_pMainDialog = dialog; }

  // The screen-size resource library (null when none is loaded). Setting it also makes it the
  // module's resource instance, so templates, bitmaps, menus and strings come from it.
  HMODULE GetResourceLibrary() const { return m_hResourceLibrary; }
  void SetResourceLibrary(HMODULE library);

  // The current user: empty while nobody is logged in.
  const CStringW& GetUserId() const { return m_strUserId; }
  const CStringW& GetLogonId() const { return m_strLogonId; }
  const CStringW& GetUserName() const { return m_strUserName; }
  void SetUserId(const CStringW& userId) { m_strUserId = userId; }
  void SetLogonId(const CStringW& logonId) { m_strLogonId = logonId; }
  void SetUserName(const CStringW& userName) { m_strUserName = userName; }

  // Ends the run's current screen: hides the top-level dialog and the shared box and posts the
  // dialog WM_KV_ENDDIALOG with the value (lParam 0). The shell also closes its secondary dialogs.
  virtual void PostToActiveDialog(int value);

  // The screens the dialog base's commands open; each returns what its dialog's ShowDialog
  // returned (-1 for a modeless show). Until the shell provides them they show nothing.
  virtual int ShowAboutDlg();
  virtual int ShowHelpDlg();
  virtual void ShowApnSettingsDlg(BOOL show);
  virtual void ShowPersonalInfoDlg(int page, int unused);

  // The update check and pre-registration, started from any dialog's menu, with the dialog's
  // window, the reply message it would take and the gateway's request URL; and the handlers of
  // the replies that a dialog passes on.
  virtual void CheckUpdate(HWND window, UINT replyMessage, const CStringW& url);
  virtual void OnUpdateCheckResult(WPARAM status, LPARAM unused);
  virtual void PreRegister(HWND window, UINT replyMessage, const CStringW& url);
  virtual void OnPreRegisterResult(WPARAM result, LPARAM reply);
  virtual LRESULT OnReply1587(WPARAM wParam, LPARAM lParam);

  // The shared message box (thread_message_box.h): shows the text with the type's keys and icon
  // and returns the key that ended it (1001 OK, 1002 Cancel, ...; -1 when no box could be shown),
  // leaving the box window shown (SW_SHOW) or hidden (SW_HIDE) afterwards. The box's window, null
  // when it has none (it is not made for the asking).
  virtual int ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                             int afterShow);
  virtual HWND GetMessageBoxWindow() const;

 private:
  CBaseDlg* m_pMainDialog = nullptr;
  HMODULE m_hResourceLibrary = nullptr;
  HINSTANCE m_hPreviousResourceInstance = nullptr;
  CStringW m_strUserId;
  CStringW m_strLogonId;
  CStringW m_strUserName;
};

// The program's application object, or null while none exists.
CKorvexPortalApp* GetKorvexPortalApp();
