#include "browser.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "atl/com_ptr.h"
#include "browser_windows.h"
#include "document_object.h"
#include "html/dom/forms.h"
#include "html/page/plain_text.h"
#include "html/page/utf8_text.h"
#include "inet/errors.h"
#include "msgbox/message_box.h"
#include "url_text.h"

namespace kv::html {
namespace {

constexpr char kFormHeader[] = "Content-Type: application/x-www-form-urlencoded\r\n";

// A variant, or the variant it refers to.
const VARIANT* Value(const VARIANT* variant)
{
  if (variant && variant->vt == (VT_BYREF | VT_VARIANT))
    return variant->pvarVal;
  return variant;
}

std::optional<std::u16string> TextOf(const VARIANT* argument)
{
  const VARIANT* value = Value(argument);
  if (!value)
    return std::nullopt;
  const BSTR* text = value->vt == VT_BSTR                 ? &value->bstrVal
                     : value->vt == (VT_BYREF | VT_BSTR) ? value->pbstrVal
                                                         : nullptr;
  if (!text)
    return std::nullopt;
  return std::u16string(*text ? *text : u"", SysStringLen(*text));
}

// The bytes of a one-dimensional byte array; nothing for another value.
std::optional<std::string> BytesOf(const VARIANT* argument)
{
  const VARIANT* value = Value(argument);
  if (!value)
    return std::nullopt;
  SAFEARRAY* array = value->vt == (VT_ARRAY | VT_UI1)              ? value->parray
                     : value->vt == (VT_BYREF | VT_ARRAY | VT_UI1) && value->pparray ? *value->pparray
                                                                                     : nullptr;
  if (!array || SafeArrayGetDim(array) != 1)
    return std::nullopt;
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(array, 1, &lower);
  SafeArrayGetUBound(array, 1, &upper);
  void* data = nullptr;
  if (FAILED(SafeArrayAccessData(array, &data)))
    return std::nullopt;
  std::string bytes(static_cast<const char*>(data), static_cast<size_t>(std::max<LONG>(upper - lower + 1, 0)));
  SafeArrayUnaccessData(array);
  return bytes;
}

bool HasHeader(const std::string& headers, std::string_view name)
{
  const std::string lower = LowerAscii(headers);
  for (size_t at = 0; at < lower.size();) {
    if (lower.compare(at, name.size(), name) == 0 && lower.compare(at + name.size(), 1, ":") == 0)
      return true;
    const size_t end = lower.find('\n', at);
    at = end == std::string::npos ? lower.size() : end + 1;
  }
  return false;
}

bool IsHtml(const std::string& contentType)
{
  return contentType.empty() || LowerAscii(contentType).find("html") != std::string::npos;
}

// The short page shown for a failed fetch: what failed and why, no title.
std::string ErrorMarkup(const std::u16string& url, LONG status)
{
  std::u16string reason;
  if (status >= 100 && status < 1000)
    reason = u"服务器回答 " + Wide(std::to_string(status));
  else if (status == INET_E_SECURITY_PROBLEM)
    reason = u"服务器的安全证书无效";
  else
    reason = u"无法连接到服务器";
  return "<html><body><p><b>无法打开网页</b></p><p>" + Narrow(HtmlOfPlainText(reason)) + "</p><p>" +
         Narrow(HtmlOfPlainText(url)) + "</p></body></html>";
}

// A file the page links that it is shown without, and why. The address is logged without its
// query, which may carry a session.
void LogLeftOut(std::u16string_view url, const std::string& why)
{
  const std::string address = Narrow(url.substr(0, url.find_first_of(u"?#")));
  std::fprintf(stderr, "browser: %s left out: %s\n", address.c_str(), why.c_str());
}

// Why a fetch failed: the HTTP status, or the INET_E_* result of the fetch.
std::string FailureOf(LONG status)
{
  if (status > 0)
    return "HTTP status " + std::to_string(status);
  char text[32];
  std::snprintf(text, sizeof text, "fetch failed (%08lx)", static_cast<unsigned long>(static_cast<ULONG>(status)));
  return text;
}

}  // namespace

Browser* Browser::Create(HWND host)
{
  RECT client{};
  GetClientRect(host, &client);
  HWND control = CreateWindowExW(0, kControlClass, u"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, client.right,
                                 client.bottom, host, nullptr, nullptr, nullptr);
  HWND view = control ? CreateWindowExW(0, kViewClass, u"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_TABSTOP, 0, 0,
                                        client.right, client.bottom, control, nullptr, nullptr, nullptr)
                      : nullptr;
  if (!view) {
    if (control)
      DestroyWindow(control);
    return nullptr;
  }
  auto* browser = new Browser(host, control, view);
  SetWindowLongPtrW(control, 0, reinterpret_cast<LONG_PTR>(browser));
  SetWindowLongPtrW(view, 0, reinterpret_cast<LONG_PTR>(browser));
  return browser;
}

Browser::Browser(HWND host, HWND control, HWND view)
    : host_(host),
      control_(control),
      view_(view),
      eventsPoint_(static_cast<IWebBrowser2&>(*this), DIID_DWebBrowserEvents2),
      events_(eventsPoint_, static_cast<IWebBrowser2&>(*this)),
      fetch_(control, kFetchProgress),
      linkedFetch_(control, kLinkedProgress),
      pageView_(std::make_unique<PageView>(view, static_cast<ViewOwner&>(*this)))
{
}

Browser::~Browser()
{
  if (document_)
    document_->Release();
  if (page_)
    page_->Detach();
}

HRESULT Browser::QueryInterface(REFIID riid, void** ppvObject)
{
  if (!ppvObject)
    return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IWebBrowser2)) {
    *ppvObject = static_cast<IWebBrowser2*>(this);
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
    *ppvObject = static_cast<IConnectionPointContainer*>(this);
  } else {
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG Browser::Release()
{
  const ULONG left = --references_;
  if (left == 0)
    delete this;
  return left;
}

HRESULT Browser::GetTypeInfoCount(UINT* pctinfo)
{
  if (!pctinfo)
    return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}

HRESULT Browser::FindConnectionPoint(REFIID riid, IConnectionPoint** ppCP)
{
  if (!ppCP)
    return E_POINTER;
  *ppCP = nullptr;
  if (!IsEqualIID(riid, DIID_DWebBrowserEvents2))
    return CONNECT_E_NOCONNECTION;
  return eventsPoint_.QueryInterface(IID_IConnectionPoint, reinterpret_cast<void**>(ppCP));
}

HRESULT Browser::Navigate2(VARIANT* URL, VARIANT*, VARIANT*, VARIANT* PostData, VARIANT* Headers)
{
  if (!Alive())
    return E_FAIL;
  const std::optional<std::u16string> url = TextOf(URL);
  if (!url || !IsWebUrl(*url))
    return E_INVALIDARG;
  Navigation navigation;
  navigation.url = *url;
  navigation.headers = Narrow(TextOf(Headers).value_or(u""));
  if (std::optional<std::string> body = BytesOf(PostData)) {
    navigation.method = "POST";
    navigation.body = std::move(*body);
    if (!HasHeader(navigation.headers, "content-type"))
      navigation.headers += kFormHeader;
  }
  Navigate(std::move(navigation));
  return S_OK;
}

HRESULT Browser::Stop()
{
  fetch_.Abort();
  DropCompletion();
  pending_.reset();
  queued_.reset();
  return Alive() ? S_OK : E_FAIL;
}

HRESULT Browser::get_Document(IDispatch** ppDisp)
{
  if (!ppDisp)
    return E_POINTER;
  *ppDisp = nullptr;
  if (!page_)
    return Alive() ? S_FALSE : E_FAIL;
  if (!document_)
    document_ = new DocumentObject(page_);
  document_->AddRef();
  *ppDisp = document_;
  return S_OK;
}

HRESULT Browser::get_LocationURL(BSTR* LocationURL)
{
  if (!LocationURL)
    return E_POINTER;
  const std::u16string url = page_ ? page_->Url() : std::u16string();
  *LocationURL = SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
  return *LocationURL ? S_OK : E_OUTOFMEMORY;
}

HRESULT Browser::get_StatusBar(VARIANT_BOOL* pBool)
{
  if (!pBool)
    return E_POINTER;
  *pBool = statusBar_;
  return S_OK;
}

HRESULT Browser::put_StatusBar(VARIANT_BOOL Value)
{
  statusBar_ = Value ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

void Browser::Navigate(Navigation navigation)
{
  CComPtr<Browser> self(this);  // a sink may let go of the control
  if (!Alive() || events_.BeforeNavigate2(navigation.url, navigation.body, navigation.headers) || !Alive())
    return;
  queued_.reset();
  const std::optional<std::u16string> fragment = FragmentOf(navigation.url);
  if (page_ && fragment && navigation.method == "GET" && WithoutFragment(navigation.url) == WithoutFragment(page_->Url())) {
    fetch_.Abort();
    pending_.reset();
    pageView_->ScrollToFragment(*fragment);
    page_->SetUrl(navigation.url);
    events_.NavigateComplete2(navigation.url);
    if (Alive())
      events_.DocumentComplete(navigation.url);
    return;
  }
  pending_ = navigation;
  fetch_.Start(FetchRequest{navigation.url, navigation.method, navigation.body, navigation.headers});
}

void Browser::FetchProgress(WPARAM step)
{
  std::optional<FetchResult> result = fetch_.Continue(step);
  if (!result || !pending_)
    return;
  Navigation navigation = std::move(*pending_);
  pending_.reset();
  dom::WipeText(navigation.body);  // sent; the sinks have had it
  if (result->ok)
    Loaded(std::move(navigation), std::move(*result));
  else
    Failed(std::move(navigation), result->status);
}

void Browser::Loaded(Navigation navigation, FetchResult result)
{
  CComPtr<Browser> self(this);
  navigation.url = result.url;
  events_.NavigateComplete2(result.url);
  if (!Alive() || pending_)
    return;  // a sink went elsewhere
  auto page = std::make_shared<BrowserPage>(static_cast<PageOwner&>(*this), result.url, DecodePage(result.body, result.contentType),
                                            !IsHtml(result.contentType), script::ScriptLimits{});
  Show(page);
  loading_ = true;
  completing_.emplace(Completion{std::move(navigation), LinkedFiles(*page)});
  NextFile();
}

void Browser::NextFile()
{
  Completion& completion = *completing_;
  completion.file = completion.files.Next();
  // A sheet or script changes what a page of a secure address does: none comes over plain HTTP.
  while (completion.file && SchemeOf(completion.file->url) != u"https" && SchemeOf(page_->Url()) == u"https") {
    LogLeftOut(completion.file->url, "not secure on a secure page");
    completion.file = completion.files.Next();
  }
  if (completion.file)
    StartLinkedFetch(completion.file->url, kMaxFileBody);
  else
    RunScripts();
}

void Browser::RunScripts()
{
  CComPtr<Browser> self(this);
  std::shared_ptr<BrowserPage> page = page_;
  if (completing_->sheetsCame)
    pageView_->Refresh();
  page->Script().RunScripts([&page](std::string_view src) { return page->ScriptFile(src); });
  if (!Alive() || page_ != page || !completing_)
    return;  // the page is gone, or stopped, while a script waited on a message box
  pageView_->Update();
  completing_->images = page->ImagesToFetch();
  NextImage();
}

void Browser::NextImage()
{
  Completion& completion = *completing_;
  if (completion.next < completion.images.size())
    StartLinkedFetch(completion.images[completion.next].second, FetchRequest{}.maxBody);
  else
    Complete();
}

void Browser::StartLinkedFetch(const std::u16string& url, size_t maxBody)
{
  linkedFetch_.Start(FetchRequest{url, "GET", {}, {}, maxBody});
  SetTimer(control_, kLinkedTimer, kLinkedTime, nullptr);
}

void Browser::LinkedProgress(WPARAM step)
{
  std::optional<FetchResult> result = linkedFetch_.Continue(step);
  if (!result || !completing_ || !page_)
    return;
  LinkedFetched(std::move(*result));
}

void Browser::LinkedTimedOut()
{
  if (!completing_ || !page_ || !linkedFetch_.Busy())
    return;
  linkedFetch_.Abort();
  FetchResult result;
  result.status = INET_E_CONNECTION_TIMEOUT;
  LinkedFetched(std::move(result));
}

void Browser::LinkedFetched(FetchResult result)
{
  KillTimer(control_, kLinkedTimer);
  Completion& completion = *completing_;
  if (std::optional<LinkedFile> file = std::move(completion.file)) {
    completion.file.reset();
    FileFetched(*file, std::move(result));
    NextFile();
    return;
  }
  if (result.ok) {
    page_->AddImage(completion.images[completion.next].first, std::move(result.body));
    ++completion.fetched;
  } else {
    LogLeftOut(completion.images[completion.next].second, FailureOf(result.status));
  }
  ++completion.next;
  NextImage();
}

void Browser::FileFetched(const LinkedFile& file, FetchResult result)
{
  if (!result.ok)
    return LogLeftOut(file.url, FailureOf(result.status));
  if (IsHtml(result.contentType) && !result.contentType.empty())
    return LogLeftOut(file.url, "the reply is a page");  // a login or error page is no sheet or script
  PageText text = DecodePage(result.body, result.contentType);
  if (file.kind == LinkedKind::Script) {
    page_->AddScriptFile(file.url, std::move(text.utf8));
    return;
  }
  completing_->files.SheetArrived(file.url, text.utf8);
  page_->AddSheet(file.url, std::move(text.utf8));
  completing_->sheetsCame = true;
}

void Browser::Complete()
{
  CComPtr<Browser> self(this);
  Completion completion = std::move(*completing_);
  completing_.reset();
  std::shared_ptr<BrowserPage> page = page_;
  if (completion.fetched > 0)
    pageView_->Refresh();
  page->Script().FireLoad();
  loading_ = false;
  if (!Alive() || page_ != page)
    return;
  pageView_->Update();
  RememberInHistory(completion.navigation);
  events_.DocumentComplete(page->Url());
  if (Alive() && queued_)
    PostMessageW(control_, kRunQueued, 0, 0);
}

void Browser::DropCompletion()
{
  linkedFetch_.Abort();
  if (control_)
    KillTimer(control_, kLinkedTimer);
  completing_.reset();
  loading_ = false;
}

void Browser::Failed(Navigation navigation, LONG status)
{
  CComPtr<Browser> self(this);
  const bool cancelled = events_.NavigateError(navigation.url, status);
  if (!Alive() || pending_)
    return;
  const std::string markup = cancelled ? std::string() : ErrorMarkup(navigation.url, status);
  Show(std::make_shared<BrowserPage>(static_cast<PageOwner&>(*this), navigation.url, PageText{markup, "utf-8"}, false, script::ScriptLimits{}));
  events_.DocumentComplete(navigation.url);
}

void Browser::Show(std::shared_ptr<BrowserPage> page)
{
  DropCompletion();
  for (unsigned id : timers_)
    KillTimer(view_, id);
  timers_.clear();
  if (page_)
    page_->Detach();
  if (document_) {
    document_->Release();
    document_ = nullptr;
  }
  page_ = std::move(page);
  pageView_->Show(page_);
}

void Browser::RememberInHistory(const Navigation& navigation)
{
  // A page is gone back to by its address alone: what a form sent (a password, a payment) is
  // neither kept nor sent again.
  Navigation entry;
  entry.url = navigation.url;
  if (navigation.history && *navigation.history < history_.size()) {
    historyIndex_ = *navigation.history;
    history_[historyIndex_] = std::move(entry);
  } else if (navigation.replace && !history_.empty()) {
    history_[historyIndex_] = std::move(entry);
  } else {
    if (!history_.empty())
      history_.resize(historyIndex_ + 1);
    history_.push_back(std::move(entry));
    historyIndex_ = history_.size() - 1;
  }
}

void Browser::Queue(Navigation navigation)
{
  queued_ = std::move(navigation);
  if (Alive() && !loading_)
    PostMessageW(control_, kRunQueued, 0, 0);
}

void Browser::RunQueued()
{
  if (loading_ || !queued_)
    return;
  Navigation navigation = std::move(*queued_);
  queued_.reset();
  Navigate(std::move(navigation));
}

void Browser::QueueNavigation(const std::u16string& url, bool replace)
{
  if (!IsWebUrl(url))
    return;
  Navigation navigation;
  navigation.url = url;
  navigation.replace = replace;
  Queue(std::move(navigation));
}

void Browser::QueueBack()
{
  if (historyIndex_ == 0 || historyIndex_ >= history_.size())
    return;
  Navigation navigation = history_[historyIndex_ - 1];
  navigation.history = historyIndex_ - 1;
  Queue(std::move(navigation));
}

void Browser::QueueSubmit(BrowserPage& page, dom::Node& form)
{
  if (std::optional<Navigation> navigation = Submission(page, form, nullptr))
    Queue(std::move(*navigation));
}

std::optional<Browser::Navigation> Browser::Submission(BrowserPage& page, dom::Node& form, const dom::Node* submitter)
{
  const std::optional<std::u16string> action = page.Resolve(Wide(form.AttributeOr("action")));
  if (!action || !IsWebUrl(*action))
    return std::nullopt;
  const std::string data = dom::UrlEncodedForm(dom::FormData(page.Document(), form, submitter));
  Navigation navigation;
  if (LowerAscii(form.AttributeOr("method")) == "post") {
    navigation.url = *action;
    navigation.method = "POST";
    navigation.body = data;
    navigation.headers = kFormHeader;
  } else {
    navigation.url = WithQuery(*action, Wide(data));
  }
  return navigation;
}

void Browser::AfterScript()
{
  if (Alive())
    pageView_->Update();
}

void Browser::Activate(uint32_t id)
{
  std::shared_ptr<BrowserPage> page = page_;
  if (!page)
    return;
  CComPtr<Browser> self(this);
  dom::Document& document = page->Document();
  dom::Node* node = document.Find(id);
  if (!node)
    return;
  // A check box or radio button changes before its handlers run, and back when one stops it.
  const std::string type = dom::ControlType(*node);
  const bool toggles = type == "checkbox" || type == "radio";
  const bool wasChecked = toggles && document.Control(*node).checked;
  if (toggles)
    dom::SetChecked(document, *node, type == "radio" || !wasChecked);
  const bool proceed = page->Script().Fire(*node, "click");
  node = document.Find(id);
  if (!proceed && toggles && node)
    dom::SetChecked(document, *node, wasChecked);
  AfterScript();
  if (!proceed || !node || !Alive() || page_ != page)
    return;
  if (dom::IsSubmitButton(*node)) {
    if (dom::Node* form = dom::FormOf(*node))
      Submit(page, *form, node);
    return;
  }
  if (type == "reset") {
    if (dom::Node* form = dom::FormOf(*node)) {
      for (dom::Node* control : dom::FormControls(document, *form))
        control->control.reset();  // back to what the attributes say
      document.ControlChanged();
      AfterScript();
    }
    return;
  }
  for (const dom::Node* at = node; at; at = at->parent)
    if (at->Is("a") && at->HasAttribute("href")) {
      FollowLink(page, *at);
      return;
    }
}

void Browser::FollowLink(const std::shared_ptr<BrowserPage>& page, const dom::Node& link)
{
  const std::u16string href = Wide(link.AttributeOr("href"));
  const std::optional<std::u16string> target = page->Resolve(href);
  if (!target)
    return;
  if (SchemeOf(*target) == u"javascript") {
    page->Script().RunCode(std::u16string_view(*target).substr(target->find(u':') + 1));
    AfterScript();
    return;
  }
  if (!IsWebUrl(*target))
    return;
  Navigation navigation;
  navigation.url = *target;
  Navigate(std::move(navigation));
}

void Browser::Submit(const std::shared_ptr<BrowserPage>& page, dom::Node& form, const dom::Node* submitter)
{
  const uint32_t formId = form.id;
  const uint32_t submitterId = submitter ? submitter->id : 0;
  const bool proceed = page->Script().Fire(form, "submit");
  AfterScript();
  dom::Node* still = page->Document().Find(formId);
  if (!proceed || !still || !Alive() || page_ != page)
    return;
  if (std::optional<Navigation> navigation = Submission(*page, *still, page->Document().Find(submitterId)))
    Navigate(std::move(*navigation));
}

void Browser::SubmitFrom(uint32_t field)
{
  std::shared_ptr<BrowserPage> page = page_;
  dom::Node* node = page ? page->Document().Find(field) : nullptr;
  dom::Node* form = node ? dom::FormOf(*node) : nullptr;
  if (!form)
    return;
  // As the form's first submit button would: its click handlers run too.
  for (dom::Node* control : dom::FormControls(page->Document(), *form))
    if (dom::IsSubmitButton(*control) && !control->HasAttribute("disabled")) {
      Activate(control->id);
      return;
    }
  CComPtr<Browser> self(this);
  Submit(page, *form, nullptr);
}

unsigned Browser::StartTimer(unsigned ms)
{
  if (!Alive())
    return 0;
  const unsigned id = nextTimer_++;
  SetTimer(view_, id, ms, nullptr);
  timers_.insert(id);
  return id;
}

void Browser::StopTimer(unsigned id)
{
  if (timers_.erase(id) && Alive())
    KillTimer(view_, id);
}

void Browser::TimerDue(unsigned id)
{
  KillTimer(view_, id);
  if (!timers_.count(id) || !page_)
    return;
  if (page_->Script().Running()) {
    SetTimer(view_, id, 10, nullptr);  // after the script that is waiting returns
    return;
  }
  timers_.erase(id);
  CComPtr<Browser> self(this);
  std::shared_ptr<BrowserPage> page = page_;
  page->Script().FireTimer(id);
  AfterScript();
}

void Browser::Alert(const std::u16string& text)
{
  CComPtr<Browser> self(this);
  HWND owner = host_;
  while (owner && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD))
    owner = GetParent(owner);
  MessageBoxW(owner, text.c_str(), u"网页消息", MB_OK | MB_ICONEXCLAMATION);
}

BOOL Browser::TranslateKey(const MSG& message)
{
  if (!Alive() || message.wParam == VK_F1 || message.wParam == VK_F2)
    return FALSE;
  if (message.hwnd != view_ && !IsChild(view_, message.hwnd))
    return FALSE;
  if (!pageView_->TakesKey(message))
    return FALSE;
  SendMessageW(message.hwnd, message.message, message.wParam, message.lParam);
  return TRUE;
}

void Browser::FocusPage()
{
  if (Alive())
    pageView_->TakeFocus();
}

void Browser::HostDestroyed()
{
  CComPtr<Browser> self(this);
  fetch_.Abort();
  DropCompletion();
  pending_.reset();
  queued_.reset();
  for (unsigned id : timers_)
    KillTimer(view_, id);
  timers_.clear();
  if (page_)
    page_->Detach();
  SetWindowLongPtrW(control_, 0, 0);
  SetWindowLongPtrW(view_, 0, 0);
  host_ = control_ = view_ = nullptr;
  pageView_.reset();
}

LRESULT Browser::ControlMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case kFetchProgress:
    FetchProgress(wParam);
    return 0;
  case kRunQueued:
    RunQueued();
    return 0;
  case kLinkedProgress:
    LinkedProgress(wParam);
    return 0;
  case WM_TIMER:
    if (wParam != kLinkedTimer)
      break;
    KillTimer(hwnd, kLinkedTimer);
    LinkedTimedOut();
    return 0;
  case WM_SIZE:
    MoveWindow(view_, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    return 0;
  case WM_SETFOCUS:
    FocusPage();
    return 0;
  default:
    break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT Browser::ViewMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  PageView& view = *pageView_;
  switch (message) {
  case WM_SIZE:
    view.Resize();
    return 0;
  case WM_ERASEBKGND:
    return 1;  // the paint fills the background
  case WM_PAINT: {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd, &paint);
    view.Paint(dc, paint.rcPaint);
    EndPaint(hwnd, &paint);
    return 0;
  }
  case WM_VSCROLL:
    view.ScrollBy(LOWORD(wParam));
    return 0;
  case WM_LBUTTONDOWN:
    view.PointerDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_MOUSEMOVE:
    view.PointerMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_LBUTTONUP:
    view.PointerUp(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return 0;
  case WM_CAPTURECHANGED:
    view.CancelPress();
    return 0;
  case WM_KEYDOWN:
    if (view.ViewKey(wParam))
      return 0;
    break;
  case WM_GETDLGCODE:
    return DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTMESSAGE;
  case WM_SETFOCUS:
    view.FocusChanged();
    return 0;
  case WM_KILLFOCUS:
    InvalidateRect(hwnd, nullptr, FALSE);
    return 0;
  case WM_COMMAND:
    if (lParam)
      view.FieldCommand(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
    return 0;
  case WM_TIMER:
    TimerDue(static_cast<unsigned>(wParam));
    return 0;
  default:
    break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace kv::html
