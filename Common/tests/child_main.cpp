// A device program for the common library's tests, told what to do by its command line:
//   wait NAME    waits for the event NAME (at most a minute), then ends
//   anything     writes the command line (UTF-16) to "\Temp\child.txt" and sets the event
//                "ChildDone"
#include "kernel/entry.h"
#include "windows.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int)
{
  CStringW line = commandLine;
  if (line.Left(5) == u"wait ") {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, line.Mid(5));
    DWORD result = WaitForSingleObject(event, 60000);
    CloseHandle(event);
    return result == WAIT_OBJECT_0 ? 0 : 1;
  }
  CreateDirectoryW(u"\\Temp", nullptr);
  HANDLE file = CreateFileW(u"\\Temp\\child.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, line.GetString(), static_cast<DWORD>(line.GetLength()) * sizeof(WCHAR), &written, nullptr);
  CloseHandle(file);
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, u"ChildDone");
  SetEvent(done);
  CloseHandle(done);
  return 0;
}
