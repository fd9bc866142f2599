#include "log_writer.h"

#include <atomic>

#include "base/lasterror.h"
#include "kernel/file_system.h"
#include "kernel/module.h"
#include "kernel/time.h"
#include "kernel/wide_stdio.h"
#include "text/widechar.h"

namespace {

std::atomic<HMODULE> g_logModule{nullptr};

// Keeps the thread's last error across the log's own calls.
class LastErrorKeeper {
 public:
  LastErrorKeeper() : error_(GetLastError()) {}
  ~LastErrorKeeper() { SetLastError(error_); }
  LastErrorKeeper(const LastErrorKeeper&) = delete;
  LastErrorKeeper& operator=(const LastErrorKeeper&) = delete;
  DWORD error() const { return error_; }

 private:
  DWORD error_;
};

BOOL CurrentLogFilePath(CStringW& path)
{
  WCHAR modulePath[MAX_PATH + 1] = {};
  if (GetModuleFileNameW(g_logModule.load(), modulePath, MAX_PATH) == 0) {
    return FALSE;
  }
  WCHAR tempFolder[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH, tempFolder);
  if (length == 0 || length >= MAX_PATH) {
    return FALSE;
  }
  return MakeLogFilePath(tempFolder, modulePath, path);
}

// Moves the log to the second-generation name: the last "1" of the path (that of ".1.log")
// becomes "2". A failure leaves the large file, to be tried again after the next line.
void RotateLog(const CStringW& path)
{
  CStringW older = path;
  int digit = older.ReverseFind(u'1');
  if (digit < 0) {
    return;
  }
  older.SetAt(digit, u'2');
  DeleteFileW(older);
  MoveFileW(path, older);
}

}  // namespace

void SetLogModule(HMODULE module)
{
  g_logModule.store(module);
}

BOOL MakeLogFilePath(const WCHAR* tempFolder, const WCHAR* modulePath, CStringW& path)
{
  const WCHAR* name = wcsrchr(modulePath, u'\\');
  if (name == nullptr) {
    return FALSE;
  }
  size_t folderLength = wcslen(tempFolder);
  size_t nameLength = wcslen(name);
  if (folderLength + nameLength >= static_cast<size_t>(kLogPathLimit)) {
    return FALSE;
  }
  path = tempFolder;
  path += name;
  path += u".1.log";
  return TRUE;
}

BOOL WriteLogV(const WCHAR* format, kv::FormatArgs args)
{
  LastErrorKeeper keeper;
  WCHAR text[kLogLineLimit + 1] = {};
  _vsnwprintf(text, kLogLineLimit + 1, format, args);

  CStringW path;
  if (!CurrentLogFilePath(path)) {
    return TRUE;
  }
  FILE* file = _wfopen(path, u"a+t");
  if (file == nullptr) {
    return TRUE;
  }
  WriteLogLine(file, text);
  long size = ftell(file);
  fclose(file);
  if (size > kLogRotateSize) {
    RotateLog(path);
  }
  return TRUE;
}

BOOL WriteLogLine(FILE* stream, const WCHAR* text)
{
  fseek(stream, 0, SEEK_END);
  fwprintf(stream, u"%s\n", text);
  return TRUE;
}

void WriteLogEntryV(const char* source, int line, const WCHAR* message, kv::FormatArgs args)
{
  LastErrorKeeper keeper;
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  WriteLog(u".\\%s(%d): %04d/%02d/%02d %02d:%02d:%02d %08x", source, line, now.wYear, now.wMonth, now.wDay,
           now.wHour, now.wMinute, now.wSecond, keeper.error());
  if (args.empty()) {
    WriteLog(u"%s", message != nullptr ? message : u"");
  } else {
    WriteLogV(message, args);
  }
}
