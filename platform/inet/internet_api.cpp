// The root handle, connections, options and closing.
#include "base/errors.h"
#include "base/lasterror.h"
#include "inet/http_request.h"
#include "inet/internet.h"
#include "internet_object.h"
#include "kernel/device_root.h"
#include "request.h"

#include <optional>

namespace {

bool IsEmpty(LPCWSTR text) { return !text || *text == u'\0'; }

// The proxy of INTERNET_OPEN_TYPE_PROXY: "host:port", or "http://host:port"; nothing else.
std::optional<std::string> ProxyFrom(LPCWSTR text)
{
  if (IsEmpty(text)) {
    return std::nullopt;
  }
  std::optional<std::string> proxy = device::ToHost(text);
  if (!proxy) {
    return std::nullopt;
  }
  if (proxy->starts_with("http://")) {
    proxy->erase(0, 7);
  }
  if (proxy->empty() || proxy->find_first_of(" \t;=/") != std::string::npos) {
    return std::nullopt;
  }
  return proxy;
}

// A server name as the URL's host: no blanks, path, user or port parts.
std::optional<std::string> ServerFrom(LPCWSTR text)
{
  if (IsEmpty(text)) {
    return std::nullopt;
  }
  std::optional<std::string> host = device::ToHost(text);
  if (!host || host->find_first_of(" \t\r\n/\\?#@") != std::string::npos) {
    return std::nullopt;
  }
  return host;
}

}  // namespace

HINTERNET InternetOpenW(LPCWSTR lpszAgent, DWORD dwAccessType, LPCWSTR lpszProxy, LPCWSTR lpszProxyBypass,
                        DWORD dwFlags)
{
  if (!(dwFlags & INTERNET_FLAG_ASYNC)) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  if (dwFlags != INTERNET_FLAG_ASYNC || !IsEmpty(lpszProxyBypass)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::optional<std::string> agent = lpszAgent ? device::ToHost(lpszAgent) : std::string();
  std::string proxy;
  if (dwAccessType == INTERNET_OPEN_TYPE_PROXY) {
    std::optional<std::string> named = ProxyFrom(lpszProxy);
    if (!named) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    proxy = *named;
  } else if (dwAccessType != INTERNET_OPEN_TYPE_DIRECT && dwAccessType != INTERNET_OPEN_TYPE_PRECONFIG) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  if (!agent) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::shared_ptr<inet::Engine> engine = inet::Engine::Start();
  if (!engine) {
    SetLastError(ERROR_INTERNET_INTERNAL_ERROR);
    return nullptr;
  }
  auto session = std::make_shared<inet::InternetSession>(*agent, proxy, engine);
  HINTERNET handle = inet::InternetObject::Insert(session, nullptr);
  if (!handle) {
    engine->Stop();
  }
  return handle;
}

INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET hInternet, INTERNET_STATUS_CALLBACK lpfnInternetCallback)
{
  std::shared_ptr<inet::InternetObject> object = inet::LookupInternet<inet::InternetObject>(hInternet);
  if (!object) {
    return INTERNET_INVALID_STATUS_CALLBACK;
  }
  return object->SetCallback(lpfnInternetCallback);
}

HINTERNET InternetConnectW(HINTERNET hInternet, LPCWSTR lpszServerName, INTERNET_PORT nServerPort,
                           LPCWSTR lpszUserName, LPCWSTR lpszPassword, DWORD dwService, DWORD, DWORD_PTR dwContext)
{
  std::shared_ptr<inet::InternetSession> session = inet::LookupInternet<inet::InternetSession>(hInternet);
  if (!session) {
    return nullptr;
  }
  std::optional<std::string> host = ServerFrom(lpszServerName);
  if (!host || !IsEmpty(lpszUserName) || !IsEmpty(lpszPassword) || dwService != INTERNET_SERVICE_HTTP) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto connection = std::make_shared<inet::ServerConnection>(session, *host, nServerPort, dwContext);
  return inet::InternetObject::Insert(connection, session.get());
}

BOOL InternetSetOptionW(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength)
{
  std::shared_ptr<inet::InternetObject> object = inet::LookupInternet<inet::InternetObject>(hInternet);
  if (!object) {
    return FALSE;
  }
  if (dwOption != INTERNET_OPTION_SECURITY_FLAGS) {
    SetLastError(ERROR_INTERNET_INVALID_OPTION);
    return FALSE;
  }
  std::shared_ptr<inet::Request> request = inet::LookupInternet<inet::Request>(hInternet);
  if (!request) {
    return FALSE;
  }
  if (!lpBuffer || dwBufferLength != sizeof(DWORD)) {
    SetLastError(ERROR_INTERNET_BAD_OPTION_LENGTH);
    return FALSE;
  }
  constexpr DWORD kIgnorable =
      SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID | SECURITY_FLAG_IGNORE_CERT_DATE_INVALID;
  return request->SetIgnoredCertificateErrors(*static_cast<const DWORD*>(lpBuffer) & kIgnorable);
}

BOOL InternetCloseHandle(HINTERNET hInternet)
{
  std::shared_ptr<inet::InternetObject> object = inet::LookupInternet<inet::InternetObject>(hInternet);
  if (!object || !kernel::RemoveHandle(hInternet)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  object->Close();
  return TRUE;
}
