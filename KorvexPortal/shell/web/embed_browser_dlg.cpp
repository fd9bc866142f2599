#include "embed_browser_dlg.h"

#include "app_services.h"
#include "browser_ids.h"
#include "gateway_address.h"
#include "inet/cookie.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "shell_ids.h"
#include "web_text.h"

namespace {

constexpr const WCHAR* kLoadFailedText = u"连接服务器失败，请稍后再试";
constexpr const WCHAR* kSessionTimeoutText = u"登录超时，请重新登录。";

}  // namespace

CEmbedBrCtlDlg::CEmbedBrCtlDlg() = default;

CEmbedBrCtlDlg::~CEmbedBrCtlDlg() = default;

int CEmbedBrCtlDlg::GetTemplateId(int)
{
  return IDD_EMBED_BROWSER;
}

int CEmbedBrCtlDlg::GetSoftKey1Id()
{
  return IDC_BROWSER_LEFTKEY;
}

int CEmbedBrCtlDlg::GetSoftKey2Id()
{
  return IDC_BROWSER_RIGHTKEY;
}

int CEmbedBrCtlDlg::GetCenterKeyId()
{
  return IDC_DIALOG_CENTER;
}

LRESULT CEmbedBrCtlDlg::OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  if (!InitBrowserPage(wParam, lParam, true))
    return FALSE;
  SetTitle(m_strCaption, TRUE);
  // The gateway's session goes with the pages, whatever page the opener loads.
  if (CKorvexPortalApp* app = GetKorvexPortalApp(); app && app->GetPaymentService()) {
    app->GetPaymentService()->GetSessionCookie(m_strSessionCookie);
    if (!m_strSessionCookie.IsEmpty())
      InternetSetCookieW(GetGatewayUrl(u"/amusement.htm"), nullptr, m_strSessionCookie);
  }
  return FALSE;
}

void CEmbedBrCtlDlg::LoadPage(const CStringW& url, const CStringW& extra, HWND parent)
{
  if (!m_hWnd || !::IsWindow(m_hWnd)) {
    m_bShownByLoad = true;
    if (ShowDialog(parent, 0, FALSE, TRUE) == 0)
      return;
  }
  ::SetForegroundWindow(m_hWnd);

  bool loaded = PostPage(url, extra);
  m_bNavigated = true;
  if (!loaded) {
    HideWaitBox();
    ShowWindow(SW_HIDE);
    ShowBox(kLoadFailedText, KV_BOX_ERROR);
  }
}

void CEmbedBrCtlDlg::SetBackKeys()
{
  SetSoftKeyTexts(u"返回", u"", TRUE);
  if (HWND right = GetDlgItem(IDC_BROWSER_RIGHTKEY))
    ::EnableWindow(right, FALSE);
}

void CEmbedBrCtlDlg::OnDocumentComplete(const CStringW&)
{
  HideWaitBox();
  ShowWindow(SW_SHOW);
  m_bShownByLoad = false;
  FocusBrowser();
}

void CEmbedBrCtlDlg::OnNavigateComplete(const CStringW& url)
{
  m_bNavigated = false;
  if (!ContainsAfterStart(url, u"korvex_session_invalid.htm"))
    return;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  ShowBox(kSessionTimeoutText, KV_BOX_INFO);
  PostMessage(WM_COMMAND, MAKEWPARAM(IDC_BROWSER_RIGHTKEY, 0), 1);
  if (app) {
    app->SetUserName(CStringW());
    app->SetGreeting(CStringW());
    app->ShowLoginDlg(5);
  }
}

bool CEmbedBrCtlDlg::OnBeforeNavigate(const CStringW& url, const std::string&)
{
  int link = url.Find(u"trade_pay.do?korvex_trade_no=");
  if (link <= 0)
    return false;
  // Nothing of an earlier link is kept.
  m_strTradeNo = ValueAfterKey(url, u"korvex_trade_no=", link);
  m_strReturnUrl.Empty();
  if (ContainsAfterStart(url, u"return_url=")) {
    // Escaped twice in the link; its bytes are in the page's character set.
    UINT codePage = CodePageOfCharset(GetDocumentCharset());
    CStringW returnUrl = UnescapeInCodePage(UnescapeInCodePage(ValueAfterKey(url, u"return_url="), codePage), codePage);
    m_strReturnUrl = ResolveAgainst(url, returnUrl);
  }
  PostMessage(WM_KV_QUERY_TRADE);
  return true;
}

void CEmbedBrCtlDlg::LeavePage(UINT message)
{
  if (message)
    ::PostMessageW(GetParent(), message, 0, 0);
  StopBrowser();
  ShowWindow(SW_HIDE);
}

LRESULT CEmbedBrCtlDlg::OnLeftKey(WORD, WORD, HWND, BOOL&)
{
  LeavePage(m_nLeftKeyMessage);
  return 0;
}

LRESULT CEmbedBrCtlDlg::OnRightKey(WORD, WORD, HWND, BOOL&)
{
  LeavePage(m_nRightKeyMessage);
  return 0;
}

LRESULT CEmbedBrCtlDlg::OnWaitCancelled(UINT, WPARAM, LPARAM, BOOL&)
{
  // The first load given up: the page stops and the dialog it made goes out of sight.
  StopBrowser();
  if (m_bShownByLoad)
    ShowWindow(SW_HIDE);
  return 0;
}
