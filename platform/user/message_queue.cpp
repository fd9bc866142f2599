// Message queues: posting, sending within and across threads, retrieval with the priorities
// sent, posted, input, quit, paint, timer; translation and dispatch.
#include <algorithm>
#include <chrono>

#include "kernel/clock.h"
#include "internal/user/test_hooks.h"
#include "internal/user/paint_link.h"
#include "window_internal.h"

namespace user_detail {
namespace {

bool InRange(UINT message, UINT low, UINT high)
{
  return (low == 0 && high == 0) || (message >= low && message <= high);
}

MSG MakeMsg(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(kernel::clock::Now()), state().cursor};
}

struct Filter {
  HWND hwnd;
  UINT low;
  UINT high;
};

// Takes the next message by priority. Sent messages are handled by the caller before. `input`
// tells whether it came from the input queue.
bool TakeMessage(Lock& held, ThreadQueue& queue, MSG* out, const Filter& filter, bool remove, bool& input)
{
  auto takeFrom = [&](std::deque<MSG>& list) {
    for (auto it = list.begin(); it != list.end(); ++it) {
      if (InRange(it->message, filter.low, filter.high) && MatchesFilter(held, it->hwnd, filter.hwnd)) {
        *out = *it;
        if (remove)
          list.erase(it);
        return true;
      }
    }
    return false;
  };
  input = false;
  if (takeFrom(queue.posted))
    return true;
  if (takeFrom(queue.input)) {
    input = true;
    return true;
  }
  if (queue.quit && !filter.hwnd && InRange(WM_QUIT, filter.low, filter.high)) {
    *out = MakeMsg(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
    if (remove)
      queue.quit = false;
    return true;
  }
  if (queue.paintCount > 0 && InRange(WM_PAINT, filter.low, filter.high)) {
    if (HWND hwnd = WindowNeedingPaint(held, queue, filter.hwnd)) {
      *out = MakeMsg(hwnd, WM_PAINT, 0, 0);
      return true;
    }
  }
  if (InRange(WM_TIMER, filter.low, filter.high) && !queue.timers.empty()) {
    uint64_t now = kernel::clock::Now();
    Timer* next = nullptr;
    for (auto& timer : queue.timers)
      if (timer.due <= now && MatchesFilter(held, timer.hwnd, filter.hwnd) && (!next || timer.due < next->due))
        next = &timer;
    if (next) {
      *out = MakeMsg(next->hwnd, WM_TIMER, next->id, reinterpret_cast<LPARAM>(next->proc));
      if (remove)
        next->due = now + next->elapse;  // a timer that fell behind fires once, not once per period
      return true;
    }
  }
  return false;
}

// Answers the messages sent to the thread, then runs its queued actions (one at a time, since
// each may send messages that other threads answer meanwhile).
void HandleAllSent(Lock& held, ThreadQueue& queue)
{
  for (;;) {
    if (!queue.sent.empty()) {
      auto item = queue.sent.front();
      queue.sent.pop_front();
      HandleSentItem(held, queue, item);
    } else if (!queue.events.empty()) {
      auto action = std::move(queue.events.front());
      queue.events.pop_front();
      held.unlock();
      action();
      held.lock();
    } else {
      return;
    }
  }
}

// Blocks until something is queued or a timer may have come due.
void WaitForWork(Lock& held, ThreadQueue& queue)
{
  queue.waiting = true;
  state().idleChanged.notify_all();
  BlockQueue(held, queue, NextTimerDue(queue));
  queue.waiting = false;
}

// Pointer input in a window's frame waits for the window to say what lies at the point.
bool AwaitsHitTest(const MSG& msg)
{
  return (msg.message == WM_NCLBUTTONDOWN || msg.message == WM_NCMOUSEMOVE || msg.message == WM_NCLBUTTONUP) &&
         msg.wParam == HTNOWHERE;
}

// Asks the window (WM_NCHITTEST) what lies at the point of a pointer message in its frame. Its
// own scroll bars, or another part of the frame it names, take the non-client message with that
// code; the rest takes the client message, as a tap in the client area does. False when the
// window has gone meanwhile.
bool ResolveHitTest(Lock& held, MSG* msg)
{
  held.unlock();
  LRESULT hit = SendMessageW(msg->hwnd, WM_NCHITTEST, 0, msg->lParam);
  held.lock();
  if (!Find(held, msg->hwnd))
    return false;
  if (hit > HTCLIENT) {
    msg->wParam = static_cast<WPARAM>(hit);
    return true;
  }
  POINT origin = ClientOriginOnScreen(held, msg->hwnd);
  msg->lParam = MAKELPARAM(GET_X_LPARAM(msg->lParam) - origin.x, GET_Y_LPARAM(msg->lParam) - origin.y);
  switch (msg->message) {
  case WM_NCLBUTTONDOWN:
    msg->message = WM_LBUTTONDOWN;
    msg->wParam = MK_LBUTTON;
    break;
  case WM_NCLBUTTONUP:
    msg->message = WM_LBUTTONUP;
    msg->wParam = 0;
    break;
  default:
    msg->message = WM_MOUSEMOVE;
    msg->wParam = (state().keyState[VK_LBUTTON] & 0x80) ? MK_LBUTTON : 0;
    break;
  }
  return true;
}

bool BadFilterWindow(Lock& held, HWND filter, const std::shared_ptr<ThreadQueue>& queue)
{
  if (!filter || filter == reinterpret_cast<HWND>(-1))
    return false;
  auto window = Find(held, filter);
  return !window || window->queue != queue;
}

BOOL Retrieve(LPMSG msg, HWND hwnd, UINT low, UINT high, UINT flags, bool wait)
{
  Lock held(state().lock);
  auto queue = CurrentQueue(held);
  if (!msg || BadFilterWindow(held, hwnd, queue)) {
    SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return -1;
  }
  Filter filter{hwnd, low, high};
  queue->pumps = true;
  for (;;) {
    queue->lastLooked = kernel::clock::Now();
    HandleAllSent(held, *queue);
    bool input = false;
    if (TakeMessage(held, *queue, msg, filter, (flags & PM_REMOVE) != 0, input)) {
      if (input && AwaitsHitTest(*msg) && !ResolveHitTest(held, msg))
        continue;
      queue->messageTime = msg->time;
      queue->messagePos = msg->pt;
      return TRUE;
    }
    if (!wait)
      return FALSE;
    WaitForWork(held, *queue);
  }
}

}  // namespace

uint64_t NextTimerDue(ThreadQueue& queue)
{
  uint64_t next = UINT64_MAX;
  for (auto& timer : queue.timers)
    next = std::min(next, timer.due);
  return next;
}

DWORD QueueStatusBits(Lock& held, ThreadQueue& queue)
{
  DWORD status = 0;
  if (!queue.sent.empty())
    status |= QS_SENDMESSAGE;
  if (!queue.posted.empty() || queue.quit)
    status |= QS_POSTMESSAGE;
  for (auto& msg : queue.input)
    status |= msg.message >= WM_KEYFIRST && msg.message <= WM_IME_KEYLAST           ? QS_KEY
              : msg.message == WM_MOUSEMOVE || msg.message == WM_NCMOUSEMOVE ? QS_MOUSEMOVE
                                                                             : QS_MOUSEBUTTON;
  if (queue.paintCount > 0 && WindowNeedingPaint(held, queue, nullptr))
    status |= QS_PAINT;
  if (NextTimerDue(queue) <= kernel::clock::Now())
    status |= QS_TIMER;
  return status;
}

bool IsDesktopHandle(HWND hwnd)
{
  return hwnd && hwnd == GetDesktopWindow();
}

bool MatchesFilter(Lock& held, HWND msgWindow, HWND filter)
{
  if (!filter)
    return true;
  if (filter == reinterpret_cast<HWND>(-1))
    return msgWindow == nullptr;
  return msgWindow == filter || IsDescendant(held, filter, msgWindow);
}

bool HasWork(Lock& held, ThreadQueue& queue)
{
  if (!queue.sent.empty() || !queue.events.empty() || !queue.posted.empty() || !queue.input.empty() || queue.quit)
    return true;
  if (queue.paintCount > 0 && WindowNeedingPaint(held, queue, nullptr))
    return true;
  return NextTimerDue(queue) <= kernel::clock::Now();
}

void HandleSentItem(Lock& held, ThreadQueue& queue, const std::shared_ptr<SentItem>& item)
{
  queue.handling.push_back(item);
  held.unlock();
  LRESULT result = 0;
  if (item->action) {
    item->action();
  } else {
    result = Deliver(item->hwnd, item->message, item->wParam, item->lParam, user_test::sent);
  }
  held.lock();
  queue.handling.pop_back();
  Answer(held, *item, result);
}

void QueueAction(Lock&, ThreadQueue& queue, std::function<void()> action)
{
  queue.events.push_back(std::move(action));
  Wake(queue);
}

LRESULT SendAndWait(Lock& held, const std::shared_ptr<ThreadQueue>& target, const std::shared_ptr<SentItem>& item)
{
  item->sender = CurrentQueue(held);
  if (!target->alive)
    return 0;
  target->sent.push_back(item);
  Wake(*target);
  return WaitForAnswer(held, item);
}

LRESULT WaitForAnswer(Lock& held, const std::shared_ptr<SentItem>& item)
{
  WaitForAnswerUntil(held, item, UINT64_MAX, true);
  return item->result;
}

bool WaitForAnswerUntil(Lock& held, const std::shared_ptr<SentItem>& item, uint64_t deadline, bool answerSends)
{
  auto self = CurrentQueue(held);
  while (!item->done) {
    self->lastLooked = kernel::clock::Now();
    if (answerSends && !self->sent.empty()) {
      auto incoming = self->sent.front();
      self->sent.pop_front();
      HandleSentItem(held, *self, incoming);
      continue;
    }
    if (kernel::clock::Now() >= deadline)
      return false;
    self->waiting = true;
    state().idleChanged.notify_all();
    BlockQueue(held, *self, deadline);
    self->waiting = false;
  }
  return true;
}

void Answer(Lock&, SentItem& item, LRESULT result)
{
  if (item.done)
    return;
  item.result = result;
  item.done = true;
  if (item.sender) {
    // Busy from now until it has taken the answer and goes on.
    item.sender->waiting = false;
    Wake(*item.sender);
  }
}

bool RunOnOwnerThread(HWND hwnd, const std::function<LRESULT()>& action, LRESULT* result)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  auto target = window->queue;
  if (target == CurrentQueue(held)) {
    held.unlock();
    *result = action();
    return true;
  }
  auto item = std::make_shared<SentItem>();
  LRESULT answer = 0;
  item->action = [&answer, &action] { answer = action(); };
  SendAndWait(held, target, item);
  *result = answer;
  return true;
}

}  // namespace user_detail

using namespace user_detail;

BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_COPYDATA) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  Lock held(state().lock);
  auto queue = threadId == CurrentThreadId() ? CurrentQueue(held) : QueueForPost(held, threadId);
  if (!queue || !queue->alive) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  queue->posted.push_back(MakeMsg(nullptr, message, wParam, lParam));
  Wake(*queue);
  return TRUE;
}

BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (!hwnd)
    return PostThreadMessageW(CurrentThreadId(), message, wParam, lParam);
  if (message == WM_COPYDATA) {
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return FALSE;
  }
  if (IsRemoteHandle(hwnd))
    return PostToProcess(hwnd, message, wParam, lParam);
  Lock held(state().lock);
  if (hwnd == HWND_BROADCAST) {
    for (HWND top : state().topLevel)
      if (auto window = Find(held, top)) {
        window->queue->posted.push_back(MakeMsg(top, message, wParam, lParam));
        Wake(*window->queue);
      }
    return TRUE;
  }
  auto window = Find(held, hwnd);
  if (!window || !window->queue->alive) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  window->queue->posted.push_back(MakeMsg(hwnd, message, wParam, lParam));
  Wake(*window->queue);
  return TRUE;
}

LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (IsRemoteHandle(hwnd))
    return SendToProcess(hwnd, message, wParam, lParam);
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  auto target = window->queue;
  if (target == CurrentQueue(held)) {
    held.unlock();
    return Deliver(hwnd, message, wParam, lParam, user_test::sent);
  }
  auto item = std::make_shared<SentItem>();
  item->hwnd = hwnd;
  item->message = message;
  item->wParam = wParam;
  item->lParam = lParam;
  return SendAndWait(held, target, item);
}

BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (IsRemoteHandle(hwnd))
    return PostToProcess(hwnd, message, wParam, lParam);
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  auto target = window->queue;
  if (target == CurrentQueue(held)) {
    held.unlock();
    Deliver(hwnd, message, wParam, lParam, user_test::sent);
    return TRUE;
  }
  auto item = std::make_shared<SentItem>();
  item->hwnd = hwnd;
  item->message = message;
  item->wParam = wParam;
  item->lParam = lParam;
  target->sent.push_back(item);
  Wake(*target);
  return TRUE;
}

BOOL ReplyMessage(LRESULT result)
{
  Lock held(state().lock);
  auto queue = CurrentQueue(held);
  if (queue->handling.empty())
    return FALSE;
  auto& item = queue->handling.back();
  if (item->done)
    return FALSE;
  Answer(held, *item, result);
  return TRUE;
}

void PostQuitMessage(int exitCode)
{
  Lock held(state().lock);
  auto queue = CurrentQueue(held);
  queue->quit = true;
  queue->quitCode = exitCode;
  Wake(*queue);
}

BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
  BOOL result = Retrieve(msg, hwnd, filterMin, filterMax, PM_REMOVE, true);
  if (result == TRUE && msg->message == WM_QUIT)
    return FALSE;
  return result;
}

BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags)
{
  return Retrieve(msg, hwnd, filterMin, filterMax, removeFlags, false) == TRUE;
}

BOOL WaitMessage()
{
  Lock held(state().lock);
  auto queue = CurrentQueue(held);
  queue->pumps = true;
  for (;;) {
    queue->lastLooked = kernel::clock::Now();
    HandleAllSent(held, *queue);
    if (HasWork(held, *queue))
      return TRUE;
    WaitForWork(held, *queue);
  }
}

DWORD GetQueueStatus(UINT flags)
{
  Lock held(state().lock);
  auto queue = CurrentQueue(held);
  DWORD status = QueueStatusBits(held, *queue) & flags;
  return (status << 16) | status;
}

namespace {

// The character a key gives, with the shift state; 0 for keys without one. Text that arrives
// as VK_PACKET already carries its WM_CHAR.
char16_t CharacterOfKey(UINT key, bool shift)
{
  if (key >= 'A' && key <= 'Z')
    return static_cast<char16_t>(shift ? key : key + 32);
  if (key >= '0' && key <= '9')
    return static_cast<char16_t>(key);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
    return static_cast<char16_t>(u'0' + (key - VK_NUMPAD0));
  switch (key) {
  case VK_SPACE: return u' ';
  case VK_RETURN: return u'\r';
  case VK_BACK: return 8;
  case VK_TAB: return 9;
  case VK_ESCAPE: return 27;
  case VK_MULTIPLY: return u'*';
  case VK_ADD: return u'+';
  case VK_SUBTRACT:
  case VK_OEM_MINUS: return u'-';
  case VK_DECIMAL:
  case VK_OEM_PERIOD: return u'.';
  case VK_DIVIDE:
  case VK_OEM_2: return u'/';
  case VK_OEM_COMMA: return u',';
  case VK_OEM_PLUS: return u'=';
  case VK_OEM_1: return u';';
  default: return 0;
  }
}

}  // namespace

BOOL TranslateMessage(const MSG* msg)
{
  if (!msg || msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
    return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)
    return TRUE;
  char16_t character = CharacterOfKey(static_cast<UINT>(msg->wParam), (GetKeyState(VK_SHIFT) & 0x8000) != 0);
  if (character)
    PostMessageW(msg->hwnd, msg->message == WM_KEYDOWN ? WM_CHAR : WM_SYSCHAR, character, msg->lParam);
  return TRUE;
}

LRESULT DispatchMessageW(const MSG* msg)
{
  if (!msg)
    return 0;
  if (msg->message == WM_TIMER && msg->lParam) {
    TIMERPROC proc = nullptr;
    {
      Lock held(state().lock);
      auto queue = CurrentQueue(held);
      // Only a timer that exists with that procedure is called, never an arbitrary lParam.
      for (auto& timer : queue->timers)
        if (timer.hwnd == msg->hwnd && timer.id == msg->wParam &&
            reinterpret_cast<LPARAM>(timer.proc) == msg->lParam)
          proc = timer.proc;
    }
    if (proc)
      proc(msg->hwnd, WM_TIMER, msg->wParam, static_cast<DWORD>(kernel::clock::Now()));
    return 0;
  }
  if (!msg->hwnd)
    return 0;
  {
    Lock held(state().lock);
    auto window = Find(held, msg->hwnd);
    if (!window) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    if (window->queue != CurrentQueue(held)) {
      SetLastError(ERROR_MESSAGE_SYNC_ONLY);
      return 0;
    }
  }
  LRESULT result = Deliver(msg->hwnd, msg->message, msg->wParam, msg->lParam, user_test::posted);
  if (msg->message == WM_PAINT) {
    // A window that did not validate itself is taken as painted, so WM_PAINT does not repeat.
    if (auto hooks = user_paint::GetHooks(); hooks && hooks->leftInvalid) {
      if (user_paint::NeedsPaint(msg->hwnd))
        hooks->leftInvalid(msg->hwnd);
      return result;
    }
    Lock held(state().lock);
    if (auto window = Find(held, msg->hwnd); window && window->needsPaint) {
      window->needsPaint = false;
      window->queue->paintCount--;
    }
  }
  return result;
}

LONG GetMessageTime()
{
  Lock held(state().lock);
  return static_cast<LONG>(CurrentQueue(held)->messageTime);
}

DWORD GetMessagePos()
{
  Lock held(state().lock);
  POINT pt = CurrentQueue(held)->messagePos;
  return static_cast<DWORD>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}

bool user_test::CurrentThreadHasWork()
{
  Lock held(state().lock);
  auto queue = FindQueue(held, CurrentThreadId());
  return queue && HasWork(held, *queue);
}

namespace {

// Whether the thread has something to do now. A thread in an object wait is busy until it blocks,
// and again from any wake of its waiter (an object signalled, the clock moved past its time-out)
// until it has looked and blocked again: an object it took on waking is no longer signalled.
// Meanwhile it takes only the sends (which the wait answers) and the kinds of message that end
// the wait, and what else its queue holds waits until the wait is over.
bool HasWorkNow(Lock& held, ThreadQueue& queue)
{
  if (!queue.objectsWaiter)
    return HasWork(held, queue);
  if (!queue.objectsBlockedAt || queue.objectsWaiter->Count() != *queue.objectsBlockedAt)
    return true;
  if (queue.waitedObjects)
    for (const auto& object : *queue.waitedObjects)
      if (object->IsSignalled())
        return true;
  return (QueueStatusBits(held, queue) & (queue.objectsWakeMask | QS_SENDMESSAGE)) != 0;
}

// A thread that takes messages is busy unless it waits with nothing to take. One that has never
// taken messages is not waited for.
bool IsBusy(Lock& held, ThreadQueue& queue)
{
  return queue.pumps && (!queue.waiting || HasWorkNow(held, queue));
}

}  // namespace

bool user_test::WaitUntilOtherThreadsIdle(uint32_t boundMs)
{
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  DWORD self = CurrentThreadId();
  Lock held(state().lock);
  for (;;) {
    bool idle = true;
    for (auto& queue : state().queues)
      if (queue->threadId != self && queue->alive && IsBusy(held, *queue))
        idle = false;
    if (idle)
      return true;
    if (state().idleChanged.wait_until(held, deadline) == std::cv_status::timeout)
      return false;
  }
}

DWORD user_test::CurrentThreadId()
{
  return user_detail::CurrentThreadId();
}

size_t user_test::PendingSends(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window ? window->queue->sent.size() : 0;
}
