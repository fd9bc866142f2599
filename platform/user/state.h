// The window manager's shared state: the window and class tables, the queues of the threads,
// the process-wide focus records. Everything here is guarded by the one user lock; window
// procedures are always called with the lock released.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/object.h"
#include "user/user.h"

namespace user_detail {

struct ThreadQueue;

struct WindowClass {
  ATOM atom = 0;
  std::u16string name;
  WNDCLASSW info{};  // lpszClassName and lpszMenuName are not kept here
  std::vector<BYTE> classExtra;
  int windowCount = 0;
};

enum class WindowState { creating, alive, destroying };

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  std::shared_ptr<ThreadQueue> queue;  // the thread that created the window
  HWND parent = nullptr;               // null: top-level (child of the desktop)
  HWND owner = nullptr;
  std::vector<HWND> children;          // z-order, topmost first
  DWORD style = 0;
  DWORD exStyle = 0;
  LONG_PTR id = 0;
  HINSTANCE instance = nullptr;
  LONG_PTR userData = 0;
  WNDPROC proc = nullptr;
  RECT rect{};    // window rectangle in the parent's client coordinates
  RECT insets{};  // non-client widths: left, top, right, bottom
  std::u16string text;
  std::vector<BYTE> extra;
  HIMC inputContext = nullptr;
  WindowState state = WindowState::creating;
  bool destroySent = false;
  bool needsPaint = false;
};

// A message sent to another thread, or an action that must run on the target thread.
struct SentItem {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::function<void()> action;        // instead of a message: runs on the target thread
  std::shared_ptr<ThreadQueue> sender; // null: nobody waits (notify messages, actions)
  std::vector<BYTE> data;              // WM_COPYDATA: the receiver's copy of the data
  COPYDATASTRUCT copyData{};
  LRESULT result = 0;
  bool done = false;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT elapse;
  TIMERPROC proc;
  uint64_t due;
};

struct ThreadQueue {
  DWORD threadId = 0;
  bool alive = true;
  // Made on the owning thread (the kernel binds a waiter to its thread); woken by Wake and,
  // for the queue's timers, by the device clock.
  std::optional<kernel::Waiter> waiter;
  std::deque<std::shared_ptr<SentItem>> sent;
  // Actions such as activation changes, run when the thread takes messages (not while it waits
  // for the answer to a send of its own).
  std::deque<std::function<void()>> events;
  std::deque<MSG> posted;
  std::deque<MSG> input;
  std::vector<Timer> timers;
  bool quit = false;
  int quitCode = 0;
  int paintCount = 0;
  HWND active = nullptr;
  HWND focus = nullptr;
  std::vector<std::shared_ptr<SentItem>> handling;  // sends from other threads being answered
  bool waiting = false;                              // blocked for messages with none to take
  bool pumps = false;                                // has taken messages: a user-interface thread
  // The waiter of a MsgWaitForMultipleObjects on the thread: woken with the queue; the kinds of
  // message (QS_*) and the objects that end that wait.
  kernel::Waiter* objectsWaiter = nullptr;
  DWORD objectsWakeMask = 0;
  const std::vector<std::shared_ptr<kernel::Waitable>>* waitedObjects = nullptr;
  // The wake count that wait last blocked at: it sleeps only until the count moves on (an
  // object signalled, a time-out reached, a message queued). None while the thread checks.
  std::optional<uint32_t> objectsBlockedAt;
  // When the thread last looked at its queue (device clock): for telling a hung thread.
  uint64_t lastLooked = 0;
  DWORD messageTime = 0;
  POINT messagePos{};
};

struct State {
  std::mutex lock;
  std::condition_variable idleChanged;  // a queue started waiting or got work
  std::vector<std::pair<uint16_t, std::shared_ptr<Window>>> windows;  // generation, record
  std::deque<uint32_t> freeSlots;
  std::vector<HWND> topLevel;  // z-order, topmost first
  std::vector<std::shared_ptr<WindowClass>> classes;
  std::vector<std::shared_ptr<ThreadQueue>> queues;
  // Threads whose queue has ended while they may still be running: nothing is posted to them.
  std::vector<DWORD> endedThreads;
  HWND foreground = nullptr;
  HWND capture = nullptr;
  // The capture is for a gesture on the window's own scroll bar (user_bars::CaptureForBar): the
  // bar's hit code while `capture` is still that window.
  HWND barCapture = nullptr;
  int barCaptureHit = 0;
  POINT cursor{};
  BYTE keyState[256]{};
  UINT_PTR nextThreadTimerId = 0x7fff0000;
};

// The state lives as long as the process (threads may still use it during exit).
State& state();
using Lock = std::unique_lock<std::mutex>;

// The calling thread's id and queue (made on first use).
DWORD CurrentThreadId();
std::shared_ptr<ThreadQueue> CurrentQueue(Lock& held);
std::shared_ptr<ThreadQueue> FindQueue(Lock& held, DWORD threadId);
// Makes the queue of a live thread of this process, for a post that comes first.
std::shared_ptr<ThreadQueue> QueueForPost(Lock& held, DWORD threadId);

// Handles: process tag (high 32 bits), generation, table index.
DWORD CurrentProcessId();
bool IsRemoteHandle(HWND hwnd);
DWORD ProcessOfHandle(HWND hwnd);
std::shared_ptr<Window> Find(Lock& held, HWND hwnd);  // null for a stale or remote handle
HWND AllocateHandle(Lock& held, std::shared_ptr<Window> window);
void ReleaseHandle(Lock& held, HWND hwnd);

// The list a window lies in (its parent's children, or the top-level list).
std::vector<HWND>& SiblingList(Lock& held, Window& window);
HWND TopLevelOf(Lock& held, HWND hwnd);
bool IsDescendant(Lock& held, HWND ancestor, HWND hwnd);

// Wakes a queue's thread and whoever waits for the threads to go idle.
void Wake(ThreadQueue& queue);
// Blocks the queue's thread (the lock held on entry and on return, released meanwhile) until
// it is woken or the device clock reaches `due` (UINT64_MAX: no time-out).
void BlockQueue(Lock& held, ThreadQueue& queue, uint64_t due);

}  // namespace user_detail
