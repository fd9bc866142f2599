// Timers on the device clock (which tests may run virtually). WM_TIMER is the lowest-priority
// message and is coalesced: a timer that fell behind yields one WM_TIMER, not a backlog.
#pragma once

#include "base/types.h"
#include "user/messages.h"

#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

typedef void (*TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

// With a window: the window's thread must be the caller; a timer of the same window and id is
// replaced. Without a window: a thread timer with a new id, which is returned.
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
// From any thread.
BOOL KillTimer(HWND hwnd, UINT_PTR id);
