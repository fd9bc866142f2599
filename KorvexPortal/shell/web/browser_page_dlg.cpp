#include "browser_page_dlg.h"

#include "app_services.h"
#include "gateway_address.h"
#include "ids.h"
#include "inet/cookie.h"
#include "message_box_types.h"
#include "shell/sip.h"
#include "thread_message_box.h"
#include "web_text.h"
#include "window_helpers.h"

namespace {

// A BSTR variant that frees its text.
struct TextVariant {
  explicit TextVariant(const WCHAR* text)
  {
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(text);
  }
  ~TextVariant() { VariantClear(&value); }
  TextVariant(const TextVariant&) = delete;
  TextVariant& operator=(const TextVariant&) = delete;
  VARIANT value;
};

CStringW TextOf(const VARIANT* value)
{
  if (!value || value->vt != VT_BSTR || !value->bstrVal)
    return CStringW();
  return CStringW(value->bstrVal, static_cast<int>(SysStringLen(value->bstrVal)));
}

// The bytes of a one-dimensional byte array; empty for anything else.
std::string BytesOf(const VARIANT* value)
{
  if (!value || value->vt != (VT_ARRAY | VT_UI1) || !value->parray || SafeArrayGetDim(value->parray) != 1)
    return std::string();
  LONG lower = 0;
  LONG upper = -1;
  SafeArrayGetLBound(value->parray, 1, &lower);
  SafeArrayGetUBound(value->parray, 1, &upper);
  void* data = nullptr;
  if (upper < lower || FAILED(SafeArrayAccessData(value->parray, &data)))
    return std::string();
  std::string bytes(static_cast<const char*>(data), static_cast<size_t>(upper - lower + 1));
  SafeArrayUnaccessData(value->parray);
  return bytes;
}

CStringW TakeText(BSTR text)
{
  CStringW out = text ? CStringW(text, static_cast<int>(SysStringLen(text))) : CStringW();
  SysFreeString(text);
  return out;
}

}  // namespace

CBrowserPageDlg::CBrowserPageDlg() = default;

CBrowserPageDlg::~CBrowserPageDlg()
{
  CloseTradePay();
  ReleaseBrowser();
}

CStringW CBrowserPageDlg::GetClientIdParam()
{
  CStringW clientId;
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->JoinPair(clientId);
  return u"clientID=" + clientId;
}

CStringW CBrowserPageDlg::GetEscapedClientIdParam()
{
  CStringW clientId;
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->JoinPair(clientId);
  return u"clientID=" + EscapeForForm(clientId);
}

int CBrowserPageDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == 1 ? IDB_BACKGROUND : IDB_BACKGROUND_LAND;
}

int CBrowserPageDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
}

bool CBrowserPageDlg::InitBrowserPage(WPARAM wParam, LPARAM lParam, bool statusBar)
{
  LRESULT result = 0;
  CBaseDlg::ProcessWindowMessage(m_hWnd, WM_INITDIALOG, wParam, lParam, result, 0);
  if (!m_hWnd || !::IsWindow(m_hWnd))
    return false;
  RECT rect{0, m_titleHeight, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN) - m_bottomBarHeight};
  m_host.Create(m_hWnd, rect, BROWSER_PROGID, WS_CHILD | WS_VISIBLE);
  if (m_host.m_hWnd) {
    m_host.QueryControl(IID_IWebBrowser2, reinterpret_cast<void**>(&m_pBrowser));
    if (m_pBrowser) {
      m_pBrowser->put_StatusBar(statusBar ? VARIANT_TRUE : VARIANT_FALSE);
      ConnectEvents();
    }
    HWND control = ::GetWindow(m_host.m_hWnd, GW_CHILD);
    m_pageWindow = control ? ::GetWindow(control, GW_CHILD) : nullptr;
  }
  m_centerKey.UpdateInputMethodMenu(false, false);
  m_bEditFocusHandled = false;
  return true;
}

void CBrowserPageDlg::ConnectEvents()
{
  m_events.On(DISPID_BEFORENAVIGATE2, [this](DISPPARAMS& params) {
    CStringW url = TextOf(EventArgument(params, 1));
    std::string postData = BytesOf(EventArgument(params, 4));
    VARIANT* cancel = EventArgument(params, 6);
    if (OnBeforeNavigate(url, postData) && cancel && cancel->vt == (VT_BYREF | VT_BOOL) && cancel->pboolVal)
      *cancel->pboolVal = VARIANT_TRUE;
  });
  m_events.On(DISPID_NAVIGATECOMPLETE2, [this](DISPPARAMS& params) {
    OnNavigateComplete(TextOf(EventArgument(params, 1)));
  });
  m_events.On(DISPID_DOCUMENTCOMPLETE, [this](DISPPARAMS& params) {
    OnDocumentComplete(TextOf(EventArgument(params, 1)));
  });
  m_events.Advise(m_pBrowser);
}

void CBrowserPageDlg::ReleaseBrowser()
{
  m_events.Unadvise();
  if (m_pBrowser) {
    m_pBrowser->Stop();
    m_pBrowser->Release();
    m_pBrowser = nullptr;
  }
  if (m_host.m_hWnd && ::IsWindow(m_host.m_hWnd))
    m_host.DestroyWindow();
  m_host.m_hWnd = nullptr;
  m_pageWindow = nullptr;
}

bool CBrowserPageDlg::PostPage(const CStringW& url, const CStringW& extra)
{
  CThreadMessageBox& box = CThreadMessageBox::Instance();
  if (box.HasWindow())
    box.Setup(u"加载数据", u"提示", KV_BOX_WAIT, FALSE, m_hWnd);
  // The client's identity goes only to the gateway's own pages, over https.
  CStringW body = IsGatewayPage(url) ? GetClientIdParam() : CStringW();
  if (!extra.IsEmpty())
    body += body.IsEmpty() ? extra : u"&" + extra;
  std::string bytes = ToUtf8(body);
  return Navigate(url, body.IsEmpty() ? nullptr : &bytes, kFormHeader);
}

bool CBrowserPageDlg::Navigate(const CStringW& url, const std::string* body, const WCHAR* headers)
{
  if (!m_pBrowser)
    return false;
  TextVariant address(url.GetString());
  VARIANT empty;
  VariantInit(&empty);
  VARIANT postData;
  VariantInit(&postData);
  if (body) {
    SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(body->size()));
    if (!bytes)
      return false;
    void* data = nullptr;
    if (SUCCEEDED(SafeArrayAccessData(bytes, &data))) {
      std::copy(body->begin(), body->end(), static_cast<char*>(data));
      SafeArrayUnaccessData(bytes);
    }
    postData.vt = VT_ARRAY | VT_UI1;
    postData.parray = bytes;
  }
  TextVariant headerText(headers ? headers : u"");
  m_bNavigating = true;
  HRESULT result = m_pBrowser->Navigate2(&address.value, &empty, &empty, &postData, &headerText.value);
  m_bNavigating = false;
  VariantClear(&postData);
  return SUCCEEDED(result);
}

void CBrowserPageDlg::StopBrowser()
{
  if (m_pBrowser)
    m_pBrowser->Stop();
}

bool CBrowserPageDlg::GetDocumentTitle(CStringW& title)
{
  CComPtr<IDispatch> document;
  if (!m_pBrowser || m_pBrowser->get_Document(&document) != S_OK || !document)
    return false;
  CComPtr<IHTMLDocument2> page;
  if (FAILED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&page))) || !page)
    return false;
  BSTR text = nullptr;
  if (FAILED(page->get_title(&text)))
    return false;
  title = TakeText(text);
  return true;
}

CStringW CBrowserPageDlg::GetDocumentCharset()
{
  CComPtr<IDispatch> document;
  if (!m_pBrowser || m_pBrowser->get_Document(&document) != S_OK || !document)
    return CStringW();
  CComPtr<IHTMLDocument2> page;
  if (FAILED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&page))) || !page)
    return CStringW();
  BSTR text = nullptr;
  if (FAILED(page->get_charset(&text)))
    return CStringW();
  return TakeText(text);
}

IDispatchEx* CBrowserPageDlg::GetScriptObject()
{
  CComPtr<IDispatch> document;
  if (!m_pBrowser || m_pBrowser->get_Document(&document) != S_OK || !document)
    return nullptr;
  CComPtr<IHTMLDocument2> page;
  if (FAILED(document->QueryInterface(IID_IHTMLDocument2, reinterpret_cast<void**>(&page))) || !page)
    return nullptr;
  CComPtr<IDispatch> script;
  if (FAILED(page->get_Script(&script)) || !script)
    return nullptr;
  IDispatchEx* scriptEx = nullptr;
  script->QueryInterface(IID_IDispatchEx, reinterpret_cast<void**>(&scriptEx));
  return scriptEx;
}

bool CBrowserPageDlg::PageHasFunction(const WCHAR* name)
{
  CComPtr<IDispatchEx> script;
  script.Attach(GetScriptObject());
  if (!script)
    return false;
  BSTR member = SysAllocString(name);
  DISPID id = DISPID_UNKNOWN;
  HRESULT result = script->GetDispID(member, fdexNameCaseSensitive, &id);
  SysFreeString(member);
  return SUCCEEDED(result);
}

HRESULT CBrowserPageDlg::CallPageFunction(const WCHAR* name, CStringW& answer)
{
  CComPtr<IDispatchEx> script;
  script.Attach(GetScriptObject());
  if (!script)
    return E_FAIL;
  BSTR member = SysAllocString(name);
  DISPID id = DISPID_UNKNOWN;
  HRESULT result = script->GetDispID(member, fdexNameCaseSensitive, &id);
  SysFreeString(member);
  if (FAILED(result))
    return result;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_DISPATCH;
  self.pdispVal = script;
  DISPID named = DISPID_THIS;
  DISPPARAMS params{&self, &named, 1, 1};
  VARIANT value;
  VariantInit(&value);
  EXCEPINFO failure{};
  result = script->InvokeEx(id, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &value, &failure, nullptr);
  SysFreeString(failure.bstrSource);
  SysFreeString(failure.bstrDescription);
  SysFreeString(failure.bstrHelpFile);
  if (SUCCEEDED(result))
    answer = TextOf(&value);
  VariantClear(&value);
  return result;
}

void CBrowserPageDlg::MoveBrowser(int bottom)
{
  if (!m_host.m_hWnd)
    return;
  int height = bottom - m_titleHeight;
  ::MoveWindow(m_host.m_hWnd, 0, m_titleHeight, ::GetSystemMetrics(SM_CXSCREEN), height > 0 ? height : 0, TRUE);
}

void CBrowserPageDlg::FitBrowserFull()
{
  MoveBrowser(::GetSystemMetrics(SM_CYSCREEN) - m_bottomBarHeight);
}

void CBrowserPageDlg::FitBrowserAboveSip()
{
  SIPINFO info{};
  info.cbSize = sizeof info;
  if (::SipGetInfo(&info))
    MoveBrowser(info.rcSipRect.top);
}

void CBrowserPageDlg::FocusBrowser()
{
  if (m_host.m_hWnd)
    ::SetFocus(m_host.m_hWnd);
}

void CBrowserPageDlg::HideWaitBox()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (HWND box = app ? app->GetMessageBoxWindow() : nullptr)
    ::ShowWindow(box, SW_HIDE);
}

void CBrowserPageDlg::ShowBox(const CStringW& text, UINT type)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowMessageBox(::GetActiveWindow(), text, CStringW(), type, FALSE, SW_HIDE);
}

void CBrowserPageDlg::OpenTradePayDialog()
{
  CloseTradePay();
  m_pTradePayDlg = std::make_unique<CTradePayDlg>();
  m_pTradePayDlg->ShowDialog(m_hWnd, reinterpret_cast<LPARAM>(&m_params), FALSE, TRUE);
}

void CBrowserPageDlg::CloseTradePay()
{
  if (m_pTradePayDlg && m_pTradePayDlg->m_hWnd && ::IsWindow(m_pTradePayDlg->m_hWnd))
    m_pTradePayDlg->CloseDialog(2, FALSE);
  m_pTradePayDlg.reset();
}

BOOL CBrowserPageDlg::PreTranslateMessage(MSG* pMsg)
{
  if (m_pageWindow && pMsg->hwnd == m_pageWindow && pMsg->message == BROWSER_FOCUS_CHANGED) {
    WCHAR className[255] = {};
    if (HWND focus = ::GetFocus())
      ::GetClassNameW(focus, className, 254);
    if (CStringW(className).MakeUpper().Find(u"EDIT") < 0) {
      m_centerKey.UpdateInputMethodMenu(false, false);
      ::SHSipPreference(m_hWnd, SIP_DOWN);
    } else if (!m_bEditFocusHandled) {
      m_bEditFocusHandled = true;
      PostMessage(WM_KV_EDIT_FOCUS);
    }
  }
  return CBaseDlg::PreTranslateMessage(pMsg);
}

LRESULT CBrowserPageDlg::OnEditFocus(UINT, WPARAM, LPARAM, BOOL&)
{
  // Typed characters go to the page's edit directly.
  DisableImeForWindow(::GetFocus());
  m_centerKey.UpdateInputMethodMenu(true, true);
  m_bEditFocusHandled = false;
  FitBrowserAboveSip();
  PostMessage(WM_KV_SETSIP, 1, 1);
  return 0;
}

LRESULT CBrowserPageDlg::OnSetSip(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  if (wParam) {
    if (!lParam)
      FitBrowserAboveSip();
    ::SipShowIM(SIPF_ON);
    if (m_host.m_hWnd)
      ::SHSipPreference(m_host.m_hWnd, SIP_UP);
  } else {
    ::SipShowIM(SIPF_OFF);
  }
  return 0;
}

LRESULT CBrowserPageDlg::OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  SIPINFO info{};
  info.cbSize = sizeof info;
  bool panelDown = wParam == SPI_SETSIPINFO && ::SipGetInfo(&info) && !(info.fdwFlags & SIPF_ON);
  if (wParam == SETTINGCHANGE_RESET || panelDown)
    FitBrowserFull();
  bHandled = FALSE;
  return 0;
}

LRESULT CBrowserPageDlg::OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (LOWORD(wParam) != WA_INACTIVE)
    FocusBrowser();
  bHandled = FALSE;
  return 0;
}

LRESULT CBrowserPageDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  CloseTradePay();
  OnBrowserClosing();
  if (!m_strSessionCookie.IsEmpty())
    InternetSetCookieW(GetGatewayUrl(u"/"), nullptr, m_strSessionCookie);
  ReleaseBrowser();
  bHandled = FALSE;
  return 0;
}
