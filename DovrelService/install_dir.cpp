#include "install_dir.h"

#include "registry_helpers.h"
#include "text/format.h"
#include "text/widechar.h"

bool ReadInstallDir(WCHAR* buffer, DWORD size)
{
  DWORD read = size;
  if (size < sizeof(WCHAR) || !ReadServiceInstallDir(buffer, read)) {
    return false;
  }
  // A value stored without its terminator is terminated here, if there is room for it.
  DWORD characters = read / sizeof(WCHAR);
  DWORD capacity = size / sizeof(WCHAR);
  if (characters > 0 && buffer[characters - 1] == u'\0') {
    return true;
  }
  if (characters >= capacity) {
    return false;
  }
  buffer[characters] = u'\0';
  return true;
}

bool GetMainProgramPath(WCHAR* buffer)
{
  WCHAR folder[MAX_PATH] = {};
  if (!ReadInstallDir(folder, sizeof folder)) {
    return false;
  }
  return _snwprintf(buffer, MAX_PATH, u"%s\\%s", folder, u"KorvexPortal.exe") >= 0;
}
