// A device program for the kernel's tests, told what to do by its command line:
//   exit N              ends with exit code N
//   set NAME            sets the existing event NAME; ends with 0, or 1 when NAME did not exist
//   write NAME TEXT     writes TEXT into the existing mapping NAME (the hand-off layout: a
//                       16-byte header, then UTF-16 text) and sets the event NAME; 2 when the
//                       mapping did not exist
//   wait NAME N         waits for the event NAME, then ends with exit code N
//   hold NAME READY     creates the event and mapping NAME, sets the event READY and waits forever
//   cmdline             writes its command line to "\Temp\cmdline.txt"
//   threadend           runs a thread whose thread-exit handler, slow on purpose, writes
//                       "\Temp\thread_end.txt" after the thread's routine has ended; waits for
//                       the thread and ends with 0
#include "kernel/entry.h"
#include "windows.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<std::u16string> Words(const WCHAR* text)
{
  std::vector<std::u16string> words;
  std::u16string word;
  for (const WCHAR* c = text;; ++c) {
    if (*c == u' ' || *c == 0) {
      if (!word.empty()) {
        words.push_back(word);
      }
      word.clear();
      if (*c == 0) {
        return words;
      }
    } else {
      word += *c;
    }
  }
}

int SetExisting(const std::u16string& name)
{
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  SetEvent(event);
  CloseHandle(event);
  return existed ? 0 : 1;
}

int Write(const std::u16string& name, const std::u16string& text)
{
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, name.c_str());
  if (!mapping || GetLastError() != ERROR_ALREADY_EXISTS) {
    return 2;
  }
  auto* view = static_cast<BYTE*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  DWORD header[4] = {0, 0, 16, static_cast<DWORD>(text.size() * 2)};
  memcpy(view, header, sizeof header);
  memcpy(view + 16, text.data(), text.size() * 2);
  UnmapViewOfFile(view);
  CloseHandle(mapping);
  return SetExisting(name);
}

void WriteText(const char16_t* path, const std::u16string& text)
{
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * 2), &written, nullptr);
  CloseHandle(file);
}

// A thread's per-thread state that takes its time to go, as a library's may.
struct SlowThreadState {
  ~SlowThreadState()
  {
    Sleep(200);
    WriteText(u"\\Temp\\thread_end.txt", u"freed");
  }
};

DWORD WINAPI WithSlowThreadState(LPVOID)
{
  thread_local SlowThreadState state;
  (void)state;
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR lpCmdLine, int)
{
  std::vector<std::u16string> words = Words(lpCmdLine);
  const std::u16string command = words.empty() ? u"" : words[0];
  if (command == u"exit" && words.size() == 2) {
    return _wtoi(words[1].c_str());
  }
  if (command == u"set" && words.size() == 2) {
    return SetExisting(words[1]);
  }
  if (command == u"write" && words.size() == 3) {
    return Write(words[1], words[2]);
  }
  if (command == u"wait" && words.size() == 3) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, words[1].c_str());
    WaitForSingleObject(event, INFINITE);
    return _wtoi(words[2].c_str());
  }
  if (command == u"hold" && words.size() == 3) {
    CreateEventW(nullptr, TRUE, TRUE, words[1].c_str());
    CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, (words[1] + u".map").c_str());
    SetExisting(words[2]);
    Sleep(INFINITE);
  }
  if (command == u"cmdline") {
    WriteText(u"\\Temp\\cmdline.txt", lpCmdLine);
    return 0;
  }
  if (command == u"threadend") {
    HANDLE thread = CreateThread(nullptr, 0, WithSlowThreadState, nullptr, 0, nullptr);
    WaitForSingleObject(thread, INFINITE);  // signalled once the routine has ended
    CloseHandle(thread);
    return 0;
  }
  return 100;
}
