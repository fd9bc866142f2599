// Kernel object handles: closing and duplicating them. A handle is an index and a generation
// in the process's handle table; a closed or stale handle fails with ERROR_INVALID_HANDLE and
// never reaches an object created later in the same slot.
#pragma once

#include "base/types.h"

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

#define DUPLICATE_CLOSE_SOURCE 0x00000001
#define DUPLICATE_SAME_ACCESS 0x00000002

BOOL CloseHandle(HANDLE hObject);

// Duplicates a handle within the current process (both process handles are GetCurrentProcess()
// or a handle of the current process).
BOOL DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                     LPHANDLE lpTargetHandle, DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwOptions);
