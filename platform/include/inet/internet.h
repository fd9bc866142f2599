// Internet handles: the root handle of an HTTP client (its agent, proxy and status callback),
// connections to a server, options, and closing.
//
// Every transfer is asynchronous: the root handle must be opened with INTERNET_FLAG_ASYNC, and
// the status callback reports completions on a thread of the library, one thread per root
// handle. Each root handle keeps its own pool of kept-alive connections. The callback is called
// only for request handles that carry a non-zero context, and never after InternetCloseHandle
// for that handle has returned. Closing a handle closes the handles made from it.
#pragma once

#include "base/types.h"
#include "inet/errors.h"

typedef void* HINTERNET;
typedef HINTERNET* LPHINTERNET;
typedef WORD INTERNET_PORT;

typedef void(CALLBACK* INTERNET_STATUS_CALLBACK)(HINTERNET hInternet, DWORD_PTR dwContext, DWORD dwInternetStatus,
                                                 LPVOID lpvStatusInformation, DWORD dwStatusInformationLength);
#define INTERNET_INVALID_STATUS_CALLBACK (reinterpret_cast<INTERNET_STATUS_CALLBACK>(static_cast<intptr_t>(-1)))

// InternetOpen: how to reach servers. The host's proxy variables are never consulted.
#define INTERNET_OPEN_TYPE_PRECONFIG 0  // as DIRECT: the device has no proxy configuration of its own
#define INTERNET_OPEN_TYPE_DIRECT 1
#define INTERNET_OPEN_TYPE_PROXY 3      // lpszProxy is "host:port"

#define INTERNET_FLAG_ASYNC 0x10000000

#define INTERNET_SERVICE_HTTP 3
#define INTERNET_INVALID_PORT_NUMBER 0  // the scheme's default port
#define INTERNET_DEFAULT_HTTP_PORT 80
#define INTERNET_DEFAULT_HTTPS_PORT 443

// Status codes passed to the callback.
#define INTERNET_STATUS_RECEIVING_RESPONSE 40
#define INTERNET_STATUS_RESPONSE_RECEIVED 41  // lpvStatusInformation: a DWORD, the bytes received
#define INTERNET_STATUS_REQUEST_COMPLETE 100  // lpvStatusInformation: an INTERNET_ASYNC_RESULT

// The outcome of an operation that returned ERROR_IO_PENDING: dwResult TRUE, or FALSE with the
// error in dwError.
struct INTERNET_ASYNC_RESULT {
  DWORD_PTR dwResult;
  DWORD dwError;
};
typedef INTERNET_ASYNC_RESULT* LPINTERNET_ASYNC_RESULT;

// Options.
#define INTERNET_OPTION_SECURITY_FLAGS 31  // a DWORD of SECURITY_FLAG_* on a request handle

// Certificate errors to ignore. The device honours them only when its settings turn on the
// debug switch "debug_insecure_tls"; otherwise every certificate and host name is verified.
#define SECURITY_FLAG_IGNORE_UNKNOWN_CA 0x00000100
#define SECURITY_FLAG_IGNORE_CERT_CN_INVALID 0x00001000
#define SECURITY_FLAG_IGNORE_CERT_DATE_INVALID 0x00002000

// The root handle. lpszProxyBypass is not supported and must be NULL or empty. Fails with
// ERROR_NOT_SUPPORTED without INTERNET_FLAG_ASYNC.
HINTERNET InternetOpenW(LPCWSTR lpszAgent, DWORD dwAccessType, LPCWSTR lpszProxy, LPCWSTR lpszProxyBypass,
                        DWORD dwFlags);

// Sets the callback of a handle; handles made from it later take it over. Returns the previous
// one, or INTERNET_INVALID_STATUS_CALLBACK for a bad handle.
INTERNET_STATUS_CALLBACK InternetSetStatusCallbackW(HINTERNET hInternet, INTERNET_STATUS_CALLBACK lpfnInternetCallback);

// A connection handle for one server; nothing goes on the network until a request is sent.
// The user name and password are not supported and must be NULL.
HINTERNET InternetConnectW(HINTERNET hInternet, LPCWSTR lpszServerName, INTERNET_PORT nServerPort,
                           LPCWSTR lpszUserName, LPCWSTR lpszPassword, DWORD dwService, DWORD dwFlags,
                           DWORD_PTR dwContext);

BOOL InternetSetOptionW(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength);

// Closes a handle and every handle made from it. Closing a request aborts its transfer; a
// pending read is abandoned and its buffer is never written again.
BOOL InternetCloseHandle(HINTERNET hInternet);

inline HINTERNET InternetOpen(LPCWSTR lpszAgent, DWORD dwAccessType, LPCWSTR lpszProxy, LPCWSTR lpszProxyBypass,
                              DWORD dwFlags)
{
  return InternetOpenW(lpszAgent, dwAccessType, lpszProxy, lpszProxyBypass, dwFlags);
}
inline INTERNET_STATUS_CALLBACK InternetSetStatusCallback(HINTERNET hInternet, INTERNET_STATUS_CALLBACK callback)
{
  return InternetSetStatusCallbackW(hInternet, callback);
}
inline HINTERNET InternetConnect(HINTERNET hInternet, LPCWSTR lpszServerName, INTERNET_PORT nServerPort,
                                 LPCWSTR lpszUserName, LPCWSTR lpszPassword, DWORD dwService, DWORD dwFlags,
                                 DWORD_PTR dwContext)
{
  return InternetConnectW(hInternet, lpszServerName, nServerPort, lpszUserName, lpszPassword, dwService, dwFlags,
                          dwContext);
}
inline BOOL InternetSetOption(HINTERNET hInternet, DWORD dwOption, LPVOID lpBuffer, DWORD dwBufferLength)
{
  return InternetSetOptionW(hInternet, dwOption, lpBuffer, dwBufferLength);
}
