// Sending the login and fetching a new check code, each behind the shared wait box, and the
// listener that keeps their results for the user-interface thread.
#include "app_services.h"
#include "input_validators.h"
#include "login_dlg.h"
#include "message_box_types.h"
#include "password_cipher.h"
#include "payment_service.h"
#include "secret_wipe.h"
#include "selvane/selvane.h"
#include "thread_message_box.h"

namespace {

// Validation messages: a notice that closes itself.
constexpr UINT kValidationBox = KV_BOX_INFO | KV_BOX_SELF_CLOSING;
// The unpaid trades that ride with the login: the first page of five.
constexpr int kTradePageSize = 5;
constexpr int kTradePage = 1;
// What GetInputForMe is given: 260 characters.
constexpr DWORD kPasswordBufferBytes = 520;

}  // namespace

LRESULT CLoginDlg::OnSubmit(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  BindControls(TRUE, -1);
  m_strAccount.Empty();
  if (m_accountEdit.m_hWnd)
    m_accountEdit.GetWindowText(m_strAccount);
  WipePasswords();
  WCHAR buffer[kPasswordBufferBytes / sizeof(WCHAR)] = {};
  if (m_passwordEdit.m_hWnd)
    GetInputForMe(m_passwordEdit, buffer, kPasswordBufferBytes);
  m_strPassword = buffer;
  WipeSecret(buffer, sizeof buffer);

  TradeListQuery tradeQuery;
  tradeQuery.pageCount = kTradePageSize;
  tradeQuery.nextPage = kTradePage;
  if (app)
    app->GetConfig(u"loginServerTime", tradeQuery.startDateTime);

  CStringW message;
  if (!ValidateAccount(m_strAccount, message) || !ValidateLoginPassword(m_strPassword, message)) {
    WipePasswords();
    ShowBox(::GetActiveWindow(), message, kValidationBox, SW_HIDE);
    return 0;
  }
  CStringW checkCode;
  if (IsCheckCodeShown()) {
    m_checkCodeEdit.GetWindowText(checkCode);
    if (checkCode.IsEmpty()) {
      WipePasswords();
      ShowBox(::GetActiveWindow(), u"请输入验证码.", kValidationBox, SW_HIDE);
      ::SetFocus(m_checkCodeEdit);
      ::UpdateWindow(m_hWnd);
      return 0;
    }
  }

  // The stored form is made now so that the plain password goes as soon as it is sent.
  CPasswordCipher cipher;
  m_strRememberedPassword = cipher.Encrypt(m_strPassword);
  bool done = RunWithWaitBox(Pending::kLogin, u"正在登录...", SW_SHOW, [&](CPaymentService& service) {
    CServiceCommand* command = service.Login(m_strAccount, m_strPassword,
                                             checkCode.IsEmpty() ? nullptr : checkCode.GetString(), tradeQuery);
    WipeSecret(m_strPassword);
    return command;
  });
  WipeSecret(m_strPassword);
  if (done)
    PostMessage(WM_KV_LOGIN_DONE);
  else
    WipePasswords();
  return 0;
}

LRESULT CLoginDlg::OnRefreshCheckCode(WORD, WORD, HWND, BOOL&)
{
  bool done = RunWithWaitBox(Pending::kCheckCode, u"正在获取验证码...", SW_HIDE,
                             [](CPaymentService& service) { return service.GetLoginCheckCode(); });
  if (done)
    PostMessage(WM_KV_CHECKCODE_DONE);
  return 0;
}

bool CLoginDlg::RunWithWaitBox(Pending operation, const WCHAR* waitText, int afterShow,
                               const std::function<CServiceCommand*(CPaymentService&)>& start)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service)
    return false;
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    m_nLastCode = 0;
    m_nLastStatus = 0;
    m_strLastMemo.Empty();
    if (operation == Pending::kCheckCode)
      m_pCheckCodeRecord.reset();
  }
  // Armed before the command starts: a result that comes before the box shows is kept.
  CThreadMessageBox::Instance().ArmWait();
  m_pending = operation;
  service->AddListener(this);
  CServiceCommand* command = start(*service);
  bool done = false;
  if (command) {
    int answer = app->ShowMessageBox(m_hWnd, waitText, CStringW(), KV_BOX_WAIT, TRUE, afterShow);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
    else
      done = true;
  }
  service->RemoveListener(this);
  m_pending = Pending::kNone;
  return done;
}

int CLoginDlg::OnServiceNotify(int code, HRESULT, LPARAM value, const WCHAR* memo)
{
  // Only the running operation's own codes count; the desktop's unread count (32, 33) and any
  // other operation's result pass by without touching anything.
  Pending pending = m_pending.load();
  bool mine = (pending == Pending::kLogin && code >= kLoginFailed && code <= kLoginCheckCode) ||
              (pending == Pending::kCheckCode && (code == kCheckCodeFetched || code == kCheckCodeNetworkFailure));
  if (!mine)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    m_nLastCode = code;
    switch (code) {
    case kLoginSucceeded:
    case kLoginCheckCode:
      m_pLoginRecord.reset(reinterpret_cast<LoginResult*>(value));
      m_nLastStatus = 100;
      break;
    case kLoginUpdate:
      m_pUpdateRecord.reset(reinterpret_cast<UpdateResult*>(value));
      m_nLastStatus = 100;
      break;
    case kCheckCodeFetched:
      m_pCheckCodeRecord.reset(reinterpret_cast<CheckCodeResult*>(value));
      m_strLastMemo = memo ? memo : u"";
      break;
    default:
      m_strLastMemo = memo ? memo : u"";
      m_nLastStatus = static_cast<int>(value);
      break;
    }
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}
