// Events: manual-reset (stays signalled until reset) and auto-reset (released to one waiter).
// A named event is device-wide: every process of one device root that creates the same name
// gets the same event, and CreateEvent then reports ERROR_ALREADY_EXISTS. Names are
// case-sensitive; a file mapping may bear the same name as an event, as on the device.
#pragma once

#include "base/types.h"
#include "kernel/handle.h"

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName);
inline HANDLE CreateEvent(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName)
{
  return CreateEventW(lpEventAttributes, bManualReset, bInitialState, lpName);
}

BOOL SetEvent(HANDLE hEvent);
BOOL ResetEvent(HANDLE hEvent);
