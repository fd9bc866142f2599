#include "kernel/toolhelp.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/handle_table.h"
#include "process_list.h"

#include <algorithm>
#include <vector>

namespace kernel {
namespace {

class Snapshot : public Object {
 public:
  std::vector<PROCESSENTRY32W> processes;
  size_t next = 0;
};

BOOL NextProcess(HANDLE snapshot, LPPROCESSENTRY32W entry, bool first)
{
  auto processes = LookupHandleAs<Snapshot>(snapshot);
  if (!processes) {
    return FALSE;
  }
  if (!entry || entry->dwSize != sizeof(PROCESSENTRY32W)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (first) {
    processes->next = 0;
  }
  if (processes->next >= processes->processes.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *entry = processes->processes[processes->next++];
  return TRUE;
}

}  // namespace
}  // namespace kernel

HANDLE CreateToolhelp32Snapshot(DWORD dwFlags, DWORD)
{
  auto snapshot = std::make_shared<kernel::Snapshot>();
  if (dwFlags & TH32CS_SNAPPROCESS) {
    for (const device::ListedProcess& process : device::ListProcesses()) {
      PROCESSENTRY32W entry{};
      entry.dwSize = sizeof entry;
      entry.cntUsage = 1;
      entry.th32ProcessID = process.id;
      entry.cntThreads = 1;
      std::u16string_view name(process.devicePath);
      name = name.substr(name.rfind(u'\\') + 1).substr(0, MAX_PATH - 1);
      std::copy(name.begin(), name.end(), entry.szExeFile);
      snapshot->processes.push_back(entry);
    }
  }
  HANDLE handle = kernel::InsertHandle(snapshot);
  return handle ? handle : INVALID_HANDLE_VALUE;
}

BOOL GetProcessCommandLineW(DWORD dwProcessId, LPWSTR lpBuffer, LPDWORD lpcchSize)
{
  if (!lpcchSize) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  for (const device::ListedProcess& process : device::ListProcesses()) {
    if (process.id != dwProcessId) {
      continue;
    }
    DWORD needed = static_cast<DWORD>(process.commandLine.size() + 1);
    bool fits = lpBuffer && *lpcchSize >= needed;
    *lpcchSize = needed;
    if (!fits) {
      SetLastError(ERROR_INSUFFICIENT_BUFFER);
      return FALSE;
    }
    std::copy(process.commandLine.begin(), process.commandLine.end(), lpBuffer);
    lpBuffer[needed - 1] = 0;
    return TRUE;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

BOOL Process32FirstW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe)
{
  return kernel::NextProcess(hSnapshot, lppe, true);
}

BOOL Process32NextW(HANDLE hSnapshot, LPPROCESSENTRY32W lppe)
{
  return kernel::NextProcess(hSnapshot, lppe, false);
}

BOOL CloseToolhelp32Snapshot(HANDLE hSnapshot)
{
  if (!kernel::LookupHandleAs<kernel::Snapshot>(hSnapshot)) {
    return FALSE;
  }
  return CloseHandle(hSnapshot);
}
