#include "temp_image.h"

#include "kernel/kernel.h"
#include "shell/image_files.h"
#include "text/cstring.h"

HBITMAP SaveTempImageFile(const BYTE* bytes, DWORD length, const WCHAR* fileName)
{
  if (!bytes || !fileName)
    return nullptr;
  WCHAR folder[MAX_PATH] = {};
  DWORD folderLength = GetTempPathW(MAX_PATH, folder);
  if (folderLength == 0 || folderLength >= MAX_PATH)
    return nullptr;
  CStringW path(folder);
  path += fileName;
  HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return nullptr;
  DWORD written = 0;
  BOOL complete = WriteFile(file, bytes, length, &written, nullptr) && written == length;
  CloseHandle(file);
  // A file cut short would show a part of a picture as the whole.
  if (!complete)
    return nullptr;
  return SHLoadImageFile(path);
}
