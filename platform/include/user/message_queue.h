// Message queues: one per thread. Posting, sending (within and across threads and processes),
// retrieval with the platform's priorities (sent, posted, input, paint, timer), dispatch.
#pragma once

#include "base/types.h"
#include "user/messages.h"

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// GetQueueStatus flags.
#define QS_KEY 0x0001
#define QS_MOUSEMOVE 0x0002
#define QS_MOUSEBUTTON 0x0004
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER 0x0010
#define QS_PAINT 0x0020
#define QS_SENDMESSAGE 0x0040
#define QS_MOUSE (QS_MOUSEMOVE | QS_MOUSEBUTTON)
#define QS_INPUT (QS_MOUSE | QS_KEY)
#define QS_ALLEVENTS (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT)
#define QS_ALLINPUT (QS_ALLEVENTS | QS_SENDMESSAGE)

#define HWND_BROADCAST (reinterpret_cast<HWND>(0xffff))

// Posts to the window's thread (any thread, any process of the device). A null window posts
// to the calling thread. WM_COPYDATA cannot be posted (ERROR_MESSAGE_SYNC_ONLY).
BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Fails with ERROR_INVALID_THREAD_ID for a thread that does not exist; a live thread's queue
// is made on the first post, so no post is lost before the thread first takes messages.
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// Calls the window's procedure; across threads the sender waits and answers the messages
// sent to it meanwhile. 0 for a window that does not exist or dies before answering.
LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Like SendMessage within the thread; to another thread it queues the message and returns.
BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// TRUE while the calling thread handles a message sent from another thread.
BOOL InSendMessage();
// Answers the message sent from another thread now, so its sender goes on.
BOOL ReplyMessage(LRESULT result);
void PostQuitMessage(int exitCode);

// SendMessageTimeout's flags. SMTO_NORMAL: the sender answers messages sent to it while it
// waits; SMTO_BLOCK: it answers none; SMTO_ABORTIFHUNG: it fails at once when the window's thread
// is hung (busy elsewhere, not looking at its queue, for 5 seconds of the device clock).
#define SMTO_NORMAL 0x0000
#define SMTO_BLOCK 0x0001
#define SMTO_ABORTIFHUNG 0x0002

// Sends and waits at most uTimeout ms (device clock) for the answer, which goes to *lpdwResult.
// Nonzero when answered; 0 with ERROR_TIMEOUT when the time ran out or the thread is hung (a
// message its window had not begun to handle is then taken back, never delivered late), or with
// ERROR_INVALID_WINDOW_HANDLE. Within the thread the window's procedure is called directly.
LRESULT SendMessageTimeoutW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT fuFlags, UINT uTimeout,
                            PDWORD_PTR lpdwResult);

// MsgWaitForMultipleObjectsEx's flags. The device waits for any one object only
// (MWMO_WAITALL fails with ERROR_INVALID_PARAMETER) and has no asynchronous procedure calls, so
// MWMO_ALERTABLE changes nothing.
#define MWMO_WAITALL 0x0001
#define MWMO_ALERTABLE 0x0002
#define MWMO_INPUTAVAILABLE 0x0004

// Waits on up to MAXIMUM_WAIT_OBJECTS - 1 kernel objects and on the calling thread's queue at
// once. Messages sent to the thread meanwhile are answered in the wait. Returns WAIT_OBJECT_0 +
// the index of a signalled object, WAIT_OBJECT_0 + nCount when the queue holds a message of the
// kinds in dwWakeMask (QS_*; whether or not it arrived during the wait, as with
// MWMO_INPUTAVAILABLE), WAIT_TIMEOUT after dwMilliseconds (device clock), or WAIT_FAILED.
DWORD MsgWaitForMultipleObjectsEx(DWORD nCount, const HANDLE* pHandles, DWORD dwMilliseconds, DWORD dwWakeMask,
                                  DWORD dwFlags);
inline DWORD MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
                                       DWORD dwWakeMask)
{
  return MsgWaitForMultipleObjectsEx(nCount, pHandles, dwMilliseconds, dwWakeMask, fWaitAll ? MWMO_WAITALL : 0);
}

// Waits for a message: returns 0 for WM_QUIT (its wParam is the exit code), -1 for a bad
// filter window, else nonzero. Sent messages are handled on the way.
BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
// Waits until the queue has something new.
BOOL WaitMessage();
DWORD GetQueueStatus(UINT flags);
// WM_KEYDOWN of a character key posts WM_CHAR with the same lParam.
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
// Time (the device clock, ms) and cursor position of the last message taken from the queue.
LONG GetMessageTime();
DWORD GetMessagePos();

inline BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return PostMessageW(hwnd, message, wParam, lParam);
}
inline BOOL PostThreadMessage(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
  return PostThreadMessageW(threadId, message, wParam, lParam);
}
inline LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return SendMessageW(hwnd, message, wParam, lParam);
}
inline LRESULT SendMessageTimeout(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT fuFlags,
                                  UINT uTimeout, PDWORD_PTR lpdwResult)
{
  return SendMessageTimeoutW(hwnd, message, wParam, lParam, fuFlags, uTimeout, lpdwResult);
}
inline BOOL SendNotifyMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return SendNotifyMessageW(hwnd, message, wParam, lParam);
}
inline BOOL GetMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
  return GetMessageW(msg, hwnd, filterMin, filterMax);
}
inline BOOL PeekMessage(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags)
{
  return PeekMessageW(msg, hwnd, filterMin, filterMax, removeFlags);
}
inline LRESULT DispatchMessage(const MSG* msg) { return DispatchMessageW(msg); }
