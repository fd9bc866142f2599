// The program's log: one plain text file in the temporary folder, named after the program's
// module with ".1.log" appended ("\Temp\\KorvexPortal.exe.1.log"). Each call opens the file,
// appends one line and closes it again; once the file has grown past 8192 bytes it is moved to
// the second-generation name (".2.log"), replacing an older one, and the next line starts a new
// file. Logging never fails visibly: a line that cannot be written is dropped. No lock is held;
// lines written at the same moment by two threads may interleave.
//
// An entry is two lines, written with WRITE_LOG_ENTRY from every part of the program:
//   .\paycrypt.cpp(119): 2024/05/01 09:30:00 80090005
//   the message
// The header names the calling source file and line, the local time and the thread's last
// error code as it was when the entry began. Writing the log leaves the last error as it was.
#pragma once

#include <cstdio>

#include "base/types.h"
#include "text/cstring.h"
#include "text/format.h"

// The longest line written, in characters; a longer text is cut.
inline constexpr int kLogLineLimit = 1023;
// A file larger than this after a write is moved to the second-generation name.
inline constexpr long kLogRotateSize = 8192;
// The log path (folder, executable name and ending) must stay below this length.
inline constexpr int kLogPathLimit = 250;

// Formats one line (the device's printf conventions) and appends it to the log. Always TRUE.
BOOL WriteLogV(const WCHAR* format, kv::FormatArgs args);
template <class... A>
BOOL WriteLog(const WCHAR* format, const A&... args)
{
  return WriteLogV(format, kv::CaptureArgs(args...));
}

// Appends text and a line end at the end of an open log stream. Always TRUE.
BOOL WriteLogLine(FILE* stream, const WCHAR* text);

// The module whose file name names the log: the running program (NULL) unless a library that
// keeps a log of its own, as the gateway service does, names itself once when it is loaded.
void SetLogModule(HMODULE module);

// The log's path from the temporary folder's path (with its trailing backslash) and the
// module's path: the folder, the module path's part from its last backslash on, and ".1.log".
// FALSE when the module path holds no backslash or the folder and name are 250 characters or
// longer.
BOOL MakeLogFilePath(const WCHAR* tempFolder, const WCHAR* modulePath, CStringW& path);

// Writes a two-line entry: the header for source and line, then the message unchanged, or
// formatted when arguments follow it. Use WRITE_LOG_ENTRY, which supplies source and line.
void WriteLogEntryV(const char* source, int line, const WCHAR* message, kv::FormatArgs args);
inline void WriteLogEntry(const char* source, int line, const WCHAR* message)
{
  WriteLogEntryV(source, line, message, {});
}
template <class First, class... Rest>
void WriteLogEntry(const char* source, int line, const WCHAR* format, const First& first, const Rest&... rest)
{
  WriteLogEntryV(source, line, format, kv::CaptureArgs(first, rest...));
}

// The file name part of a source path, as the entry header shows it.
constexpr const char* LogSourceFileName(const char* path)
{
  const char* name = path;
  for (const char* p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\') {
      name = p + 1;
    }
  }
  return name;
}

#define WRITE_LOG_ENTRY(...) WriteLogEntry(LogSourceFileName(__FILE__), __LINE__, __VA_ARGS__)
