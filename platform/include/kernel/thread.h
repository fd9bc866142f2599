// Threads: a thread handle is waitable and signalled when the thread ends; its exit code is
// STILL_ACTIVE until then. Thread ids are small numbers unique among the running threads of
// the device.
#pragma once

#include "base/types.h"
#include "kernel/handle.h"

#define STILL_ACTIVE 259

typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

HANDLE CreateThread(LPSECURITY_ATTRIBUTES lpThreadAttributes, SIZE_T dwStackSize, LPTHREAD_START_ROUTINE lpStartAddress,
                    LPVOID lpParameter, DWORD dwCreationFlags, LPDWORD lpThreadId);

// Ends the calling thread with the given exit code; the thread's stack unwinds.
[[noreturn]] void ExitThread(DWORD dwExitCode);

// Ends another thread of this process with the given exit code. It ends at its next wait or
// Sleep, at once when it is waiting now, and its stack unwinds; its handle is signalled when it
// has ended. A thread that never waits again ends only when its routine returns (with the code
// given here). On the calling thread it is ExitThread.
BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode);

// Lets a thread that was created suspended run: the main thread of a process started with
// CREATE_SUSPENDED (CreateProcess). Answers the thread's suspend count before the call: 1 for a
// suspended thread, which now runs, and 0 for one that already ran; 0xFFFFFFFF for a handle that
// is not a thread.
DWORD ResumeThread(HANDLE hThread);

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
DWORD GetCurrentThreadId();
