#include "file_replace.h"

#include "kernel/file.h"
#include "kernel/file_system.h"
#include "scoped_file_handle.h"

namespace {

bool FileExists(const WCHAR* path)
{
  return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

CStringW PendingPath(const WCHAR* path)
{
  return CStringW(path) + u".tmp";
}

// Puts replacement in the place of path; path may be absent.
BOOL ReplaceFileWith(const CStringW& path, const CStringW& replacement)
{
  if (FileExists(path) && !DeleteFileW(path)) {
    return FALSE;
  }
  return MoveFileW(replacement, path);
}

}  // namespace

BOOL WriteFileWhole(const WCHAR* path, const std::function<BOOL(HANDLE file)>& write)
{
  CStringW pending = PendingPath(path);
  BOOL written = FALSE;
  {
    ScopedFileHandle file(CreateFileW(pending, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
      return FALSE;
    }
    written = write(file.Get()) && FlushFileBuffers(file.Get());
  }
  if (written && ReplaceFileWith(path, pending)) {
    return TRUE;
  }
  // A whole temporary file whose old file is already gone is the only copy left: the next read
  // takes it up.
  if (!written || FileExists(path)) {
    DeleteFileW(pending);
  }
  return FALSE;
}

BOOL WriteFileWhole(const WCHAR* path, const CStringA& bytes)
{
  return WriteFileWhole(path, [&bytes](HANDLE file) {
    DWORD written = 0;
    DWORD size = static_cast<DWORD>(bytes.GetLength());
    return WriteFile(file, bytes.GetString(), size, &written, nullptr) && written == size;
  });
}

BOOL KeepFileAside(const WCHAR* path)
{
  if (!FileExists(path)) {
    return TRUE;
  }
  return ReplaceFileWith(CStringW(path) + u".bak", path);
}

BOOL DeleteFileWhole(const WCHAR* path)
{
  CompleteInterruptedWrite(path);
  BOOL deleted = DeleteFileW(path);
  CStringW pending = PendingPath(path);
  if (FileExists(pending)) {
    DeleteFileW(pending);
  }
  return deleted && !FileExists(pending);
}

void CompleteInterruptedWrite(const WCHAR* path)
{
  CStringW pending = PendingPath(path);
  if (!FileExists(path) && FileExists(pending)) {
    MoveFileW(pending, path);
  }
}
