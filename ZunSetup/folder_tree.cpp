#include "folder_tree.h"

#include "shell/file_operation.h"
#include "text/widechar.h"

namespace zunsetup {

int DeleteFolderTree(const WCHAR* path)
{
  // The list holds the path and two terminators.
  constexpr size_t kListChars = 260;
  size_t length = path ? wcslen(path) : 0;
  if (length < 2 || path[0] != u'\\' || length + 2 > kListChars) {
    return 0;
  }
  WCHAR list[kListChars] = {};
  wcscpy(list, path);
  SHFILEOPSTRUCT operation = {};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list;
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  return SHFileOperation(&operation) == 0 ? 1 : 0;
}

}  // namespace zunsetup
