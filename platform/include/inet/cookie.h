// Cookies: one jar for the whole process, shared by every HTTP session, URL downloads and the
// browser control. Cookies live as long as the process.
#pragma once

#include "base/types.h"
#include "inet/errors.h"

// Every cookie that a request to lpszUrl would carry, as "a=1; b=2". lpszCookieName is not
// looked at: all cookies of the URL are returned. *lpdwSize is the buffer's size in characters;
// it becomes the text's size in characters with its terminator. A NULL buffer only asks for
// that size. A short buffer fails with ERROR_INSUFFICIENT_BUFFER, a URL without cookies with
// ERROR_NO_MORE_ITEMS.
BOOL InternetGetCookieW(LPCWSTR lpszUrl, LPCWSTR lpszCookieName, LPWSTR lpszCookieData, LPDWORD lpdwSize);

// Stores a cookie for lpszUrl. lpszCookieData is the value when lpszCookieName is given, else
// "name=value" itself; attributes ("; path=/; expires=...") may follow, as in Set-Cookie.
BOOL InternetSetCookieW(LPCWSTR lpszUrl, LPCWSTR lpszCookieName, LPCWSTR lpszCookieData);

inline BOOL InternetGetCookie(LPCWSTR lpszUrl, LPCWSTR lpszCookieName, LPWSTR lpszCookieData, LPDWORD lpdwSize)
{
  return InternetGetCookieW(lpszUrl, lpszCookieName, lpszCookieData, lpdwSize);
}
inline BOOL InternetSetCookie(LPCWSTR lpszUrl, LPCWSTR lpszCookieName, LPCWSTR lpszCookieData)
{
  return InternetSetCookieW(lpszUrl, lpszCookieName, lpszCookieData);
}
