// HTTP requests on a connection handle: open, send, read the reply, query its headers.
//
// HttpSendRequest always completes asynchronously: it returns FALSE with ERROR_IO_PENDING, and
// the status callback then reports INTERNET_STATUS_REQUEST_COMPLETE once the reply's status
// line and headers are in, or the send failed (dwResult FALSE and the error in dwError; a
// certificate that does not verify is such a failure). Redirects are followed, cookies are
// taken from and stored in the process's cookie jar, and connect and stall limits from the
// device settings end a dead exchange as a failure.
//
// InternetReadFileExA returns TRUE with the bytes at hand, TRUE with dwBufferLength 0 at the end
// of the reply, or FALSE with ERROR_IO_PENDING; the buffer is then filled, and dwBufferLength
// set, before INTERNET_STATUS_REQUEST_COMPLETE is reported. A reply cut off after its headers
// completes a pending read with dwResult FALSE and dwBufferLength 0.
#pragma once

#include "base/types.h"
#include "inet/internet.h"

// HttpOpenRequest flags.
#define INTERNET_FLAG_RELOAD 0x80000000
#define INTERNET_FLAG_NO_CACHE_WRITE 0x04000000
#define INTERNET_FLAG_SECURE 0x00800000           // TLS
#define INTERNET_FLAG_KEEP_CONNECTION 0x00400000
#define INTERNET_FLAG_NO_AUTO_REDIRECT 0x00200000
#define INTERNET_FLAG_NO_COOKIES 0x00080000
#define INTERNET_FLAG_IGNORE_CERT_CN_INVALID 0x00001000    // as SECURITY_FLAG_IGNORE_CERT_CN_INVALID
#define INTERNET_FLAG_IGNORE_CERT_DATE_INVALID 0x00002000  // as SECURITY_FLAG_IGNORE_CERT_DATE_INVALID
#define INTERNET_FLAG_NO_UI 0x00000200
#define INTERNET_FLAG_PRAGMA_NOCACHE 0x00000100

// A read buffer. dwStructSize must be sizeof(INTERNET_BUFFERSA); only lpvBuffer and
// dwBufferLength are used.
struct INTERNET_BUFFERSA {
  DWORD dwStructSize;
  INTERNET_BUFFERSA* Next;
  LPCSTR lpcszHeader;
  DWORD dwHeadersLength;
  DWORD dwHeadersTotal;
  LPVOID lpvBuffer;
  DWORD dwBufferLength;
  DWORD dwBufferTotal;
  DWORD dwOffsetLow;
  DWORD dwOffsetHigh;
};
typedef INTERNET_BUFFERSA* LPINTERNET_BUFFERSA;

#define IRF_ASYNC 0x00000001

// HttpQueryInfo levels and modifiers.
#define HTTP_QUERY_CONTENT_TYPE 1
#define HTTP_QUERY_CONTENT_LENGTH 5
#define HTTP_QUERY_VERSION 18
#define HTTP_QUERY_STATUS_CODE 19
#define HTTP_QUERY_STATUS_TEXT 20
#define HTTP_QUERY_RAW_HEADERS_CRLF 22
#define HTTP_QUERY_LOCATION 33
#define HTTP_QUERY_SET_COOKIE 43
#define HTTP_QUERY_CUSTOM 65535                 // the header named in the buffer
#define HTTP_QUERY_FLAG_NUMBER 0x20000000       // the value as a DWORD
#define HTTP_QUERY_MODIFIER_FLAGS_MASK 0xF0000000
#define HTTP_QUERY_HEADER_MASK 0x0000FFFF

// A request for lpszObjectName (a path, sent as given with unsafe bytes escaped) on the
// connection's server. lpszVerb NULL is "GET"; lpszVersion NULL is "HTTP/1.1". Referrer and
// accept types are not supported and must be NULL.
HINTERNET HttpOpenRequestW(HINTERNET hConnect, LPCWSTR lpszVerb, LPCWSTR lpszObjectName, LPCWSTR lpszVersion,
                           LPCWSTR lpszReferrer, LPCWSTR* lplpszAcceptTypes, DWORD dwFlags, DWORD_PTR dwContext);

// Sends the request once. lpszHeaders holds "Name: value" lines separated by CR LF;
// dwHeadersLength may be (DWORD)-1 for a zero-terminated text. The optional data is the body.
BOOL HttpSendRequestA(HINTERNET hRequest, LPCSTR lpszHeaders, DWORD dwHeadersLength, LPVOID lpOptional,
                      DWORD dwOptionalLength);
BOOL HttpSendRequestW(HINTERNET hRequest, LPCWSTR lpszHeaders, DWORD dwHeadersLength, LPVOID lpOptional,
                      DWORD dwOptionalLength);

BOOL InternetReadFileExA(HINTERNET hFile, LPINTERNET_BUFFERSA lpBuffersOut, DWORD dwFlags, DWORD_PTR dwContext);

// A header of the reply, as text or (HTTP_QUERY_FLAG_NUMBER) a DWORD. *lpdwBufferLength is the
// buffer's size in bytes; on success it becomes the size of the text in bytes without its
// terminator, after ERROR_INSUFFICIENT_BUFFER the size needed with it. A missing header fails
// with ERROR_INTERNET_HTTP_HEADER_NOT_FOUND; before the send has completed the call fails with
// ERROR_INTERNET_INCORRECT_HANDLE_STATE. lpdwIndex, when given, picks the occurrence of a header
// that repeats and is advanced past it.
BOOL HttpQueryInfoW(HINTERNET hRequest, DWORD dwInfoLevel, LPVOID lpBuffer, LPDWORD lpdwBufferLength,
                    LPDWORD lpdwIndex);

inline HINTERNET HttpOpenRequest(HINTERNET hConnect, LPCWSTR lpszVerb, LPCWSTR lpszObjectName, LPCWSTR lpszVersion,
                                 LPCWSTR lpszReferrer, LPCWSTR* lplpszAcceptTypes, DWORD dwFlags, DWORD_PTR dwContext)
{
  return HttpOpenRequestW(hConnect, lpszVerb, lpszObjectName, lpszVersion, lpszReferrer, lplpszAcceptTypes, dwFlags,
                          dwContext);
}
inline BOOL HttpSendRequest(HINTERNET hRequest, LPCWSTR lpszHeaders, DWORD dwHeadersLength, LPVOID lpOptional,
                            DWORD dwOptionalLength)
{
  return HttpSendRequestW(hRequest, lpszHeaders, dwHeadersLength, lpOptional, dwOptionalLength);
}
inline BOOL HttpQueryInfo(HINTERNET hRequest, DWORD dwInfoLevel, LPVOID lpBuffer, LPDWORD lpdwBufferLength,
                          LPDWORD lpdwIndex)
{
  return HttpQueryInfoW(hRequest, dwInfoLevel, lpBuffer, lpdwBufferLength, lpdwIndex);
}
