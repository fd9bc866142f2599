#include "http_client.h"

#include <atomic>
#include <new>

namespace {

std::atomic<CHttpClient*> g_httpClient{nullptr};

// How long a cancel that comes just after the reply was read still drops the reply.
constexpr DWORD kLateCancelWindow = 10;

}  // namespace

HttpRequestItem& HttpRequestItem::operator=(const HttpRequestItem& other)
{
  hwndTarget = other.hwndTarget;
  message = other.message;
  url = other.url;
  body = other.body;
  timeout = other.timeout;
  cancelEvent = other.cancelEvent;
  return *this;
}

CHttpClient::CHttpClient() : m_hThread(nullptr), m_hRunningCancel(nullptr)
{
  InitializeCriticalSection(&m_queueLock);
  m_hStopEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  m_hRequestEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
}

CHttpClient::~CHttpClient()
{
  if (m_hThread) {
    SetEvent(m_hStopEvent);
    EnterCriticalSection(&m_queueLock);
    if (m_hRunningCancel) {
      SetEvent(m_hRunningCancel);
    }
    LeaveCriticalSection(&m_queueLock);
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
  }
  for (HttpRequestItem& item : m_queue) {
    CloseHandle(item.cancelEvent);
  }
  CloseHandle(m_hStopEvent);
  CloseHandle(m_hRequestEvent);
  ReleaseConnection(m_connection);
  m_session.Close();
  DeleteCriticalSection(&m_queueLock);
}

BOOL CHttpClient::StartWorker()
{
  if (!m_hStopEvent || !m_hRequestEvent) {
    return FALSE;
  }
  m_hThread = CreateThread(nullptr, 0, &CHttpClient::WorkerThread, this, 0, nullptr);
  return m_hThread ? TRUE : FALSE;
}

HANDLE CHttpClient::Enqueue(HWND target, UINT message, const WCHAR* url, const WCHAR* body, int timeout)
{
  HttpRequestItem item;
  item.hwndTarget = target;
  item.message = message;
  item.url = url;
  item.body = body;
  item.timeout = timeout;
  item.cancelEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!item.cancelEvent) {
    return nullptr;
  }
  EnterCriticalSection(&m_queueLock);
  m_queue.push_back(item);
  LeaveCriticalSection(&m_queueLock);
  SetEvent(m_hRequestEvent);
  return item.cancelEvent;
}

DWORD WINAPI CHttpClient::WorkerThread(LPVOID parameter)
{
  auto* client = static_cast<CHttpClient*>(parameter);
  HANDLE events[2] = {client->m_hStopEvent, client->m_hRequestEvent};
  for (;;) {
    client->ProcessQueue();
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
      return 0;
    }
  }
}

bool CHttpClient::TakeNext(HttpRequestItem& item)
{
  bool taken = false;
  EnterCriticalSection(&m_queueLock);
  if (!m_queue.empty() && WaitForSingleObject(m_hStopEvent, 0) == WAIT_TIMEOUT) {
    item = m_queue.front();
    m_queue.erase(m_queue.begin());
    m_hRunningCancel = item.cancelEvent;
    taken = true;
  }
  LeaveCriticalSection(&m_queueLock);
  return taken;
}

void CHttpClient::ProcessQueue()
{
  HttpRequestItem item;
  while (TakeNext(item)) {
    Run(item);
    EnterCriticalSection(&m_queueLock);
    m_hRunningCancel = nullptr;
    CloseHandle(item.cancelEvent);
    LeaveCriticalSection(&m_queueLock);
  }
}

void CHttpClient::Run(const HttpRequestItem& item)
{
  // Without a connection the post fails on its own and reports why.
  EnsureConnection(m_connection, item.cancelEvent);
  HttpReplySlot* slot = AcquireReplySlot();
  // A slot is reused: what an earlier request read into it is no part of this one's answer.
  slot->text.Empty();
  // A request cancelled while it waited its turn or for the connection is never sent.
  bool cancelledBefore = WaitForSingleObject(item.cancelEvent, 0) == WAIT_OBJECT_0;
  HttpResult result = cancelledBefore ? kHttpCancelled : m_session.Post(m_connection.ProxyOrNull(), item.url, item.body);
  if (result == kHttpOk) {
    result = m_session.ReadResponse(slot->text, item.cancelEvent, static_cast<DWORD>(item.timeout));
  }
  bool cancelled = WaitForSingleObject(item.cancelEvent, kLateCancelWindow) == WAIT_OBJECT_0;
  if (cancelled || !PostMessageW(item.hwndTarget, item.message, static_cast<WPARAM>(result),
                                 reinterpret_cast<LPARAM>(slot))) {
    // Nobody will read this reply: the slot is free again.
    InterlockedExchange(&slot->busy, 0);
  }
  if (!cancelled && (result == kHttpConnectFailed || result == kHttpSendFailed || result == kHttpTimeout)) {
    ResetNetwork();
  }
}

void CHttpClient::ResetNetwork()
{
  m_session.Close();
  ReleaseConnection(m_connection);
}

HttpReplySlot* CHttpClient::AcquireReplySlot()
{
  for (const std::unique_ptr<HttpReplySlot>& slot : m_slots) {
    if (InterlockedCompareExchange(&slot->busy, 1, 0) == 0) {
      return slot.get();
    }
  }
  auto slot = std::make_unique<HttpReplySlot>();
  slot->busy = 1;
  m_slots.push_back(std::move(slot));
  return m_slots.back().get();
}

CHttpClient* GetHttpClient()
{
  CHttpClient* client = g_httpClient.load();
  if (client) {
    return client;
  }
  auto* made = new (std::nothrow) CHttpClient();
  if (!made) {
    return nullptr;
  }
  CHttpClient* expected = nullptr;
  if (g_httpClient.compare_exchange_strong(expected, made)) {
    made->StartWorker();
    return made;
  }
  delete made;
  return expected;
}
