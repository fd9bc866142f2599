#include "page_fetch.h"

#include <atomic>

#include "html/dom/node.h"
#include "inet/inet.h"
#include "html/page/utf8_text.h"
#include "url_text.h"
#include "user/user.h"

namespace kv::html {
namespace {

constexpr size_t kChunk = 64 * 1024;

// The result a navigation error reports for a failure of the HTTP layer.
LONG NavigationErrorOf(DWORD error)
{
  switch (error) {
  case ERROR_INTERNET_NAME_NOT_RESOLVED: return INET_E_RESOURCE_NOT_FOUND;
  case ERROR_INTERNET_CANNOT_CONNECT: return INET_E_CANNOT_CONNECT;
  case ERROR_INTERNET_TIMEOUT: return INET_E_CONNECTION_TIMEOUT;
  case ERROR_INTERNET_INVALID_URL: return INET_E_INVALID_URL;
  case ERROR_INTERNET_UNRECOGNIZED_SCHEME: return INET_E_UNKNOWN_PROTOCOL;
  case ERROR_INTERNET_SEC_CERT_DATE_INVALID:
  case ERROR_INTERNET_SEC_CERT_CN_INVALID:
  case ERROR_INTERNET_INVALID_CA:
  case ERROR_INTERNET_SEC_INVALID_CERT:
  case ERROR_INTERNET_SECURITY_CHANNEL_ERROR: return INET_E_SECURITY_PROBLEM;
  default: return INET_E_DOWNLOAD_FAILURE;
  }
}

bool IsRedirect(LONG status)
{
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The request's headers without its Content-Type (a redirect that turns a POST into a GET).
std::string WithoutContentType(const std::string& headers)
{
  std::string kept;
  size_t start = 0;
  while (start < headers.size()) {
    size_t end = headers.find("\r\n", start);
    end = end == std::string::npos ? headers.size() : end + 2;
    const std::string line = headers.substr(start, end - start);
    if (LowerAscii(line.substr(0, line.find(':'))) != "content-type")
      kept += line;
    start = end;
  }
  return kept;
}

}  // namespace

// What the layer's thread tells the browser's thread about one hop: the outcome of the last
// operation, posted as a message. It lives until the hop's request handle is closed, after
// which the layer calls back no more.
struct PageFetch::Completion {
  HWND window;
  UINT message;
  WPARAM step;
  std::atomic<bool> ok{false};
  std::atomic<DWORD> error{0};
};

PageFetch::PageFetch(HWND window, UINT message) : window_(window), message_(message) {}

PageFetch::~PageFetch()
{
  Abort();
  if (internet_)
    InternetCloseHandle(internet_);
}

void CALLBACK PageFetch::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status, LPVOID information, DWORD)
{
  if (status != INTERNET_STATUS_REQUEST_COMPLETE || !context)
    return;
  auto* completion = reinterpret_cast<Completion*>(context);
  const auto* result = static_cast<const INTERNET_ASYNC_RESULT*>(information);
  completion->ok = result && result->dwResult != 0;
  completion->error = result ? result->dwError : ERROR_INTERNET_INTERNAL_ERROR;
  PostMessageW(completion->window, completion->message, completion->step, 0);
}

void PageFetch::Start(FetchRequest request)
{
  Abort();
  hop_ = std::move(request);
  redirects_ = 0;
  StartHop();
}

void PageFetch::Abort()
{
  CloseHop();
  dom::WipeText(hop_.body);
  ++step_;
  state_ = State::Idle;
}

void PageFetch::CloseHop()
{
  if (request_)
    InternetCloseHandle(request_);
  if (connection_)
    InternetCloseHandle(connection_);
  request_ = connection_ = nullptr;
  completion_.reset();
}

void PageFetch::FailSoon(LONG status)
{
  CloseHop();
  state_ = State::Failed;
  failure_ = status;
  PostMessageW(window_, message_, step_, 0);
}

FetchResult PageFetch::Finish()
{
  FetchResult result{status_ < 400, status_, hop_.url, contentType_, std::move(body_)};
  CloseHop();
  dom::WipeText(hop_.body);
  state_ = State::Idle;
  ++step_;
  return result;
}

FetchResult PageFetch::Fail(LONG status)
{
  CloseHop();
  dom::WipeText(hop_.body);
  state_ = State::Idle;
  ++step_;
  FetchResult result;
  result.status = status;
  result.url = hop_.url;
  return result;
}

void PageFetch::StartHop()
{
  CloseHop();
  ++step_;
  body_.clear();
  contentType_.clear();
  const std::optional<WebAddress> address = WebAddressOf(hop_.url);
  if (!address)
    return FailSoon(INET_E_INVALID_URL);
  if (!internet_) {
    internet_ = InternetOpenW(u"KorvexBrowser/1.0", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, INTERNET_FLAG_ASYNC);
    if (!internet_)
      return FailSoon(INET_E_DOWNLOAD_FAILURE);
    InternetSetStatusCallbackW(internet_, &PageFetch::StatusCallback);
  }
  completion_ = std::make_unique<Completion>();
  completion_->window = window_;
  completion_->message = message_;
  completion_->step = step_;
  connection_ = InternetConnectW(internet_, address->host.c_str(), address->port, nullptr, nullptr,
                                 INTERNET_SERVICE_HTTP, 0, 0);
  const std::u16string verb(hop_.method.begin(), hop_.method.end());
  DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI;
  if (address->secure)
    flags |= INTERNET_FLAG_SECURE;
  request_ = connection_ ? HttpOpenRequestW(connection_, verb.c_str(), address->object.c_str(), nullptr, nullptr, nullptr,
                                            flags, reinterpret_cast<DWORD_PTR>(completion_.get()))
                         : nullptr;
  if (!request_)
    return FailSoon(NavigationErrorOf(GetLastError()));
  state_ = State::Sending;
  if (!HttpSendRequestA(request_, hop_.headers.c_str(), static_cast<DWORD>(hop_.headers.size()),
                        hop_.body.empty() ? nullptr : hop_.body.data(), static_cast<DWORD>(hop_.body.size())) &&
      GetLastError() != ERROR_IO_PENDING)
    return FailSoon(NavigationErrorOf(GetLastError()));
}

std::optional<std::u16string> PageFetch::Header(DWORD query)
{
  std::u16string text(256, u'\0');
  DWORD size = static_cast<DWORD>(text.size() * sizeof(char16_t));
  if (!HttpQueryInfoW(request_, query, text.data(), &size, nullptr)) {
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      return std::nullopt;
    text.assign(size / sizeof(char16_t) + 1, u'\0');
    if (!HttpQueryInfoW(request_, query, text.data(), &size, nullptr))
      return std::nullopt;
  }
  text.resize(size / sizeof(char16_t));
  return text;
}

std::optional<FetchResult> PageFetch::Continue(WPARAM step)
{
  if (step != step_)
    return std::nullopt;
  switch (state_) {
  case State::Failed: return Fail(failure_);
  case State::Sending:
    if (!completion_->ok)
      return Fail(NavigationErrorOf(completion_->error));
    return Received();
  case State::Reading:
    if (!completion_->ok)
      return Fail(INET_E_DOWNLOAD_FAILURE);
    if (buffers_.dwBufferLength == 0) {
      return Finish();
    }
    body_.append(chunk_.data(), buffers_.dwBufferLength);
    return Read();
  case State::Idle: break;
  }
  return std::nullopt;
}

std::optional<FetchResult> PageFetch::Received()
{
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!HttpQueryInfoW(request_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr))
    return Fail(INET_E_DOWNLOAD_FAILURE);
  status_ = static_cast<LONG>(status);
  if (IsRedirect(status_)) {
    if (const std::optional<std::u16string> location = Header(HTTP_QUERY_LOCATION)) {
      const std::optional<std::u16string> next = ResolveUrl(hop_.url, *location);
      if (!next || !IsWebUrl(*next) || ++redirects_ > kMaxRedirects)
        return Fail(INET_E_DOWNLOAD_FAILURE);
      hop_.url = *next;
      if (status_ == 303 || ((status_ == 301 || status_ == 302) && hop_.method == "POST")) {
        hop_.method = "GET";
        hop_.body.clear();
        hop_.headers = WithoutContentType(hop_.headers);
      }
      StartHop();
      return std::nullopt;
    }
  }
  contentType_ = Narrow(Header(HTTP_QUERY_CONTENT_TYPE).value_or(u""));
  state_ = State::Reading;
  chunk_.resize(kChunk);
  return Read();
}

std::optional<FetchResult> PageFetch::Read()
{
  for (;;) {
    if (body_.size() > hop_.maxBody)
      return Fail(INET_E_DOWNLOAD_FAILURE);
    buffers_ = INTERNET_BUFFERSA{};
    buffers_.dwStructSize = sizeof buffers_;
    buffers_.lpvBuffer = chunk_.data();
    buffers_.dwBufferLength = static_cast<DWORD>(chunk_.size());
    if (!InternetReadFileExA(request_, &buffers_, IRF_ASYNC, reinterpret_cast<DWORD_PTR>(completion_.get()))) {
      if (GetLastError() == ERROR_IO_PENDING)
        return std::nullopt;
      return Fail(INET_E_DOWNLOAD_FAILURE);
    }
    if (buffers_.dwBufferLength == 0) {
      return Finish();
    }
    body_.append(chunk_.data(), buffers_.dwBufferLength);
  }
}

}  // namespace kv::html
