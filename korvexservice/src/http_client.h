// The process's HTTP client: dialogs queue requests whose JSON text they build themselves, and
// its worker thread posts each in turn on the client's own session and posts the reply message
// back to the dialog's window.
//
// The reply: PostMessageW(target window, reply message, wParam = the HttpResult,
// lParam = the HttpReplySlot holding the reply text). The receiver copies the text out (it is
// meaningful only for result 0) and then frees the slot with
// InterlockedExchange(&slot->busy, 0). A cancelled request is not answered.
#pragma once

#include <memory>
#include <vector>

#include "base/types.h"
#include "data_connection.h"
#include "http_session.h"
#include "kernel/kernel.h"
#include "text/cstring.h"
#include "user/user.h"

struct HttpRequestItem {
  HWND hwndTarget = nullptr;
  UINT message = 0;
  CStringW url;
  CStringW body;
  int timeout = 0;               // milliseconds for each wait of the read; -1 is INFINITE
  HANDLE cancelEvent = nullptr;  // manual-reset; the worker closes it after the request

  HttpRequestItem() = default;
  HttpRequestItem(const HttpRequestItem& other) { *this = other; }
  // Copies the six fields in order; the cancel event is the same handle, not a duplicate.
  HttpRequestItem& operator=(const HttpRequestItem& other);
};

struct HttpReplySlot {
  volatile LONG busy = 0;  // 0 free, 1 taken; changed only with interlocked operations
  CStringW text;
};

class CHttpClient {
 public:
  CHttpClient();
  // Stops the worker (a running request is cancelled), then frees the queue, the slots, the
  // session and the held connection.
  ~CHttpClient();
  CHttpClient(const CHttpClient&) = delete;
  CHttpClient& operator=(const CHttpClient&) = delete;

  // Starts the worker thread; FALSE when it cannot be created.
  BOOL StartWorker();

  // Queues a request and returns its cancel event, or NULL when none could be made. The
  // caller may set the event to cancel the request; it must not close it.
  HANDLE Enqueue(HWND target, UINT message, const WCHAR* url, const WCHAR* body, int timeout);

  static DWORD WINAPI WorkerThread(LPVOID client);
  // Runs the queued requests, oldest first, until the queue is empty or the client stops.
  void ProcessQueue();
  // The first free reply slot, taken; a new one when none is free.
  HttpReplySlot* AcquireReplySlot();

 private:
  bool TakeNext(HttpRequestItem& item);
  void Run(const HttpRequestItem& item);
  void ResetNetwork();

  HANDLE m_hStopEvent;     // ends the worker
  HANDLE m_hRequestEvent;  // set by Enqueue
  HANDLE m_hThread;
  CRITICAL_SECTION m_queueLock;
  std::vector<HttpRequestItem> m_queue;  // guarded by m_queueLock
  HANDLE m_hRunningCancel;               // the running request's cancel event; guarded by m_queueLock
  CHttpSession m_session;
  std::vector<std::unique_ptr<HttpReplySlot>> m_slots;  // the worker's; slots never move
  ConnectionState m_connection;
};

// The process's client, created with its worker on first use; NULL when it cannot be made.
CHttpClient* GetHttpClient();
