// One HTTP session on the device's asynchronous HTTP layer: posts one request at a time to a
// server and reads the reply into text. A session belongs to one thread; a request is Post
// followed by ReadResponse on that thread, with nothing else in between.
#pragma once

#include <atomic>
#include <vector>

#include "base/types.h"
#include "http_result.h"
#include "http_url.h"
#include "inet/inet.h"
#include "kernel/kernel.h"
#include "text/cstring.h"

// The handles, the URL, the connected server and the byte buffer of a session.
class CHttpSessionBase {
 public:
  CHttpSessionBase();
  ~CHttpSessionBase();
  CHttpSessionBase(const CHttpSessionBase&) = delete;
  CHttpSessionBase& operator=(const CHttpSessionBase&) = delete;

 protected:
  // Room for size bytes; when the buffer grows its content is dropped (zero bytes).
  void Reserve(int size);
  // Room for size bytes at offset; the bytes before offset are kept. Returns their address.
  char* ReserveAt(int offset, int size);

  HINTERNET m_hInternet;
  HINTERNET m_hConnect;
  HINTERNET m_hRequest;
  CHttpUrl m_url;
  // The server the connection handle is connected to; the host is empty when there is none.
  CStringW m_host;
  WORD m_connectedPort;
  bool m_connectedSecure;
  // The proxy the internet handle was opened with; empty for a direct one.
  CStringW m_openedProxy;
  INTERNET_STATUS_CALLBACK m_pfnSavedCallback;
  std::vector<char> m_buffer;
  // Bytes in use, counting one terminating zero byte; 0 when nothing is to be sent.
  int m_length;
};

class CHttpSession : public CHttpSessionBase {
 public:
  CHttpSession();
  ~CHttpSession();

  // Connects to host:port (with the scheme of the URL last parsed), reusing the connection
  // when scheme, host and port are the ones connected to and the proxy is the one the internet
  // handle was opened with. proxy is "host:port" or NULL.
  HttpResult Open(const WCHAR* proxy, const WCHAR* host, WORD port);
  // Sends a POST of the body to the URL; the reply is read with ReadResponse.
  HttpResult Post(const WCHAR* proxy, const WCHAR* url, const WCHAR* body);
  // Encodes the body into the byte buffer: JSON text (first character "{") as "requestData="
  // followed by its escaped UTF-8 bytes, any other text as its UTF-8 bytes; NULL or empty as
  // no data. Always 0.
  HttpResult SetPostBody(const WCHAR* body);
  // Waits for the sent request and reads its reply. cancelEvent may be NULL; timeout bounds
  // each single wait (INFINITE allowed).
  HttpResult ReadResponse(CStringW& out, HANDLE cancelEvent, DWORD timeout);
  // Waits for the completion of the pending operation: 0, or 7, 8 or 9.
  HttpResult Wait(DWORD timeout);
  static void CALLBACK StatusCallback(HINTERNET hInternet, DWORD_PTR context, DWORD status, LPVOID information,
                                      DWORD length);
  // Closes the request and connection handles.
  void CloseRequest();
  // Closes every handle, putting the saved status callback back first.
  void Close();

 private:
  HttpResult ReadReply(CStringW& out, DWORD timeout);
  HttpResult DecodeReply(CStringW& out);
  void CloseRequestHandle();
  // Zeroes the byte buffer, which holds the last request body until the reply replaces it.
  void WipeBuffer();
  bool LastOperationSucceeded() const { return m_asyncResult.load() != FALSE; }

  HANDLE m_hCompletion;
  HANDLE m_hCancel;
  std::atomic<DWORD> m_dwByteCount;
  // The outcome of the last completed operation, as the status callback reported it.
  std::atomic<DWORD_PTR> m_asyncResult;
};
