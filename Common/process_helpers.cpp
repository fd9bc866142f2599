#include "process_helpers.h"

#include "kernel/handle.h"
#include "kernel/module.h"
#include "kernel/process.h"
#include "kernel/toolhelp.h"
#include "text/cstring.h"
#include "text/widechar.h"

BOOL FindOtherInstanceProcess()
{
  WCHAR path[MAX_PATH + 1] = {};
  if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0) {
    return FALSE;
  }
  const WCHAR* slash = wcsrchr(path, u'\\');
  const WCHAR* name = slash != nullptr ? slash + 1 : path;

  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPNOHEAPS, 0);
  if (snapshot == INVALID_HANDLE_VALUE || snapshot == nullptr) {
    return FALSE;
  }
  DWORD self = GetCurrentProcessId();
  BOOL found = FALSE;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
    found = entry.th32ProcessID != self && _wcsicmp(entry.szExeFile, name) == 0;
  }
  CloseToolhelp32Snapshot(snapshot);
  return found;
}

BOOL OpenUrlInBrowser(const WCHAR* url)
{
  CStringW commandLine = url;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(u"\\Windows\\iexplore.exe", commandLine.GetBuffer(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, nullptr, &info)) {
    return FALSE;
  }
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return TRUE;
}
