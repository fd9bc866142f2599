// The application object as the screens see it: the program's module (with its per-thread
// message-loop registry), the screen-size resource library, the command line, the settings file,
// the device identity, the current user, the service facade, the request operations every screen
// uses around a gateway request, and the screens that are opened from more than one place.
//
// The screen operations (Show*, the update, pre-registration and the end of the run) are virtual:
// the application shell gives them their work, and tests record them. Everything else is the
// same for every program that links the toolkit.
#pragma once

#include <map>

#include "device_info.h"
#include "atl/app_module.h"
#include "text/cstring.h"
#include "windows.h"

class CBaseDlg;
class CIniFile;
class CPaymentService;
class CResponseMap;
class IServiceListener;

class CKorvexPortalApp : public CAppModule {
 public:
  // Records itself as the program's one application object.
  CKorvexPortalApp();
  ~CKorvexPortalApp() override;

  // Start-up: the module, the command-line map, the screen-size resource library, the widget
  // library path, the device identity and the service facade. The module's result, or -1 when
  // no resource library could be loaded (the start goes on).
  int Init(HINSTANCE instance);

  // The application's top window (the main window or the order-pay dialog); null before the run.
  CBaseDlg* GetMainDialog() const { return m_pMainDialog; }
  void SetMainDialog(CBaseDlg* dialog) { m_pMainDialog = dialog; }

  // The screen-size resource library (null when none is loaded). Setting it also makes it the
  // module's resource instance, so templates, bitmaps, menus and strings come from it.
  HMODULE GetResourceLibrary() const { return m_hResourceLibrary; }
  void SetResourceLibrary(HMODULE library);
  // Loads "ModelRes_<width>x<height>" from the program folder, else "ModelRes_240x320.dll".
  static HMODULE LoadModelResources();

  // The command line: each word cut at its first colon into key and value.
  void ParseCommandLine(const CStringW& commandLine);
  bool GetCommandLineValue(const CStringW& key, CStringW& value) const;
  bool HasCommandLineKey(const CStringW& key) const { return m_commandLine.count(key) != 0; }
  // The widget resource library's path (program folder + "WidgetRes.dll"); false when unset.
  bool GetResourceDllPath(CStringW& path) const;

  // Settings in section "main" of "appconfig.dat", each value stored as its Base64 text.
  CIniFile* GetConfigFile();
  BOOL GetConfig(const WCHAR* key, CStringW& value);
  BOOL SetConfig(const WCHAR* key, const CStringW& value);

  // The device identity (IMSI and IMEI padded to 15 digits), read from the phone once a run.
  const DeviceIdentity& GetDeviceInfo(DeviceIdentity& identity, CStringW* deviceText = nullptr);
  // The client id "IMSI|IMEI".
  CStringW& JoinPair(CStringW& clientId);
  CStringW& GetVersionText(CStringW& version);
  CStringW& ProductIdToText(CStringW& text);

  // The service facade made by Init (tests may hand in their own).
  CPaymentService* GetPaymentService() const { return m_pPaymentService; }
  void SetPaymentService(CPaymentService* service) { m_pPaymentService = service; }

  // The current user: empty while nobody is logged in.
  const CStringW& GetUserId() const { return m_strUserId; }
  const CStringW& GetLogonId() const { return m_strLogonId; }
  const CStringW& GetUserName() const { return m_strUserName; }
  const CStringW& GetGreeting() const { return m_strGreeting; }
  void SetUserId(const CStringW& userId) { m_strUserId = userId; }
  void SetLogonId(const CStringW& logonId) { m_strLogonId = logonId; }
  void SetUserName(const CStringW& userName) { m_strUserName = userName; }
  void SetGreeting(const CStringW& greeting) { m_strGreeting = greeting; }
  int GetUnreadCount() const { return m_nUnreadCount; }
  void SetUnreadCount(int count) { m_nUnreadCount = count; }

  // Requests around the shared wait box. Sends the request through the HTTP client's queue and
  // blocks until the reply (-1; the reply message is then posted to the owner) or a cancel (1002).
  int SendRequestAndWait(HWND owner, UINT replyMessage, const CStringW& url, const CStringW& body,
                         CStringW waitText, UINT boxType, int timeout);
  // The statuses every screen treats alike; returns the reply's "resultStatus" (0 when none).
  int OnSessionResult(CResponseMap& reply);
  // The activation request "confirmMobilePay" that status 111 calls for.
  int SubmitActivation(IServiceListener* listener);

  // Ends the run's current screen: hides the top window, closes the open dialogs and posts the
  // top window WM_KV_ENDDIALOG with the value (lParam 0).
  virtual void PostToActiveDialog(int value);
  // Hides the shared box and closes the windows of the dialogs the shell keeps.
  virtual void CloseOpenDialogs();
  virtual void DestroyDialogs();

  // The screens opened from more than one place; each returns what its dialog's ShowDialog
  // returned (-1 for a modeless show). Until the shell provides them they show nothing.
  virtual int ShowLoginDlg(int unused);
  virtual int ShowDesktopDlg(int unused);
  virtual int ShowUnpaidTradeList(const CStringW& tradeTable, const CStringW& secondReply);
  virtual int ShowAboutDlg();
  virtual int ShowHelpDlg();
  virtual void ShowApnSettingsDlg(BOOL show);
  virtual void ShowPersonalInfoDlg(int backKey, int unused);
  virtual int ShowQtoTDlg(int unused);
  virtual int ShowBindPhoneDlg(int unused);
  // The desktop's window while it exists (the unpaid-trade list posts it the trade query's
  // entry); null until the shell has one.
  virtual HWND GetDesktopDlgWindow() const { return nullptr; }
  // The window of the trade query page that the desktop keeps, while it has one; null otherwise
  // (a payment that finds the session ended closes it).
  virtual HWND GetDesktopTradeQueryWindow() const { return nullptr; }
  // A new unread-message count for the desktop's messages button (the message list passes on
  // the count of its fetch); called on the user-interface thread. Nothing until the shell has a
  // desktop.
  virtual void ShowUnreadCount(int) {}

  // The update check and pre-registration, started from any dialog's menu, with the dialog's
  // window, the reply message it would take and the gateway's request URL; and the handlers of
  // the replies that a dialog passes on.
  virtual void CheckUpdate(HWND window, UINT replyMessage, const CStringW& url);
  virtual void OnUpdateCheckResult(WPARAM status, LPARAM unused);
  virtual void DownloadUpdate(const CStringW& url);
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

 protected:
  // Whether the user declined an offered update (status 202) in this run.
  bool m_bUpdateDeclined = false;

 private:
  CBaseDlg* m_pMainDialog = nullptr;
  HMODULE m_hResourceLibrary = nullptr;
  HINSTANCE m_hPreviousResourceInstance = nullptr;
  CIniFile* m_pConfig = nullptr;
  HANDLE m_hActivationEvent = nullptr;
  CStringW m_strWidgetLibraryPath;
  std::map<CStringW, CStringW> m_commandLine;
  DeviceIdentity m_identity{};
  CStringW m_strDeviceText;
  CStringW m_strLogonId;
  CStringW m_strGreeting;
  CStringW m_strUserName;
  CStringW m_strUserId;
  CStringW m_strVersion;
  int m_nUnreadCount = 0;
  CPaymentService* m_pPaymentService = nullptr;
  // The facade Init made, freed with the application object.
  CPaymentService* m_pOwnedPaymentService = nullptr;
};

// The program's application object, or null while none exists.
CKorvexPortalApp* GetKorvexPortalApp();

// Status 200 ends the session: the memo is shown, the user cleared and the login shown again.
// 1 when it handled the status, 0 otherwise.
int HandleCommonStatus(int status, const CStringW& memo);
