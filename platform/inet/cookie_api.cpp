// InternetGetCookieW and InternetSetCookieW over the process's cookie jar.
#include "base/errors.h"
#include "base/lasterror.h"
#include "cookie_jar.h"
#include "inet/cookie.h"
#include "kernel/device_root.h"
#include "url_text.h"
#include "wide_text.h"

#include <optional>

namespace {

std::optional<inet::UrlParts> CookieUrl(LPCWSTR url)
{
  std::optional<std::string> text = inet::UrlFromDeviceText(url);
  return text ? inet::ParseHttpUrl(*text) : std::nullopt;
}

}  // namespace

BOOL InternetGetCookieW(LPCWSTR lpszUrl, LPCWSTR, LPWSTR lpszCookieData, LPDWORD lpdwSize)
{
  std::optional<inet::UrlParts> url = CookieUrl(lpszUrl);
  if (!url || !lpdwSize) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::u16string cookies = inet::WideFromUtf8(inet::CookieJar::Process().CookiesFor(*url));
  if (cookies.empty()) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  DWORD needed = static_cast<DWORD>(cookies.size() + 1);
  if (!lpszCookieData) {
    *lpdwSize = needed;
    return TRUE;
  }
  if (*lpdwSize < needed) {
    *lpdwSize = needed;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  cookies.copy(lpszCookieData, cookies.size());
  lpszCookieData[cookies.size()] = u'\0';
  *lpdwSize = needed;
  return TRUE;
}

BOOL InternetSetCookieW(LPCWSTR lpszUrl, LPCWSTR lpszCookieName, LPCWSTR lpszCookieData)
{
  std::optional<inet::UrlParts> url = CookieUrl(lpszUrl);
  std::optional<std::string> cookie = lpszCookieData ? device::ToHost(lpszCookieData) : std::nullopt;
  if (cookie && lpszCookieName && *lpszCookieName) {
    std::optional<std::string> name = device::ToHost(lpszCookieName);
    cookie = name ? std::optional<std::string>(*name + "=" + *cookie) : std::nullopt;
  }
  if (!url || !cookie || !inet::CookieJar::Process().Store(*url, *cookie)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
