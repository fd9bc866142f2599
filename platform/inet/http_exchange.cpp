#include "http_exchange.h"

#include "base/errors.h"
#include "cookie_jar.h"
#include "curl_errors.h"
#include "inet/errors.h"
#include "inet/internet.h"
#include "kernel/device_settings.h"

#include <charconv>
#include <cstdio>
#include <mutex>

namespace inet {
namespace {

bool HasHeader(const std::vector<std::string>& headers, std::string_view name)
{
  for (const std::string& header : headers) {
    size_t colon = header.find(':');
    if (colon != std::string::npos && EqualsIgnoringCase(TrimBlanks(std::string_view(header).substr(0, colon)), name)) {
      return true;
    }
  }
  return false;
}

bool IsRedirect(long status)
{
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

}  // namespace

void InitialiseCurl()
{
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

const std::string* ExchangeReply::Find(std::string_view name, size_t index) const
{
  for (const auto& [headerName, value] : headers) {
    if (EqualsIgnoringCase(headerName, name) && index-- == 0) {
      return &value;
    }
  }
  return nullptr;
}

HttpExchange::HttpExchange(ExchangeRequest request, ExchangeListener& listener)
    : request_(std::move(request)), listener_(listener)
{
  InitialiseCurl();
}

HttpExchange::~HttpExchange() { FreeHop(); }

CURL* HttpExchange::StartHop()
{
  FreeHop();
  reply_ = ExchangeReply{};
  redirecting_ = false;
  hopUrl_ = ParseHttpUrl(request_.url);
  if (!hopUrl_) {
    error_ = ERROR_INTERNET_INVALID_URL;
    return nullptr;
  }
  easy_ = curl_easy_init();
  if (!easy_ || !SetUp()) {
    FreeHop();
    error_ = ERROR_INTERNET_INTERNAL_ERROR;
    return nullptr;
  }
  return easy_;
}

bool HttpExchange::SetUp()
{
  const device::DeviceSettings& settings = device::Settings();
  CURL* e = easy_;
  bool ok = curl_easy_setopt(e, CURLOPT_URL, request_.url.c_str()) == CURLE_OK;
  ok = ok && curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https") == CURLE_OK;
  curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(e, CURLOPT_HTTP_VERSION, request_.http10 ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1);

  // An empty proxy turns off the host's proxy variables as well.
  std::string proxy = request_.proxy.empty() ? "" : "http://" + request_.proxy;
  curl_easy_setopt(e, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(e, CURLOPT_NOPROXY, "");
  curl_easy_setopt(e, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  if (!request_.agent.empty()) {
    curl_easy_setopt(e, CURLOPT_USERAGENT, request_.agent.c_str());
  }

  if (request_.method == "HEAD") {
    curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
  } else if (request_.method == "POST") {
    curl_easy_setopt(e, CURLOPT_POST, 1L);
  } else if (request_.method != "GET") {
    curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, request_.method.c_str());
  }
  if (request_.method == "POST" || (!request_.body.empty() && request_.method != "GET" && request_.method != "HEAD")) {
    curl_easy_setopt(e, CURLOPT_POSTFIELDS, request_.body.data());
    curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request_.body.size()));
  }

  for (const std::string& header : request_.headers) {
    headerList_ = curl_slist_append(headerList_, header.c_str());
  }
  // No headers of libcurl's own that the device would not send.
  for (const char* name : {"Accept", "Expect"}) {
    if (!HasHeader(request_.headers, name)) {
      headerList_ = curl_slist_append(headerList_, (std::string(name) + ":").c_str());
    }
  }
  if (request_.useCookies) {
    std::string cookies = CookieJar::Process().CookiesFor(*hopUrl_);
    if (!cookies.empty()) {
      headerList_ = curl_slist_append(headerList_, ("Cookie: " + cookies).c_str());
    }
  }
  ok = ok && headerList_ && curl_easy_setopt(e, CURLOPT_HTTPHEADER, headerList_) == CURLE_OK;

  curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT, static_cast<long>(settings.connectTimeout));
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(e, CURLOPT_LOW_SPEED_TIME, static_cast<long>(settings.stallTimeout));

  // Only the device's CAs are trusted; the host's certificate folder is not consulted.
  curl_easy_setopt(e, CURLOPT_CAINFO, settings.caBundle.c_str());
  curl_easy_setopt(e, CURLOPT_CAPATH, nullptr);
  long verifyPeer = 1;
  long verifyHost = 2;
  DWORD ignored = request_.ignoredCertificateErrors;
  if (ignored != 0 && settings.debugInsecureTls && hopUrl_->scheme == "https") {
    if (ignored & (SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID)) {
      verifyPeer = 0;
    }
    if (ignored & SECURITY_FLAG_IGNORE_CERT_CN_INVALID) {
      verifyHost = 0;
    }
    fprintf(stderr, "inet: debug_insecure_tls is on: certificate errors (0x%x) ignored for %s\n",
            static_cast<unsigned>(ignored), hopUrl_->host.c_str());
  }
  curl_easy_setopt(e, CURLOPT_SSL_VERIFYPEER, verifyPeer);
  curl_easy_setopt(e, CURLOPT_SSL_VERIFYHOST, verifyHost);

  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &HttpExchange::HeaderLine);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &HttpExchange::BodyBytes);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
  return ok;
}

bool HttpExchange::EndHop(CURLcode result)
{
  long verifyResult = 0;
  char* location = nullptr;
  std::string next;
  if (easy_) {
    curl_easy_getinfo(easy_, CURLINFO_SSL_VERIFYRESULT, &verifyResult);
    if (curl_easy_getinfo(easy_, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location) {
      next = location;
    }
  }
  FreeHop();
  if (result != CURLE_OK) {
    error_ = InternetErrorOf(result, verifyResult);
    return false;
  }
  if (!redirecting_) {
    error_ = ERROR_SUCCESS;
    return false;
  }
  if (next.empty()) {
    error_ = ERROR_INTERNET_REDIRECT_FAILED;
    return false;
  }
  std::string nextUrl = EscapeUrlBytes(next);
  if (LeavesTls(nextUrl)) {
    error_ = ERROR_INTERNET_HTTPS_TO_HTTP_ON_REDIR;
    return false;
  }
  // As browsers do: 303 turns any request into a GET, 301 and 302 turn a POST into one.
  long status = reply_.status;
  if ((status == 303 && request_.method != "HEAD") || ((status == 301 || status == 302) && request_.method == "POST")) {
    request_.method = "GET";
    request_.body.clear();
  }
  request_.url = std::move(nextUrl);
  ++redirects_;
  return true;
}

bool HttpExchange::LeavesTls(const std::string& next) const
{
  if (hopUrl_->scheme != "https") {
    return false;
  }
  std::optional<UrlParts> target = ParseHttpUrl(next);
  if (target && target->scheme == "https") {
    return false;
  }
  // Hosts only: a path or query may carry what the log must not.
  std::string to = target ? "http://" + target->host : "an address that is not https";
  fprintf(stderr, "inet: redirect from https://%s to %s refused: a request over TLS stays on TLS\n",
          hopUrl_->host.c_str(), to.c_str());
  return true;
}

void HttpExchange::FreeHop()
{
  if (easy_) {
    curl_easy_cleanup(easy_);
    easy_ = nullptr;
  }
  curl_slist_free_all(headerList_);
  headerList_ = nullptr;
}

size_t HttpExchange::HeaderLine(char* data, size_t size, size_t count, void* self)
{
  std::string_view line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  static_cast<HttpExchange*>(self)->TakeHeaderLine(line);
  return size * count;
}

void HttpExchange::TakeHeaderLine(std::string_view line)
{
  if (line.empty()) {
    EndOfHeaders();
    return;
  }
  if (line.starts_with("HTTP/")) {
    // A status line starts the reply anew (after "100 Continue", say).
    reply_ = ExchangeReply{};
    size_t space = line.find(' ');
    reply_.version = line.substr(0, space);
    if (space != std::string_view::npos) {
      std::string_view rest = line.substr(space + 1);
      auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), reply_.status);
      if (error == std::errc()) {
        reply_.statusText = TrimBlanks(std::string_view(end, rest.data() + rest.size() - end));
      }
    }
    return;
  }
  if ((line.front() == ' ' || line.front() == '\t') && !reply_.headers.empty()) {
    reply_.headers.back().second += " " + std::string(TrimBlanks(line));
    return;
  }
  size_t colon = line.find(':');
  if (colon != std::string_view::npos) {
    reply_.headers.emplace_back(TrimBlanks(line.substr(0, colon)), TrimBlanks(line.substr(colon + 1)));
  }
}

void HttpExchange::EndOfHeaders()
{
  if (reply_.status >= 100 && reply_.status < 200) {
    return;
  }
  if (request_.useCookies) {
    for (size_t i = 0; const std::string* cookie = reply_.Find("Set-Cookie", i); ++i) {
      CookieJar::Process().Store(*hopUrl_, *cookie);
    }
  }
  redirecting_ = request_.followRedirects && IsRedirect(reply_.status) && reply_.Find("Location") &&
                 redirects_ < kMaxRedirects;
  if (!redirecting_) {
    listener_.OnReply(reply_);
  }
}

size_t HttpExchange::BodyBytes(char* data, size_t size, size_t count, void* self)
{
  auto* exchange = static_cast<HttpExchange*>(self);
  if (exchange->redirecting_) {
    return size * count;
  }
  return exchange->listener_.OnBody(data, size * count);
}

}  // namespace inet
