#include "html_dlg.h"

#include "app_services.h"
#include "gateway_address.h"
#include "html_ids.h"
#include "inet/cookie.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "web_text.h"

namespace {

constexpr const WCHAR* kLoadFailedText = u"连接服务器失败，请稍后再试";
constexpr const WCHAR* kUnavailableText = u"当前服务不可用，请稍候重试";
constexpr const WCHAR* kBadMenuText = u"获取数据格式错误";
constexpr const WCHAR* kWebCentrePath = u"/puc/webMC.htm";
constexpr int kLeftBase = 133;
constexpr int kRightBase = 143;
constexpr int kLeftLast = 142;

}  // namespace

CHtmlDlg::CHtmlDlg() = default;

CHtmlDlg::~CHtmlDlg()
{
  for (HMENU& menu : m_hKeyMenus)
    if (menu)
      ::DestroyMenu(std::exchange(menu, nullptr));
}

int CHtmlDlg::GetTemplateId(int)
{
  return IDD_HTML_PAGE;
}

int CHtmlDlg::GetSoftKey1Id()
{
  return IDC_HTML_LEFTKEY;
}

int CHtmlDlg::GetSoftKey2Id()
{
  return IDC_HTML_RIGHTKEY;
}

int CHtmlDlg::GetCenterKeyId()
{
  return IDC_HTML_CENTER;
}

LRESULT CHtmlDlg::OnInitDialog(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  if (!InitBrowserPage(wParam, lParam, false))
    return FALSE;
  // The template is the main window's: the dialog's own title, never the program's.
  SetWindowText(u"生活缴费");
  m_left.clear();
  m_right.clear();
  m_bHtmlMode = true;
  ReadSessionCookie();
  return FALSE;
}

void CHtmlDlg::ReadSessionCookie()
{
  m_strSessionCookie.Empty();
  m_bCookieStale = false;
  CStringW url = GetGatewayUrl(kWebCentrePath);
  DWORD size = 0;
  if (!InternetGetCookieW(url, u"JSESSIONID", nullptr, &size) || size == 0)
    return;
  CStringW cookies;
  WCHAR* buffer = cookies.GetBuffer(static_cast<int>(size));
  BOOL read = InternetGetCookieW(url, nullptr, buffer, &size);
  cookies.ReleaseBuffer();
  int start = read ? cookies.Find(u"JSESSIONID") : -1;
  if (start < 0)
    return;
  int end = cookies.Find(u';', start);
  m_strSessionCookie = end < 0 ? cookies.Mid(start) : cookies.Mid(start, end - start);
}

LRESULT CHtmlDlg::OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (LOWORD(wParam) != WA_INACTIVE && m_bCookieStale)
    ReadSessionCookie();
  bHandled = FALSE;
  return 0;
}

void CHtmlDlg::NavigatePost(const CStringW& url, const CStringW& extra, HWND parent)
{
  if (!m_hWnd || !::IsWindow(m_hWnd)) {
    m_bShownByLoad = true;
    if (!CreateFromTemplate(parent, 0))
      return;
  }
  if (!PostPage(url, extra)) {
    HideWaitBox();
    Close();
    ShowBox(kLoadFailedText, KV_BOX_ERROR);
  }
}

bool CHtmlDlg::OnBeforeNavigate(const CStringW& url, const std::string& postData)
{
  // The dialog's own loads, and pages of other hosts, go on as they are.
  if (IsNavigating() || !IsGatewayPage(url))
    return false;
  m_strUrl = url;
  if (url.Find(u'#') >= 0)
    return true;
  // The form's body as the page encoded it: its bytes are sent on unchanged.
  m_strPostData = FromUtf8(postData);
  FitBrowserFull();
  CStringW answer;
  if (SUCCEEDED(CallPageFunction(u"beforeSubmit", answer))) {
    answer.MakeLower();
    m_bHtmlMode = answer.Find(u"json") < 0;
    m_bCloseAfterPay = !m_bHtmlMode && answer.Find(u"1") < 0;
  }
  // Performed once the browser's event has returned.
  PostMessage(WM_KV_PERFORM_NAVIGATION);
  return true;
}

LRESULT CHtmlDlg::OnPerformNavigation(UINT, WPARAM, LPARAM, BOOL&)
{
  if (m_bHtmlMode)
    NavigatePost(m_strUrl, m_strPostData, nullptr);
  else
    PostRequest(m_strUrl, m_strPostData);
  return 0;
}

LRESULT CHtmlDlg::OnShowPage(UINT, WPARAM, LPARAM, BOOL&)
{
  ShowDialog(GetParent(), 0, FALSE, TRUE);
  return 0;
}

void CHtmlDlg::OnDocumentComplete(const CStringW& url)
{
  CStringW error = kLoadFailedText;
  CStringW title;
  bool good = false;
  if (!url.IsEmpty() && GetDocumentTitle(title)) {
    SetTitle(title, TRUE);
    if (!title.IsEmpty())
      SetWindowText(title);
    if (!title.IsEmpty()) {
      CStringW menu = kBadMenuText;
      CStringW pageError;
      CStringW answer;
      if (SUCCEEDED(CallPageFunction(u"clientMenu", answer)))
        menu = answer;
      if (SUCCEEDED(CallPageFunction(u"clientError", answer)))
        pageError = answer;
      good = PageHasFunction(u"clientMenu") && !PageHasFunction(u"clientError");
      BuildSoftKeys(menu);
      error = pageError.IsEmpty() ? CStringW(kUnavailableText) : pageError;
    }
  }
  bool firstLoad = m_bShownByLoad;
  m_bShownByLoad = false;
  HideWaitBox();
  if (good) {
    PostMessage(WM_KV_HTML_SHOW_PAGE);
    return;
  }
  if (error.Find(u"重新登录") >= 0) {
    ShowBox(error, KV_BOX_ERROR);
    m_bCookieStale = true;
    if (CKorvexPortalApp* app = GetKorvexPortalApp()) {
      app->SetUserName(CStringW());
      app->SetGreeting(CStringW());
      app->ShowLoginDlg(5);
    }
    if (firstLoad)
      Close();
    return;
  }
  if (error == kUnavailableText) {
    m_right.clear();
    SetKeyEntries(1, m_right);
  }
  ShowBox(error, KV_BOX_ERROR);
  // A first load that failed leaves nothing to show: the user is back where they were.
  if (firstLoad)
    Close();
  else
    FocusBrowser();
}

void CHtmlDlg::BuildSoftKeys(const CStringW& menuText)
{
  ParseClientMenu(menuText, m_left, m_right);
  SetKeyEntries(0, m_left);
  SetKeyEntries(1, m_right);
}

void CHtmlDlg::SetKeyEntries(int key, const std::vector<ClientMenuEntry>& entries)
{
  CSkinSoftKey& softKey = key == 0 ? m_softKey1 : m_softKey2;
  HMENU& menu = m_hKeyMenus[key];
  CStringW text = entries.empty() ? CStringW(u"返回") : entries.size() == 1 ? entries[0].name : CStringW(u"菜单");
  HMENU popup = nullptr;
  if (entries.size() >= 2) {
    popup = ::CreatePopupMenu();
    int base = key == 0 ? kLeftBase : kRightBase;
    int last = key == 0 ? kLeftLast : 153;
    for (size_t i = 0; i < entries.size() && base + static_cast<int>(i) <= last; ++i)
      ::AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(base + i), entries[i].name);
  }
  if (softKey.m_hWnd)
    softKey.SetMenu(popup, -1);
  if (menu)
    ::DestroyMenu(menu);
  menu = popup;
  SetSoftKeyTexts(key == 0 ? text.GetString() : nullptr, key == 1 ? text.GetString() : nullptr, TRUE);
}

LRESULT CHtmlDlg::OnMenuCommand(WORD, WORD id, HWND, BOOL&)
{
  bool left = id <= kLeftLast;
  const std::vector<ClientMenuEntry>& entries = left ? m_left : m_right;
  size_t index = static_cast<size_t>(id - (left ? kLeftBase : kRightBase));
  const ClientMenuEntry* entry = nullptr;
  if (entries.size() >= 2 && index < entries.size())
    entry = &entries[index];
  else if (entries.size() == 1 && !entries[0].action.IsEmpty())
    entry = &entries[0];
  if (!entry) {
    Close();
    return 0;
  }
  m_bHtmlMode = entry->type > 0;
  m_bCloseAfterPay = entry->type == 0;
  if (entry->action == u"gotodesktop") {
    Close();
    return 0;
  }
  CStringW action = entry->action;
  CStringW ignored;
  CallPageFunction(action, ignored);
  return 0;
}

LRESULT CHtmlDlg::OnWaitCancelled(UINT, WPARAM, LPARAM, BOOL&)
{
  StopBrowser();
  if (m_bShownByLoad)
    Close();
  return 0;
}

void CHtmlDlg::Close()
{
  if (m_hWnd && ::IsWindow(m_hWnd))
    CloseDialog(IDCANCEL, TRUE);
}

void CHtmlDlg::OnBrowserClosing()
{
  std::lock_guard<std::mutex> guard(m_lock);
  m_pResult.reset();
}
