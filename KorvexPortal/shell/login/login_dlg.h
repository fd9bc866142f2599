// The login dialog: the account and the password (under the secure-input guard), remembered in
// the settings when the user asks; a check code with its picture when the gateway demands one.
// The login goes through the service facade behind the shared wait box; its result opens the
// unpaid-trade list or the desktop, offers an update, asks for the check code, or shows what
// went wrong next to the field or in a box.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "base_dlg.h"
#include "check_code_image.h"
#include "hint_edit.h"
#include "link_label.h"
#include "login_ids.h"
#include "service_listener.h"
#include "service_results.h"

class CPaymentService;
class CServiceCommand;

// Posted to the dialog after a login attempt, and after a check-code fetch (wParam, lParam 0).
#define WM_KV_LOGIN_DONE 0x605
#define WM_KV_CHECKCODE_DONE 0x608

class CLoginDlg : public CBaseDlg, public IServiceListener {
 public:
  // The facade's notification codes the dialog takes.
  enum : int {
    kLoginFailed = 1,
    kLoginSucceeded = 2,
    kLoginUpdate = 3,
    kLoginCheckCode = 4,
    kCheckCodeFetched = 87,
    kCheckCodeNetworkFailure = 65,
  };

  CLoginDlg();
  ~CLoginDlg() override;

  int GetTemplateId(int orientation) override { return orientation == -1 ? IDD_LOGIN_LAND : IDD_LOGIN; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == -1 ? 0x419 : 0x418; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return IDC_LOGIN_SOFTKEY1; }
  int GetSoftKey2Id() override { return IDC_LOGIN_SOFTKEY2; }
  int GetMenuId() override { return IDM_LOGIN; }
  int GetCenterKeyId() override { return IDC_LOGIN_CENTERKEY; }

  // Skins the edits and records the other fields for the layout.
  BOOL BindControls(BOOL save, int controlId) override;
  // Puts the password under guard, types the remembered password into it and focuses the account.
  void InitFocus() override;
  // On the network worker: keeps the result of the running operation and ends the wait.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;
  // Whether the typed password is still held in plain text (it is wiped once sent).
  bool HoldsPlainPassword() const { return !m_strPassword.IsEmpty(); }

  BEGIN_MSG_MAP(CLoginDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColorButton)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDC_LOGIN_BUTTON, OnSubmit)
    COMMAND_ID_HANDLER(IDC_LOGIN_SOFTKEY1, OnSubmit)
    COMMAND_ID_HANDLER(IDC_LOGIN_REMEMBER_ID, OnRememberIdClicked)
    COMMAND_ID_HANDLER(IDC_LOGIN_REMEMBER_PASSWORD, OnRememberPasswordClicked)
    COMMAND_ID_HANDLER(IDC_LOGIN_CHECKCODE_REFRESH, OnRefreshCheckCode)
    MESSAGE_HANDLER(WM_KV_LOGIN_DONE, OnLoginDone)
    MESSAGE_HANDLER(WM_KV_CHECKCODE_DONE, OnCheckCodeDone)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 protected:
  // The operation whose notifications the listener takes.
  enum class Pending { kNone, kLogin, kCheckCode };

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  // The check boxes and the link stand on the page's colour.
  LRESULT OnCtlColorButton(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSubmit(WORD, WORD, HWND, BOOL&);
  LRESULT OnRememberIdClicked(WORD, WORD, HWND, BOOL&);
  LRESULT OnRememberPasswordClicked(WORD, WORD, HWND, BOOL&);
  LRESULT OnRefreshCheckCode(WORD, WORD, HWND, BOOL&);
  LRESULT OnLoginDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCheckCodeDone(UINT, WPARAM, LPARAM, BOOL&);

 private:
  // Runs the operation behind the shared wait box with the text, the box left shown or hidden
  // afterwards; true when its result came, false when nothing was started or the user cancelled.
  bool RunWithWaitBox(Pending operation, const WCHAR* waitText, int afterShow,
                      const std::function<CServiceCommand*(CPaymentService&)>& start);
  // The branches of the login result.
  void OnLoginSucceeded(const LoginResult& record);
  void OnUpdateDemanded(const UpdateResult& record);
  void OnCheckCodeDemanded(const LoginResult& record);
  void OnFieldError(const CStringW& memo);
  void OnSupplementDemanded();
  void OnLoginRefused(const CStringW& memo);
  // Shows the picture of the Base64 text in the check-code control.
  void ShowCheckCodeImage(const std::u16string& base64);
  void ShowCheckCodeFields();
  bool IsCheckCodeShown() const;
  bool IsChecked(int controlId) const;
  // The shared box (the application's, so tests can answer it).
  int ShowBox(HWND owner, const CStringW& text, UINT type, int afterShow);
  void HideBox();
  // Wipes the password and its remembered form.
  void WipePasswords();

  CHintEdit m_accountEdit;
  CHintEdit m_passwordEdit;
  CHintEdit m_checkCodeEdit;
  CCheckCodeImage m_checkCodeImage;
  // The refresh link; the dialog draws it itself, centred, on WM_DRAWITEM.
  CLinkLabel m_refreshLink;
  HWND m_hCheckCodeEdit = nullptr;
  HWND m_hCheckCodeImage = nullptr;
  HWND m_hRefreshLink = nullptr;
  HWND m_hRememberId = nullptr;
  HWND m_hRememberPassword = nullptr;
  HWND m_hLoginButton = nullptr;
  bool m_bPasswordGuarded = false;
  HBRUSH m_hPageBrush = nullptr;

  CStringW m_strAccount;
  CStringW m_strPassword;
  // The password in the form "LastUserPassword" keeps, made when the login is sent.
  CStringW m_strRememberedPassword;

  // What the listener keeps for the user-interface thread, which reads it once the wait ended.
  std::mutex m_resultLock;
  std::atomic<Pending> m_pending{Pending::kNone};
  std::unique_ptr<LoginResult> m_pLoginRecord;
  std::unique_ptr<UpdateResult> m_pUpdateRecord;
  std::unique_ptr<CheckCodeResult> m_pCheckCodeRecord;
  int m_nLastCode = 0;
  int m_nLastStatus = 0;
  CStringW m_strLastMemo;
};
