// HttpQueryInfoW: the reply's status and headers.
#include "base/errors.h"
#include "base/lasterror.h"
#include "inet/http_request.h"
#include "kernel/device_root.h"
#include "request.h"
#include "wide_text.h"

#include <charconv>
#include <cstring>
#include <optional>

namespace {

std::string RawHeaders(const inet::ExchangeReply& reply)
{
  std::string text = reply.version + " " + std::to_string(reply.status);
  if (!reply.statusText.empty()) {
    text += " " + reply.statusText;
  }
  text += "\r\n";
  for (const auto& [name, value] : reply.headers) {
    text += name + ": " + value + "\r\n";
  }
  return text + "\r\n";
}

// The text of a level; nullopt with the last error set when there is none.
std::optional<std::string> Value(const inet::ExchangeReply& reply, DWORD level, LPCVOID buffer, DWORD index)
{
  const char* header = nullptr;
  switch (level) {
    case HTTP_QUERY_STATUS_CODE:
      return std::to_string(reply.status);
    case HTTP_QUERY_STATUS_TEXT:
      return reply.statusText;
    case HTTP_QUERY_VERSION:
      return reply.version;
    case HTTP_QUERY_RAW_HEADERS_CRLF:
      return RawHeaders(reply);
    case HTTP_QUERY_CONTENT_TYPE:
      header = "Content-Type";
      break;
    case HTTP_QUERY_CONTENT_LENGTH:
      header = "Content-Length";
      break;
    case HTTP_QUERY_LOCATION:
      header = "Location";
      break;
    case HTTP_QUERY_SET_COOKIE:
      header = "Set-Cookie";
      break;
    case HTTP_QUERY_CUSTOM:
      break;
    default:
      SetLastError(ERROR_HTTP_INVALID_QUERY_REQUEST);
      return std::nullopt;
  }
  std::optional<std::string> name = header ? std::optional<std::string>(header)
                                   : buffer ? device::ToHost(static_cast<LPCWSTR>(buffer))
                                            : std::nullopt;
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  const std::string* value = reply.Find(*name, index);
  if (!value) {
    SetLastError(ERROR_INTERNET_HTTP_HEADER_NOT_FOUND);
    return std::nullopt;
  }
  return *value;
}

}  // namespace

BOOL HttpQueryInfoW(HINTERNET hRequest, DWORD dwInfoLevel, LPVOID lpBuffer, LPDWORD lpdwBufferLength, LPDWORD lpdwIndex)
{
  std::shared_ptr<inet::Request> request = inet::LookupInternet<inet::Request>(hRequest);
  if (!request) {
    return FALSE;
  }
  DWORD modifiers = dwInfoLevel & HTTP_QUERY_MODIFIER_FLAGS_MASK;
  if (!lpdwBufferLength || (modifiers & ~static_cast<DWORD>(HTTP_QUERY_FLAG_NUMBER)) != 0 ||
      (dwInfoLevel & ~(HTTP_QUERY_MODIFIER_FLAGS_MASK | HTTP_QUERY_HEADER_MASK)) != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const inet::ExchangeReply* reply = request->Reply();
  if (!reply) {
    return FALSE;
  }
  DWORD index = lpdwIndex ? *lpdwIndex : 0;
  std::optional<std::string> value = Value(*reply, dwInfoLevel & HTTP_QUERY_HEADER_MASK, lpBuffer, index);
  if (!value) {
    return FALSE;
  }
  DWORD capacity = lpBuffer ? *lpdwBufferLength : 0;
  if (modifiers & HTTP_QUERY_FLAG_NUMBER) {
    DWORD number = 0;
    auto [end, error] = std::from_chars(value->data(), value->data() + value->size(), number);
    if (error != std::errc() || end != value->data() + value->size()) {
      SetLastError(ERROR_HTTP_INVALID_HEADER);
      return FALSE;
    }
    *lpdwBufferLength = sizeof number;
    if (capacity < sizeof number) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    std::memcpy(lpBuffer, &number, sizeof number);
  } else {
    std::u16string text = inet::WideFromUtf8(*value);
    DWORD bytes = static_cast<DWORD>(text.size() * sizeof(WCHAR));
    if (capacity < bytes + sizeof(WCHAR)) {
      *lpdwBufferLength = bytes + sizeof(WCHAR);
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    std::memcpy(lpBuffer, text.c_str(), bytes + sizeof(WCHAR));
    *lpdwBufferLength = bytes;
  }
  if (lpdwIndex) {
    ++*lpdwIndex;
  }
  return TRUE;
}
