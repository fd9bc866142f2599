#include "shell/special_folders.h"

#include <string>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/kernel.h"
#include "text/widechar.h"

namespace {

const WCHAR* FolderPath(int folder)
{
  switch (folder) {
    case CSIDL_PROGRAMS: return u"\\Windows\\Start Menu\\Programs";
    case CSIDL_STARTMENU: return u"\\Windows\\Start Menu";
    default: return nullptr;
  }
}

bool IsFolder(const WCHAR* path)
{
  DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Makes each missing folder of the path, from the root down.
bool MakeFolders(const std::u16string& path)
{
  for (size_t slash = path.find(u'\\', 1);; slash = path.find(u'\\', slash + 1)) {
    std::u16string part = path.substr(0, slash);
    if (!IsFolder(part.c_str()) && !CreateDirectoryW(part.c_str(), nullptr) && !IsFolder(part.c_str())) {
      return false;
    }
    if (slash == std::u16string::npos) {
      return true;
    }
  }
}

}  // namespace

BOOL SHGetSpecialFolderPath(HWND, LPWSTR lpszPath, int nFolder, BOOL fCreate)
{
  const WCHAR* path = FolderPath(nFolder);
  if (path == nullptr || lpszPath == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (fCreate ? !MakeFolders(path) : !IsFolder(path)) {
    if (!fCreate) {
      SetLastError(ERROR_PATH_NOT_FOUND);
    }
    return FALSE;
  }
  wcsncpy(lpszPath, path, MAX_PATH - 1);
  lpszPath[MAX_PATH - 1] = 0;
  return TRUE;
}
