#include "embed_browser_dlg.h"

#include "app_services.h"
#include "browser_ids.h"
#include "gateway_address.h"
#include "ids.h"
#include "inet/cookie.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "shell_ids.h"
#include "thread_message_box.h"
#include "web_text.h"

namespace {

constexpr const WCHAR* kFormHeader = u"Content-Type: application/x-www-form-urlencoded\r\n";
constexpr const WCHAR* kLoadFailedText = u"连接服务器失败，请稍后再试";
constexpr const WCHAR* kSessionTimeoutText = u"登录超时，请重新登录。";

}  // namespace

CEmbedBrCtlDlg::CEmbedBrCtlDlg() = default;

CEmbedBrCtlDlg::~CEmbedBrCtlDlg()
{
  CloseTradePay();
}

CStringW CEmbedBrCtlDlg::GetClientIdParam()
{
  CStringW clientId;
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->JoinPair(clientId);
  return u"clientID=" + clientId;
}

CStringW CEmbedBrCtlDlg::GetEscapedClientIdParam()
{
  CStringW clientId;
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->JoinPair(clientId);
  return u"clientID=" + EscapeForForm(clientId);
}

int CEmbedBrCtlDlg::GetTemplateId(int)
{
  return IDD_EMBED_BROWSER;
}

int CEmbedBrCtlDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == 1 ? IDB_BACKGROUND : IDB_BACKGROUND_LAND;
}

int CEmbedBrCtlDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
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
  CThreadMessageBox& box = CThreadMessageBox::Instance();
  if (box.HasWindow())
    box.Setup(u"加载数据", u"提示", KV_BOX_WAIT, FALSE, m_hWnd);

  // The client's identity goes only to the gateway's own pages, over https.
  CStringW body = IsGatewayPage(url) ? GetClientIdParam() : CStringW();
  if (!extra.IsEmpty())
    body += body.IsEmpty() ? extra : u"&" + extra;
  std::string bytes = ToUtf8(body);
  bool loaded = Navigate(url, body.IsEmpty() ? nullptr : &bytes, kFormHeader);
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

void CEmbedBrCtlDlg::HideWaitBox()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (HWND box = app ? app->GetMessageBoxWindow() : nullptr)
    ::ShowWindow(box, SW_HIDE);
}

void CEmbedBrCtlDlg::ShowBox(const CStringW& text, UINT type)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowMessageBox(::GetActiveWindow(), text, CStringW(), type, FALSE, SW_HIDE);
}

void CEmbedBrCtlDlg::CloseTradePay()
{
  if (m_pTradePayDlg && m_pTradePayDlg->m_hWnd && ::IsWindow(m_pTradePayDlg->m_hWnd))
    m_pTradePayDlg->CloseDialog(2, FALSE);
  m_pTradePayDlg.reset();
}

void CEmbedBrCtlDlg::OnBrowserClosing()
{
  CloseTradePay();
  if (!m_strSessionCookie.IsEmpty())
    InternetSetCookieW(GetGatewayUrl(u"/"), nullptr, m_strSessionCookie);
}
