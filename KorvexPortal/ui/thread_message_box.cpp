// The shared message box: its thread, its waits, its requests and their replies.
#include "thread_message_box.h"

#include <mutex>
#include <vector>

#include "dialog_ids.h"
#include "message_box_types.h"
#include "user/host_clock_wait.h"

namespace {

// Bound on the end of the box's thread, in real time (the host's clock): a safety bound for a
// thread that does not end, which no test clock running ahead may end before the thread could.
constexpr DWORD kStopBoundMs = 30000;

std::mutex g_instanceLock;
std::atomic<CThreadMessageBox*> g_box{nullptr};
// Boxes closed while a caller still waited on them: the caller goes on and may still call them.
std::vector<CThreadMessageBox*>* g_closedUnderWait = new std::vector<CThreadMessageBox*>;

std::mutex g_queueLock;
CThreadMessageBox::RequestQueue g_queue;

HANDLE QueueOnHttpClient(HWND target, UINT message, const CStringW& url, const CStringW& body, int timeout)
{
  CHttpClient* client = GetHttpClient();
  return client ? client->Enqueue(target, message, url.GetString(), body.GetString(), timeout) : nullptr;
}

CThreadMessageBox::RequestQueue CurrentQueue()
{
  std::lock_guard<std::mutex> guard(g_queueLock);
  return g_queue ? g_queue : CThreadMessageBox::RequestQueue(QueueOnHttpClient);
}

void FreeSlot(HttpReplySlot* slot)
{
  if (slot)
    InterlockedExchange(&slot->busy, 0);
}

// Waits for the object, answering messages sent to this thread meanwhile.
DWORD WaitAnswering(HANDLE object, DWORD boundMs)
{
  return MsgWaitForMultipleObjects(1, &object, FALSE, boundMs, 0);
}

}  // namespace

CThreadMessageBox& CThreadMessageBox::Instance()
{
  if (CThreadMessageBox* box = g_box.load())
    return *box;
  std::lock_guard<std::mutex> guard(g_instanceLock);
  if (CThreadMessageBox* box = g_box.load())
    return *box;
  auto* box = new CThreadMessageBox();
  box->Start();
  g_box = box;
  return *box;
}

HWND CThreadMessageBox::SharedWindow()
{
  CThreadMessageBox* box = g_box.load();
  return box ? box->BoxWindow() : nullptr;
}

void CThreadMessageBox::DestroyInstance()
{
  std::lock_guard<std::mutex> guard(g_instanceLock);
  CThreadMessageBox* box = g_box.exchange(nullptr);
  // A box whose thread did not end is left alone: its thread still uses it.
  if (!box || !box->Stop())
    return;
  // A caller whose wait the closing ended goes on with the box (its window gone, its calls do
  // nothing): the box is kept for it.
  if (box->m_waiters > 0)
    g_closedUnderWait->push_back(box);
  else
    delete box;
}

void CThreadMessageBox::SetRequestQueue(RequestQueue queue)
{
  std::lock_guard<std::mutex> guard(g_queueLock);
  g_queue = std::move(queue);
}

CThreadMessageBox::CThreadMessageBox()
    : m_receivers(WM_KV_HTTP_REPLY, [this](HWND receiver, WPARAM result, HttpReplySlot* slot) {
        OnReply(receiver, result, slot);
      })
{
  // The process's own event: a device-wide name would let another copy of the program end
  // this one's waits.
  m_hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  m_hReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

CThreadMessageBox::~CThreadMessageBox()
{
  CloseHandle(m_hEvent);
  CloseHandle(m_hReady);
  if (m_hThread)
    CloseHandle(m_hThread);
}

void CThreadMessageBox::Start()
{
  m_hThread = CreateThread(nullptr, 0, ThreadProc, this, 0, nullptr);
  if (!m_hThread)
    return;
  // Until the window is ready or the thread has ended without one; nothing else ends the wait.
  // A box handed out before its window exists ends every wait at once with no answer, and a
  // bound in device time may pass before a busy thread has made its window.
  HANDLE started[] = {m_hReady, m_hThread};
  MsgWaitForMultipleObjects(2, started, FALSE, INFINITE, 0);
}

DWORD WINAPI CThreadMessageBox::ThreadProc(LPVOID parameter)
{
  auto* box = static_cast<CThreadMessageBox*>(parameter);
  box->m_hForeground = nullptr;
  box->ShowDialog(nullptr, 0, TRUE, TRUE);
  // Made and closed again, or never made: Instance waits no longer.
  SetEvent(box->m_hReady);
  return 0;
}

bool CThreadMessageBox::Stop()
{
  if (HWND window = BoxWindow())
    ::SendMessageW(window, WM_CLOSE, 0, 0);
  // Sends to this thread are answered meanwhile: the box's thread may send on its way out.
  return !m_hThread || MsgWaitForMultipleObjectsEx(1, &m_hThread, kStopBoundMs, 0, MWMO_HOSTCLOCK) == WAIT_OBJECT_0;
}

LRESULT CThreadMessageBox::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  PostMessage(WM_KV_BOX_READY);
  bHandled = FALSE;
  return 0;
}

LRESULT CThreadMessageBox::OnReady(UINT, WPARAM, LPARAM, BOOL&)
{
  ShowWindow(SW_HIDE);
  SetEvent(m_hReady);
  return 0;
}

void CThreadMessageBox::ArmWait()
{
  m_result = 0;
  ResetEvent(m_hEvent);
  m_bArmed = true;
}

void CThreadMessageBox::Setup(LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress)
{
  Setup(text, caption, type, progress, nullptr);
}

void CThreadMessageBox::Setup(LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress, HWND cancelOwner)
{
  m_bArmed = false;
  BoxSetup setup{text ? text : u"", caption ? caption : u"", type, progress};
  RunOnBoxThread([&] {
    RetireRequest();
    m_request.owner = cancelOwner;
    ApplySetup(setup);
  });
}

BOOL CThreadMessageBox::StartRequest(HWND owner, UINT replyMessage, const CStringW& url, const CStringW& body,
                                     int timeoutMs, const CStringW& waitText, UINT type)
{
  m_bArmed = false;
  RequestQueue queue = CurrentQueue();
  BOOL started = FALSE;
  RunOnBoxThread([&] {
    RetireRequest();
    HWND receiver = m_receivers.Add(m_hWnd);
    if (!receiver)
      return;
    HANDLE cancelEvent = queue(receiver, WM_KV_HTTP_REPLY, url, body, timeoutMs);
    if (!cancelEvent) {
      m_receivers.Drop(receiver);
      return;
    }
    m_request = Request{owner, replyMessage, url, body, timeoutMs, cancelEvent, receiver};
    ApplySetup(BoxSetup{waitText, CStringW(), type, TRUE});
    started = TRUE;
  });
  return started;
}

int CThreadMessageBox::Wait()
{
  if (!HasWindow())
    return KV_BOX_NO_ANSWER;
  ++m_waiters;
  WaitAnswering(m_hEvent, INFINITE);
  RunOnBoxThread([&] {
    KillTimer(kProgressTimer);
    KillTimer(kSelfCloseTimer);
  });
  int result = m_result;
  // A wait that outlived the window stays counted: its caller may still call the box.
  if (HasWindow())
    --m_waiters;
  return result;
}

void CThreadMessageBox::EndRequest()
{
  RunOnBoxThread([&] { RetireRequest(); });
}

void CThreadMessageBox::EndWait()
{
  SetEvent(m_hEvent);
}

void CThreadMessageBox::EndWaitWith(int result)
{
  // The first end of a wait gives its result: a key pressed after the reply came changes nothing.
  if (WaitForSingleObject(m_hEvent, 0) != WAIT_OBJECT_0)
    m_result = result;
  SetEvent(m_hEvent);
}

void CThreadMessageBox::OnReply(HWND receiver, WPARAM result, HttpReplySlot* slot)
{
  if (!receiver || receiver != m_request.receiver) {
    // The reply of a request the box no longer waits for (cancelled, given up, ended).
    FreeSlot(slot);
    return;
  }
  Request request = m_request;
  // Answered: the HTTP client closes the cancel event now, and a cancel has nothing to stop.
  RetireRequest();
  bool relayed = request.owner && ::IsWindow(request.owner) &&
                 ::PostMessageW(request.owner, request.replyMessage, result, reinterpret_cast<LPARAM>(slot));
  // Nobody will free the slot of a reply whose owner is gone.
  if (!relayed)
    FreeSlot(slot);
  EndWaitWith(KV_BOX_NO_ANSWER);
}

LRESULT CThreadMessageBox::OnStrayReply(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  // Replies come to the receiver of their request; one addressed to the box itself belongs to no
  // request the box made.
  FreeSlot(reinterpret_cast<HttpReplySlot*>(lParam));
  return 0;
}

LRESULT CThreadMessageBox::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam != kSelfCloseTimer) {
    bHandled = FALSE;
    return 0;
  }
  KillTimer(kSelfCloseTimer);
  EndWaitWith(KV_BOX_NO_ANSWER);
  return 0;
}

LRESULT CThreadMessageBox::OnButton(WORD, WORD id, HWND, BOOL&)
{
  KillTimer(kSelfCloseTimer);
  if (id == KV_BOX_ANSWER_CANCEL) {
    if (m_request.cancelEvent)
      SetEvent(m_request.cancelEvent);
    if (m_request.owner && ::IsWindow(m_request.owner))
      ::PostMessageW(m_request.owner, WM_KV_WAIT_CANCELLED, 0, 0);
  }
  // An answered box waits for nothing more: its request's reply, should it still come, is stale.
  RetireRequest();
  // Hidden before the waiter goes on, which may show it again.
  ShowWindow(SW_HIDE);
  EndWaitWith(id);
  return 0;
}

LRESULT CThreadMessageBox::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  RetireRequest();
  m_receivers.Clear();
  // Whoever still waits on the box goes on.
  EndWaitWith(KV_BOX_NO_ANSWER);
  bHandled = FALSE;
  return 0;
}

int ShowSkinMessageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress, int afterShow)
{
  SipShowIM(SIPF_OFF);
  CThreadMessageBox& box = CThreadMessageBox::Instance();
  if (!box.HasWindow())
    return KV_BOX_NO_ANSWER;
  if (!box.IsArmed())
    box.ArmWait();
  box.Setup(text, caption, type, progress);
  int result = box.Wait();
  if (HWND window = box.BoxWindow())
    ::ShowWindow(window, afterShow);
  return result;
}
