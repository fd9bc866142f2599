// Waiting on kernel objects: events, threads, processes and the objects of other pieces of the
// layer. Every time-out, and Sleep, runs on the device clock (see testing/clock.h for the
// virtual clock of tests). Kernel waits do not pump window messages.
#pragma once

#include "base/types.h"

#define INFINITE 0xFFFFFFFFu
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// Any-of (bWaitAll FALSE) returns WAIT_OBJECT_0 + the lowest index of a signalled object;
// all-of returns WAIT_OBJECT_0 once every object was taken at once.
DWORD WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds);

void Sleep(DWORD dwMilliseconds);
