#include "registry_helpers.h"

#include "base/errors.h"
#include "registry/registry.h"
#include "text/widechar.h"

namespace {

BOOL SetKeyboardLayout(const WCHAR* layout)
{
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, u"keyboard layout\\preload", 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return FALSE;
  }
  DWORD bytes = static_cast<DWORD>((wcslen(layout) + 1) * sizeof(WCHAR));
  LONG result = RegSetValueExW(key, u"Default", 0, REG_SZ, reinterpret_cast<const BYTE*>(layout), bytes);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

}  // namespace

BOOL ReadServiceInstallDir(WCHAR* buffer, DWORD& size)
{
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"services\\dovrel", 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return FALSE;
  }
  DWORD type = 0;
  LONG result = RegQueryValueExW(key, u"InstDir", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

BOOL SetEnglishKeyboardLayout()
{
  return SetKeyboardLayout(u"e0010409");
}

BOOL SetChineseKeyboardLayout()
{
  return SetKeyboardLayout(u"e0010804");
}
