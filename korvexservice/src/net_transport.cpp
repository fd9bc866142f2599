#include "net_transport.h"

#include <mutex>
#include <new>

#include "base/lasterror.h"
#include "data_connection.h"
#include "http_result.h"
#include "http_session.h"
#include "kernel/kernel.h"
#include "secret_wipe.h"
#include "service_errors.h"
#include "user/message_queue.h"

namespace {

// The thread message that carries a request (wParam) and its pair (lParam).
constexpr UINT kNetRequestMessage = 1;
// How long a reply waits for a cancel that raced it before it is delivered.
constexpr DWORD kCancelGraceMs = 10;

std::mutex& WorkerStartLock()
{
  static std::mutex* lock = new std::mutex;
  return *lock;
}

DWORD g_workerThreadId = 0;  // guarded by WorkerStartLock; 0 until the worker runs

// The worker's thread id, starting the worker first when it is not running; 0 when it could
// not be started.
DWORD WorkerThreadId()
{
  std::lock_guard<std::mutex> guard(WorkerStartLock());
  if (g_workerThreadId == 0) {
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, NetWorkerThreadProc, nullptr, 0, &id);
    if (thread == nullptr) {
      return 0;
    }
    CloseHandle(thread);
    g_workerThreadId = id;
  }
  return g_workerThreadId;
}

bool IsSignalled(HANDLE event)
{
  return WaitForSingleObject(event, 0) == WAIT_OBJECT_0;
}

// Carries one request through the worker's connection and session to its sink.
void CarryRequest(ConnectionState& connection, CHttpSession& session, CNetRequest& request, const UrlAndBody& pair)
{
  HANDLE cancel = request.CancelEvent();
  IReplySink* sink = request.Sink();
  if (!EnsureConnection(connection, cancel)) {
    // A cancel ended the wait for the connection: the caller asked for silence.
    if (!IsSignalled(cancel)) {
      sink->OnError(E_SERVICE_NETWORK, kServerConnectionErrorText);
    }
    return;
  }
  CStringW reply;
  HttpResult result = session.Post(connection.ProxyOrNull(), pair.url, pair.body);
  if (result == kHttpOk) {
    result = session.ReadResponse(reply, cancel, INFINITE);
  }
  if (result == kHttpOk) {
    if (WaitForSingleObject(cancel, kCancelGraceMs) == WAIT_OBJECT_0) {
      return;
    }
    // An empty reply is reported once, as the network failure the dialogs act on.
    if (reply.IsEmpty()) {
      sink->OnError(E_SERVICE_NETWORK, kServerConnectionErrorText);
    } else {
      sink->OnResponse(reply);
    }
  } else if (result != kHttpCancelled) {
    CStringW text;
    GetNetErrorText(result, text);
    sink->OnError(E_SERVICE_NETWORK, text);
  }
}

}  // namespace

UrlAndBody::~UrlAndBody()
{
  WipeSecret(body);
}

CNetRequest::~CNetRequest()
{
  if (m_cancelEvent != nullptr) {
    CloseHandle(m_cancelEvent);
  }
}

BOOL CNetRequest::Post(std::unique_ptr<UrlAndBody> pair)
{
  DWORD worker = WorkerThreadId();
  if (worker == 0) {
    return FALSE;
  }
  if (m_cancelEvent != nullptr) {
    CloseHandle(m_cancelEvent);
  }
  m_cancelEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (m_cancelEvent == nullptr) {
    return FALSE;
  }
  if (!PostThreadMessageW(worker, kNetRequestMessage, reinterpret_cast<WPARAM>(this),
                          reinterpret_cast<LPARAM>(pair.get()))) {
    return FALSE;
  }
  pair.release();  // the worker frees it
  return TRUE;
}

void CNetRequest::Cancel()
{
  if (m_cancelEvent != nullptr) {
    SetEvent(m_cancelEvent);
  }
}

CNetRequest* CNetTransport::Send(std::unique_ptr<UrlAndBody> pair, IReplySink* sink)
{
  std::unique_ptr<CNetRequest> request(new (std::nothrow) CNetRequest(sink));
  if (!request) {
    SetLastError(static_cast<DWORD>(E_OUTOFMEMORY));
    return nullptr;
  }
  if (!request->Post(std::move(pair))) {
    if (GetLastError() == 0) {
      SetLastError(static_cast<DWORD>(E_FAIL));
    }
    return nullptr;
  }
  return request.release();
}

void CNetTransport::Release(CNetRequest* request)
{
  if (request != nullptr) {
    request->Cancel();
  }
}

CNetTransport* GetTransport()
{
  static CNetTransport* transport = new CNetTransport;
  return transport;
}

DWORD WINAPI NetWorkerThreadProc(LPVOID)
{
  // The worker's own connection and session, kept for its whole life.
  ConnectionState connection;
  CHttpSession session;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message != kNetRequestMessage) {
      continue;
    }
    auto* request = reinterpret_cast<CNetRequest*>(message.wParam);
    std::unique_ptr<UrlAndBody> pair(reinterpret_cast<UrlAndBody*>(message.lParam));
    CarryRequest(connection, session, *request, *pair);
    pair.reset();
    request->Sink()->OnRequestDone(request);
    delete request;
  }
  return 0;
}
