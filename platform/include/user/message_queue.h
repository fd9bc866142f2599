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
