#include "file_helpers.h"

#include "kernel/file.h"
#include "kernel/handle.h"

BOOL ReadWholeFile(const WCHAR* path, CStringA& bytes)
{
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return FALSE;
  }
  DWORD size = GetFileSize(file, nullptr);
  BOOL result = FALSE;
  if (size != INVALID_FILE_SIZE) {
    CStringA content;
    DWORD read = 0;
    result = ReadFile(file, content.GetBufferSetLength(static_cast<int>(size)), size, &read, nullptr);
    content.ReleaseBuffer(static_cast<int>(read));
    if (result) {
      bytes = content;
    }
  }
  CloseHandle(file);
  return result;
}
