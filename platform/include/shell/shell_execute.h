// Starting a program through the shell. Only programs run: the file names a program by its
// device path (".exe" implied, a name without a folder looked for as CreateProcess does), the
// parameters are its command line, passed whole and never through a command interpreter. The
// device's browser, "\Windows\iexplore.exe", takes one http or https address.
#pragma once

#include "base/types.h"

#define SEE_MASK_NOCLOSEPROCESS 0x00000040
#define SEE_MASK_FLAG_NO_UI 0x00000400

// hInstApp: above 32 on success, else one of these.
#define SE_ERR_FNF 2
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_NOASSOC 31
#define SE_ERR_SUCCESS 33

struct SHELLEXECUTEINFO {
  DWORD cbSize;
  ULONG fMask;
  HWND hwnd;
  LPCWSTR lpVerb;        // null, empty or "open"
  LPCWSTR lpFile;
  LPCWSTR lpParameters;  // may be null
  LPCWSTR lpDirectory;   // not used
  int nShow;
  HINSTANCE hInstApp;
  void* lpIDList;
  LPCWSTR lpClass;
  HKEY hkeyClass;
  DWORD dwHotKey;
  HANDLE hIcon;
  HANDLE hProcess;       // with SEE_MASK_NOCLOSEPROCESS, the started process (close it)
};
typedef SHELLEXECUTEINFO SHELLEXECUTEINFOW;
typedef SHELLEXECUTEINFO* LPSHELLEXECUTEINFO;

// Starts the program; the last error and hInstApp tell why it failed: ERROR_INVALID_PARAMETER
// for a bad record, an unknown verb or a browser address other than http and https,
// ERROR_NO_ASSOCIATION for a file that is not a program, CreateProcess's errors otherwise.
BOOL ShellExecuteEx(SHELLEXECUTEINFO* pExecInfo);
inline BOOL ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo)
{
  return ShellExecuteEx(pExecInfo);
}
