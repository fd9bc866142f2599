// What the dialog does with a login result and with a fetched check code.
#include "app_services.h"
#include "facade_request.h"
#include "ini_file.h"
#include "log_writer.h"
#include "login_dlg.h"
#include "message_box_types.h"
#include "net_transport.h"
#include "service_reply.h"

namespace {

// Shown when a refusal comes without a memo of its own.
constexpr const WCHAR* kNoMemoText = u"登录失败，请稍后再试。";

// The single-byte form of a Base64 text; anything outside ASCII becomes a character the decoder
// skips.
std::string Narrow(const std::u16string& text)
{
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Whether the trade table of the login reply lists unpaid trades.
bool HasUnpaidTrades(const std::u16string& extraData)
{
  Json::Value reply;
  if (!ParseServiceReply(extraData.c_str(), reply))
    return false;
  const Json::Value& trades = reply[u"tradeTableList"];
  return trades.type() == Json::arrayValue && trades.size() > 0;
}

}  // namespace

LRESULT CLoginDlg::OnLoginDone(UINT, WPARAM, LPARAM, BOOL&)
{
  int code = 0;
  int status = 0;
  CStringW memo;
  LoginResult* login = nullptr;
  UpdateResult* update = nullptr;
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    code = m_nLastCode;
    status = m_nLastStatus;
    memo = m_strLastMemo;
    login = m_pLoginRecord.get();
    update = m_pUpdateRecord.get();
  }
  if (status == 100 && code == kLoginUpdate && update) {
    OnUpdateDemanded(*update);
    WipePasswords();
    return 0;
  }
  if (status == 100 && code == kLoginCheckCode && login) {
    OnCheckCodeDemanded(*login);
    WipePasswords();
    return 0;
  }
  if (status == 100 && code == kLoginSucceeded && login)
    OnLoginSucceeded(*login);
  else if (status >= 301 && status <= 400)
    OnFieldError(memo);
  else if (status == 411)
    OnSupplementDemanded();
  else
    OnLoginRefused(memo);
  WipePasswords();
  HideBox();
  return 0;
}

void CLoginDlg::OnUpdateDemanded(const UpdateResult& record)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return;
  CStringW memo(record.memo.c_str());
  CStringW url(record.downloadURL.c_str());
  if (record.resultStatus == 202) {
    if (ShowBox(::GetActiveWindow(), memo, KV_BOX_INFO | KV_BOX_OKCANCEL, SW_HIDE) == KV_BOX_ANSWER_OK)
      app->DownloadUpdate(url);
  } else if (record.resultStatus == 203) {
    ShowBox(::GetActiveWindow(), memo, KV_BOX_INFO, SW_HIDE);
    app->DownloadUpdate(url);
  }
}

void CLoginDlg::OnCheckCodeDemanded(const LoginResult& record)
{
  ShowBox(::GetActiveWindow(), CStringW(record.memo.c_str()), KV_BOX_INFO, SW_HIDE);
  ShowCheckCodeImage(record.loginCheckCodeImg);
  ShowCheckCodeFields();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  ::UpdateWindow(m_hWnd);
}

void CLoginDlg::OnLoginSucceeded(const LoginResult& record)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return;
  CStringW logonId(record.logonId.c_str());
  app->SetConfig(u"mobileNO", CStringW(record.mobileNo.c_str()));
  app->SetUserName(CStringW(record.userName.c_str()));
  app->SetLogonId(logonId);
  bool rememberId = IsChecked(IDC_LOGIN_REMEMBER_ID);
  app->SetConfig(u"LastUserId", rememberId ? logonId : CStringW());
  app->SetConfig(u"RememberId", rememberId ? u"1" : u"0");
  bool rememberPassword = IsChecked(IDC_LOGIN_REMEMBER_PASSWORD);
  app->SetConfig(u"LastUserPassword", rememberPassword ? m_strRememberedPassword : CStringW());
  app->SetConfig(u"RememberPassword", rememberPassword ? u"1" : u"0");
  if (CIniFile* settings = app->GetConfigFile())
    settings->Save();

  if (!app->GetMainDialog()) {
    WRITE_LOG_ENTRY(u"no main window to open the next screen over");
    return;
  }
  if (HasUnpaidTrades(record.extraData))
    app->ShowUnpaidTradeList(CStringW(record.extraData.c_str()), CStringW(record.loginServerTime.c_str()));
  else
    app->ShowDesktopDlg(0);
  if (IsWindow())
    CloseDialog(2, FALSE);
}

void CLoginDlg::OnFieldError(const CStringW& memo)
{
  ShowBox(nullptr, FieldErrorText(memo), KV_BOX_ERROR, SW_HIDE);
  if (m_accountEdit.m_hWnd)
    ::SetFocus(m_accountEdit);
}

void CLoginDlg::OnSupplementDemanded()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return;
  CStringW memo;
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    memo = m_strLastMemo;
  }
  app->SetLogonId(m_strAccount);
  app->SetConfig(u"LastUserId", m_strAccount);
  ShowBox(::GetActiveWindow(), memo, KV_BOX_INFO, SW_HIDE);
  if (app->GetMainDialog())
    app->ShowQtoTDlg(0);
  else
    WRITE_LOG_ENTRY(u"no main window to open the information supplement over");
}

void CLoginDlg::OnLoginRefused(const CStringW& memo)
{
  WRITE_LOG_ENTRY(u"login refused: %s", memo.GetString());
  ShowBox(nullptr, memo.IsEmpty() ? CStringW(kNoMemoText) : memo, KV_BOX_ERROR, SW_HIDE);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  ::UpdateWindow(m_hWnd);
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (app && memo == kServerConnectionErrorText)
    app->ShowApnSettingsDlg(1);
}

LRESULT CLoginDlg::OnCheckCodeDone(UINT, WPARAM, LPARAM, BOOL&)
{
  int code = 0;
  CStringW memo;
  std::unique_ptr<CheckCodeResult> picture;
  CStringW failure;
  bool refused = false;
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    code = m_nLastCode;
    memo = m_strLastMemo;
    if (m_pCheckCodeRecord && m_pCheckCodeRecord->resultStatus == 100) {
      picture = std::move(m_pCheckCodeRecord);
    } else if (m_pCheckCodeRecord) {
      // A refused fetch keeps its record.
      refused = true;
      failure = m_pCheckCodeRecord->memo.c_str();
    }
  }
  if (code == kCheckCodeNetworkFailure) {
    ShowBox(nullptr, FailureText(memo), KV_BOX_ERROR, SW_HIDE);
  } else if (picture) {
    ShowCheckCodeImage(picture->loginCheckCodeImg);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    ::UpdateWindow(m_hWnd);
  } else if (refused) {
    ShowBox(nullptr, failure, KV_BOX_ERROR, SW_HIDE);
  }
  return 0;
}

void CLoginDlg::ShowCheckCodeImage(const std::u16string& base64)
{
  std::string text = Narrow(base64);
  m_checkCodeImage.SetImageData(text.c_str(), static_cast<int>(text.size()));
}

void CLoginDlg::ShowCheckCodeFields()
{
  m_checkCodeEdit.ShowWindow(SW_SHOW);
  m_checkCodeImage.ShowWindow(SW_SHOW);
  ::ShowWindow(m_hRefreshLink, SW_SHOW);
}
