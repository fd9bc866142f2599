#include "shell/shortcut.h"

#include <string>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/kernel.h"
#include "text/codepage.h"
#include "text/format.h"
#include "text/widechar.h"

BOOL SHCreateShortcut(LPWSTR szShortcut, LPWSTR szTarget)
{
  size_t length = szTarget != nullptr ? wcslen(szTarget) : 0;
  if (szShortcut == nullptr || *szShortcut == 0 || length == 0 || length > MAX_PATH) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  WCHAR text[MAX_PATH + 16];
  int units = swprintf(text, MAX_PATH + 16, u"%d#%s", static_cast<int>(length), szTarget);
  std::string bytes(static_cast<size_t>(units) * 2, '\0');
  int size = WideCharToMultiByte(CP_ACP, 0, text, units, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr);
  if (size <= 0) {
    return FALSE;
  }
  HANDLE file = CreateFileW(szShortcut, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return FALSE;
  }
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(size), &written, nullptr) &&
            written == static_cast<DWORD>(size);
  CloseHandle(file);
  if (!ok) {
    DeleteFileW(szShortcut);
  }
  return ok;
}
