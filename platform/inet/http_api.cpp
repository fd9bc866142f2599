// Opening, sending and reading HTTP requests.
#include "base/errors.h"
#include "base/lasterror.h"
#include "inet/http_request.h"
#include "internet_object.h"
#include "kernel/device_root.h"
#include "request.h"
#include "url_text.h"

#include <cstring>
#include <optional>

namespace {

bool IsToken(const std::string& text)
{
  if (text.empty()) {
    return false;
  }
  for (char c : text) {
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    if (!letter) {
      return false;
    }
  }
  return true;
}

std::string UrlOf(const inet::ServerConnection& connection, bool secure, const std::string& path)
{
  long port = connection.port != INTERNET_INVALID_PORT_NUMBER
                  ? connection.port
                  : (secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT);
  std::string host = connection.host.find(':') != std::string::npos ? "[" + connection.host + "]" : connection.host;
  return std::string(secure ? "https" : "http") + "://" + host + ":" + std::to_string(port) + path;
}

// "Name: value" lines separated by CR LF (or LF); nullopt when a line is not a header.
std::optional<std::vector<std::string>> HeaderLines(std::string_view text)
{
  std::vector<std::string> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (line.empty()) {
      continue;
    }
    size_t colon = line.find(':');
    if (colon == 0 || colon == std::string_view::npos || line.find_first_of(std::string_view("\r\0", 2)) != std::string_view::npos) {
      return std::nullopt;
    }
    lines.emplace_back(line);
  }
  return lines;
}

BOOL Send(HINTERNET hRequest, std::optional<std::string> headers, LPVOID lpOptional, DWORD dwOptionalLength)
{
  std::shared_ptr<inet::Request> request = inet::LookupInternet<inet::Request>(hRequest);
  if (!request) {
    return FALSE;
  }
  std::optional<std::vector<std::string>> lines = headers ? HeaderLines(*headers) : std::nullopt;
  if (!lines || (!lpOptional && dwOptionalLength != 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::string body(static_cast<const char*>(lpOptional), lpOptional ? dwOptionalLength : 0);
  return request->Send(std::move(*lines), std::move(body));
}

}  // namespace

HINTERNET HttpOpenRequestW(HINTERNET hConnect, LPCWSTR lpszVerb, LPCWSTR lpszObjectName, LPCWSTR lpszVersion,
                           LPCWSTR lpszReferrer, LPCWSTR* lplpszAcceptTypes, DWORD dwFlags, DWORD_PTR dwContext)
{
  std::shared_ptr<inet::ServerConnection> connection = inet::LookupInternet<inet::ServerConnection>(hConnect);
  if (!connection) {
    return nullptr;
  }
  std::optional<std::string> verb = lpszVerb ? device::ToHost(lpszVerb) : "GET";
  std::optional<std::string> path = lpszObjectName ? inet::UrlFromDeviceText(lpszObjectName) : "/";
  std::optional<std::string> version = lpszVersion ? device::ToHost(lpszVersion) : "HTTP/1.1";
  bool referrer = lpszReferrer && *lpszReferrer;
  bool acceptTypes = lplpszAcceptTypes && *lplpszAcceptTypes;
  if (!verb || !IsToken(*verb) || !path || !version || (*version != "HTTP/1.1" && *version != "HTTP/1.0") ||
      referrer || acceptTypes) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (path->empty() || path->front() != '/') {
    path->insert(0, "/");
  }
  inet::ExchangeRequest exchange;
  exchange.method = *verb;
  exchange.url = UrlOf(*connection, (dwFlags & INTERNET_FLAG_SECURE) != 0, *path);
  exchange.http10 = *version == "HTTP/1.0";
  exchange.agent = connection->session->agent;
  exchange.proxy = connection->session->proxy;
  exchange.useCookies = !(dwFlags & INTERNET_FLAG_NO_COOKIES);
  exchange.followRedirects = !(dwFlags & INTERNET_FLAG_NO_AUTO_REDIRECT);
  exchange.ignoredCertificateErrors =
      dwFlags & (INTERNET_FLAG_IGNORE_CERT_CN_INVALID | INTERNET_FLAG_IGNORE_CERT_DATE_INVALID);
  auto request = std::make_shared<inet::Request>(connection, std::move(exchange), dwContext);
  return inet::InternetObject::Insert(request, connection.get());
}

BOOL HttpSendRequestA(HINTERNET hRequest, LPCSTR lpszHeaders, DWORD dwHeadersLength, LPVOID lpOptional,
                      DWORD dwOptionalLength)
{
  std::string headers;
  if (lpszHeaders) {
    headers.assign(lpszHeaders, dwHeadersLength == static_cast<DWORD>(-1) ? std::strlen(lpszHeaders) : dwHeadersLength);
  }
  return Send(hRequest, headers, lpOptional, dwOptionalLength);
}

BOOL HttpSendRequestW(HINTERNET hRequest, LPCWSTR lpszHeaders, DWORD dwHeadersLength, LPVOID lpOptional,
                      DWORD dwOptionalLength)
{
  std::optional<std::string> headers = std::string();
  if (lpszHeaders) {
    std::u16string_view text = dwHeadersLength == static_cast<DWORD>(-1) ? std::u16string_view(lpszHeaders)
                                                                         : std::u16string_view(lpszHeaders, dwHeadersLength);
    headers = device::ToHost(text);
  }
  return Send(hRequest, headers, lpOptional, dwOptionalLength);
}

BOOL InternetReadFileExA(HINTERNET hFile, LPINTERNET_BUFFERSA lpBuffersOut, DWORD dwFlags, DWORD_PTR)
{
  std::shared_ptr<inet::Request> request = inet::LookupInternet<inet::Request>(hFile);
  if (!request) {
    return FALSE;
  }
  if (!lpBuffersOut || (dwFlags & ~static_cast<DWORD>(IRF_ASYNC)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return request->Read(*lpBuffersOut);
}
