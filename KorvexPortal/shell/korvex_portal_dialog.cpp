#include "korvex_portal_dialog.h"

#include <vector>

#include "kernel/module.h"
#include "kernel/process.h"
#include "kernel/toolhelp.h"
#include "log_writer.h"
#include "text/widechar.h"

namespace {

// The main window's title, by which a running client is found.
constexpr const WCHAR* kMainWindowTitle = u"KorvexPortal";

// Whether the process was started in order-pay mode. A process whose command line cannot be read
// has ended meanwhile and does not count either.
bool IsOrderPayProcess(DWORD processId)
{
  DWORD size = 0;
  GetProcessCommandLineW(processId, nullptr, &size);
  if (size == 0)
    return true;
  std::vector<WCHAR> line(size);
  if (!GetProcessCommandLineW(processId, line.data(), &size))
    return true;
  return IsOrderPayCommandLine(CStringW(line.data()));
}

}  // namespace

bool IsOrderPayCommandLine(const CStringW& commandLine)
{
  return commandLine.Find(kOrderPayMarker) >= 0;
}

bool FindOtherClientProcess()
{
  WCHAR path[MAX_PATH + 1] = {};
  if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0)
    return false;
  const WCHAR* slash = wcsrchr(path, u'\\');
  const WCHAR* name = slash ? slash + 1 : path;

  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPNOHEAPS, 0);
  if (snapshot == INVALID_HANDLE_VALUE || !snapshot)
    return false;
  DWORD self = GetCurrentProcessId();
  bool found = false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
    found = entry.th32ProcessID != self && _wcsicmp(entry.szExeFile, name) == 0 &&
            !IsOrderPayProcess(entry.th32ProcessID);
  }
  CloseToolhelp32Snapshot(snapshot);
  return found;
}

int CKorvexPortalDialog::ActivatePreviousInstance(HINSTANCE, const CStringW& commandLine)
{
  bool process = FindOtherClientProcess();
  HWND window = FindWindowW(nullptr, kMainWindowTitle);
  if (!process && !window) {
    WRITE_LOG_ENTRY(u"Another Instance Do Not Exists.");
    return 0;
  }
  if (window && !commandLine.IsEmpty()) {
    COPYDATASTRUCT data{0, static_cast<DWORD>((commandLine.GetLength() + 1) * sizeof(WCHAR)),
                        const_cast<WCHAR*>(commandLine.GetString())};
    ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  }
  if (window)
    ::SetForegroundWindow(window);
  return 1;
}
