// Processes of the device. A program is started by its device path and runs as the Linux
// executable of that name in the device root, exec'd directly (no shell) with the command line
// as its one argument; the process id is the Linux one. A process handle is waitable and
// signalled when the process has ended. Exit codes are those of Linux (0 to 255); a process
// ended by TerminateProcess has the code given there, one killed otherwise 128 + the signal.
#pragma once

#include "base/types.h"
#include "kernel/handle.h"

struct STARTUPINFOW {
  DWORD cb;
  LPWSTR lpReserved;
  LPWSTR lpDesktop;
  LPWSTR lpTitle;
  DWORD dwX;
  DWORD dwY;
  DWORD dwXSize;
  DWORD dwYSize;
  DWORD dwXCountChars;
  DWORD dwYCountChars;
  DWORD dwFillAttribute;
  DWORD dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  LPBYTE lpReserved2;
  HANDLE hStdInput;
  HANDLE hStdOutput;
  HANDLE hStdError;
};
typedef STARTUPINFOW* LPSTARTUPINFOW;
typedef STARTUPINFOW STARTUPINFO;

struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;  // the main thread: signalled, with the process's exit code, when the process ends
  DWORD dwProcessId;
  DWORD dwThreadId;
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;

#define PROCESS_TERMINATE 0x0001
#define SYNCHRONIZE 0x00100000
#define PROCESS_QUERY_INFORMATION 0x0400
#define PROCESS_ALL_ACCESS 0x001F0FFF

#define CREATE_SUSPENDED 0x00000004

// The longest command line a program is started with, in characters (a 4096-character buffer
// with its terminator).
#define MAX_COMMAND_LINE 4095

// lpApplicationName is the program's device path (".exe" is added to a name without an
// extension; a name without a folder is looked for in the caller's folder, then "\Windows\").
// lpCommandLine is the arguments only, passed whole; a longer one than MAX_COMMAND_LINE fails
// with ERROR_INVALID_PARAMETER. "\Windows\iexplore.exe", when the root has no such program,
// runs the browser command of the device settings with the command line added as one argument;
// that command line must be one http or https address (one line), else ERROR_INVALID_PARAMETER.
// dwCreationFlags: with CREATE_SUSPENDED the process exists (it has its id, it is listed, it can
// be waited for and terminated) but runs nothing of its program until ResumeThread on its
// hThread; one never resumed ends unrun when its creator ends. The device has no consoles,
// priority classes or debuggers, so the other flags are accepted and have no effect. The
// remaining arguments are accepted and not used.
BOOL CreateProcessW(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
                    LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags,
                    LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo,
                    LPPROCESS_INFORMATION lpProcessInformation);
inline BOOL CreateProcess(LPCWSTR lpApplicationName, LPWSTR lpCommandLine, LPSECURITY_ATTRIBUTES lpProcessAttributes,
                          LPSECURITY_ATTRIBUTES lpThreadAttributes, BOOL bInheritHandles, DWORD dwCreationFlags,
                          LPVOID lpEnvironment, LPCWSTR lpCurrentDirectory, LPSTARTUPINFOW lpStartupInfo,
                          LPPROCESS_INFORMATION lpProcessInformation)
{
  return CreateProcessW(lpApplicationName, lpCommandLine, lpProcessAttributes, lpThreadAttributes, bInheritHandles,
                        dwCreationFlags, lpEnvironment, lpCurrentDirectory, lpStartupInfo, lpProcessInformation);
}

// A process of this device (one in its process list); ERROR_INVALID_PARAMETER otherwise.
HANDLE OpenProcess(DWORD dwDesiredAccess, BOOL bInheritHandle, DWORD dwProcessId);

// STILL_ACTIVE while the process runs.
BOOL GetExitCodeProcess(HANDLE hProcess, LPDWORD lpExitCode);
// On the current process it ends at once, without running exit handlers.
BOOL TerminateProcess(HANDLE hProcess, UINT uExitCode);

// The pseudo handle of the calling process.
inline HANDLE GetCurrentProcess()
{
  return INVALID_HANDLE_VALUE;
}
DWORD GetCurrentProcessId();

// The arguments the process was started with, as one text (without the program's name).
LPWSTR GetCommandLineW();
inline LPWSTR GetCommandLine()
{
  return GetCommandLineW();
}
