// The process list of the device: the processes of this device root that run now.
#pragma once

#include "base/types.h"
#include "kernel/handle.h"

#define TH32CS_SNAPPROCESS 0x00000002
#define TH32CS_SNAPNOHEAPS 0x40000000

struct PROCESSENTRY32W {
  DWORD dwSize;
  DWORD cntUsage;
  DWORD th32ProcessID;
  DWORD th32DefaultHeapID;
  DWORD th32ModuleID;
  DWORD cntThreads;
  DWORD th32ParentProcessID;
  LONG pcPriClassBase;
  DWORD dwFlags;
  WCHAR szExeFile[MAX_PATH];  // the executable's file name ("KorvexPortal.exe")
  DWORD th32MemoryBase;
  DWORD th32AccessKey;
};
typedef PROCESSENTRY32W* LPPROCESSENTRY32W;
typedef PROCESSENTRY32W PROCESSENTRY32;
typedef PROCESSENTRY32W* LPPROCESSENTRY32;

// Only processes are listed; th32ProcessID is ignored.
HANDLE CreateToolhelp32Snapshot(DWORD dwFlags, DWORD th32ProcessID);
// lppe->dwSize must be sizeof(PROCESSENTRY32W). The walk ends with ERROR_NO_MORE_FILES.
BOOL Process32FirstW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe);
BOOL Process32NextW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe);
BOOL CloseToolhelp32Snapshot(HANDLE hSnapshot);

// The command line a process of the device was started with (what its GetCommandLine gives), so
// that another process can tell how a running program was started. *lpcchSize is the buffer's
// size in characters; on return it is the text's length with its terminator. A buffer too small
// (or null) fails with ERROR_INSUFFICIENT_BUFFER, having set the size needed; a process not
// running on this device fails with ERROR_INVALID_PARAMETER.
BOOL GetProcessCommandLineW(DWORD dwProcessId, LPWSTR lpBuffer, LPDWORD lpcchSize);

inline BOOL Process32First(HANDLE hSnapshot, LPPROCESSENTRY32W lppe)
{
  return Process32FirstW(hSnapshot, lppe);
}
inline BOOL Process32Next(HANDLE hSnapshot, LPPROCESSENTRY32W lppe)
{
  return Process32NextW(hSnapshot, lppe);
}
