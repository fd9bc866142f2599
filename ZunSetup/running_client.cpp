#include "running_client.h"

#include <algorithm>
#include <vector>

#include "setup_paths.h"
#include "windows.h"

namespace zunsetup {
namespace {

struct TopLevelWindow {
  HWND window;
  DWORD process;
};

struct Search {
  DWORD self;
  std::vector<TopLevelWindow> windows;
};

BOOL CollectWindow(HWND window, LPARAM context)
{
  auto* search = reinterpret_cast<Search*>(context);
  DWORD process = 0;
  if (GetWindowThreadProcessId(window, &process) != 0 && process != search->self) {
    search->windows.push_back({window, process});
  }
  return TRUE;
}

// The processes that run the client's program.
std::vector<DWORD> ClientProcesses(DWORD self)
{
  std::vector<DWORD> processes;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPNOHEAPS, 0);
  if (snapshot == INVALID_HANDLE_VALUE || snapshot == nullptr) {
    return processes;
  }
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID != self && _wcsicmp(entry.szExeFile, kProgramFile) == 0) {
      processes.push_back(entry.th32ProcessID);
    }
  }
  CloseToolhelp32Snapshot(snapshot);
  return processes;
}

bool Contains(const std::vector<DWORD>& list, DWORD item)
{
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

BOOL CloseRunningClient(DWORD waitMs)
{
  DWORD self = GetCurrentProcessId();
  std::vector<DWORD> processes = ClientProcesses(self);
  std::vector<DWORD> askedByClientWindow;
  for (HWND window : {FindWindowW(kLoginWindowClass, kLoginWindowTitle), FindWindowW(nullptr, kMainWindowTitle)}) {
    DWORD process = 0;
    if (window != nullptr && GetWindowThreadProcessId(window, &process) != 0 && process != self) {
      PostMessageW(window, WM_COMMAND, kExitCommand, static_cast<LPARAM>(-1));
      askedByClientWindow.push_back(process);
      if (!Contains(processes, process)) {
        processes.push_back(process);
      }
    }
  }
  // A copy without either window (an order-pay copy) is asked through each of its windows.
  Search search = {self, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  for (const TopLevelWindow& found : search.windows) {
    if (Contains(processes, found.process) && !Contains(askedByClientWindow, found.process)) {
      PostMessageW(found.window, WM_COMMAND, kExitCommand, static_cast<LPARAM>(-1));
    }
  }

  BOOL allEnded = TRUE;
  DWORD start = GetTickCount();
  for (DWORD process : processes) {
    HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, process);
    if (handle == nullptr) {
      continue;  // it has ended already
    }
    DWORD spent = GetTickCount() - start;
    DWORD left = spent < waitMs ? waitMs - spent : 0;
    if (WaitForSingleObject(handle, left) != WAIT_OBJECT_0) {
      allEnded = FALSE;
    }
    CloseHandle(handle);
  }
  return allEnded;
}

}  // namespace zunsetup
