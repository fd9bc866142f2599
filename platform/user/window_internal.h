// Internal operations shared by the window manager's files.
#pragma once

#include "state.h"

namespace user_detail {

// Calls a window's procedure on the calling thread (which owns the window), marking how the
// message came for InSendMessage and the test recorder. The lock must not be held.
LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned delivery);
// Marks the messages sent while DefWindowProc runs for hwnd as coming through it.
struct DefaultProcScope {
  explicit DefaultProcScope(HWND hwnd);
  ~DefaultProcScope();
  DefaultProcScope(const DefaultProcScope&) = delete;
  DefaultProcScope& operator=(const DefaultProcScope&) = delete;
};

// Answers one message sent from another thread (or runs a queued action). Lock held on entry
// and on return; released during the call.
void HandleSentItem(Lock& held, ThreadQueue& queue, const std::shared_ptr<SentItem>& item);
// Queues an action to run on the queue's thread when it next takes messages, right after the
// messages sent to it.
void QueueAction(Lock& held, ThreadQueue& queue, std::function<void()> action);

// Removes a window tree without messages (its thread is gone).
void DiscardWindowTree(Lock& held, HWND hwnd);
// Forgets a window everywhere it is named: focus, activation, capture, timers, queues.
void ForgetWindow(Lock& held, Window& window);

// Non-client widths from the styles.
RECT InsetsFor(DWORD style, DWORD exStyle);
// Screen position of the window's client area origin; of the screen for null.
POINT ClientOriginOnScreen(Lock& held, HWND hwnd);
// The window's client area on the screen.
RECT ClientRectOnScreen(Lock& held, Window& window);
// The answer of the default procedure to WM_NCHITTEST: HTVSCROLL or HTHSCROLL on the window's
// own bars, HTCLIENT elsewhere in the window (its border too: a tap there is the control's),
// HTNOWHERE outside it.
LRESULT DefaultHitTest(HWND hwnd, POINT screen);
// The bar's code (HTVSCROLL, HTHSCROLL) while the window holds the capture for its bar.
int BarCaptureHit(Lock& held, HWND hwnd);
void Unlink(Lock& held, Window& window);
void LinkAt(Lock& held, Window& window, HWND insertAfter);

// Activation on the calling thread (which owns hwnd, or null to deactivate).
void ActivateOnThisThread(HWND hwnd, bool byTap);
// Moves the foreground to hwnd (any thread of this process); queues what other threads do.
void SetForegroundInProcess(HWND hwnd);
// The foreground went to another process: this process's foreground thread is deactivated.
void LoseForeground();
// When hwnd (being hidden or destroyed) is active, hands the activation to another window.
void HandOffActivation(HWND hwnd);

// Paint: whether the thread has a window waiting for WM_PAINT (the painting layer marks them).
HWND WindowNeedingPaint(Lock& held, ThreadQueue& queue, HWND filter);
// The screen rectangle a window shows (clipped by its ancestors); empty when it is hidden.
RECT ShownBounds(Lock& held, Window& window);
// Tells the drawing layer that a window's visible area changed (the lock not held).
void NotifyChanged(HWND hwnd, const RECT& before);

bool MatchesFilter(Lock& held, HWND msgWindow, HWND filter);

// Windows of other processes of the device (cross_process.cpp).
LRESULT SendToProcess(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The same, waiting for the answer until the device clock reaches the deadline: false with
// ERROR_TIMEOUT after it, or ERROR_INVALID_WINDOW_HANDLE; without answerSends the calling thread
// answers nothing meanwhile.
bool SendToProcessUntil(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, uint64_t deadline, bool answerSends,
                        LRESULT* result);
BOOL PostToProcess(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Thread id of another process's window; 0 when it does not exist.
DWORD RemoteWindowThread(HWND hwnd);
BOOL RemoteSetForeground(HWND hwnd);
HWND FindInOtherProcesses(LPCWSTR className, LPCWSTR windowName);
// The top-level windows of the other processes of the device, each process's from its topmost down.
std::vector<HWND> TopLevelWindowsOfOtherProcesses();
// Starts answering other processes (once this process has a top-level window).
void EnsureProcessListener();

}  // namespace user_detail

namespace user_detail {

// Runs an action on the thread that owns the window and waits for its result; the calling
// thread answers sends made to it meanwhile. Fails (returns false) for a window that is gone.
bool RunOnOwnerThread(HWND hwnd, const std::function<LRESULT()>& action, LRESULT* result);
// Sends a queued item to another thread and waits for the answer, answering sends made to
// the calling thread meanwhile.
LRESULT SendAndWait(Lock& held, const std::shared_ptr<ThreadQueue>& target, const std::shared_ptr<SentItem>& item);
// Waits until the item is answered (by whoever holds it), answering sends made to the calling
// thread meanwhile. The item's sender must be the calling thread's queue.
LRESULT WaitForAnswer(Lock& held, const std::shared_ptr<SentItem>& item);
// The same until the device clock reaches the deadline (UINT64_MAX: none); false when it did
// first. Without answerSends the calling thread answers nothing meanwhile.
bool WaitForAnswerUntil(Lock& held, const std::shared_ptr<SentItem>& item, uint64_t deadline, bool answerSends);
// Answers an item from any thread (the lock held).
void Answer(Lock& held, SentItem& item, LRESULT result);
// When the queue's next timer comes due on the device clock (UINT64_MAX: none).
uint64_t NextTimerDue(ThreadQueue& queue);
// What the queue holds, as GetQueueStatus's QS_* bits.
DWORD QueueStatusBits(Lock& held, ThreadQueue& queue);
// Whether the queue has anything its thread would take now.
bool HasWork(Lock& held, ThreadQueue& queue);
// The desktop window's handle: stands for the screen.
bool IsDesktopHandle(HWND hwnd);

}  // namespace user_detail
