#include "apn_store.h"

#include "base/errors.h"
#include "registry/registry.h"
#include "text/widechar.h"

namespace {

constexpr const WCHAR* kDestinationValue = u"DestNetGUID";
constexpr const WCHAR* kApnValue = u"DestNetAPN";
constexpr const WCHAR* kDescriptionValue = u"DestNetAPNDescription";
constexpr const WCHAR* kResetValue = u"ResetConnection";

bool ReadValue(HKEY key, const WCHAR* name, void* data, DWORD size)
{
  DWORD length = size;
  return RegQueryValueExW(key, name, nullptr, nullptr, static_cast<BYTE*>(data), &length) == ERROR_SUCCESS;
}

LONG WriteText(HKEY key, const WCHAR* name, const WCHAR* text)
{
  DWORD size = static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR));
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size);
}

}  // namespace

BOOL ReadApnSettings(ApnEntry& entry)
{
  entry = ApnEntry{};
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApnRegistryKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return FALSE;
  }
  bool read = ReadValue(key, kDestinationValue, &entry.destination, sizeof entry.destination) &&
              ReadValue(key, kApnValue, entry.apn, sizeof entry.apn) &&
              ReadValue(key, kDescriptionValue, entry.description, sizeof entry.description);
  RegCloseKey(key);
  // A stored text that fills its room has no terminator of its own.
  entry.apn[19] = 0;
  entry.description[31] = 0;
  if (!read) {
    entry = ApnEntry{};
  }
  return read ? TRUE : FALSE;
}

LONG SaveApnSettings(const ApnEntry& entry)
{
  HKEY key = nullptr;
  LONG result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kApnRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS) {
    return result;
  }
  result = RegSetValueExW(key, kDestinationValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&entry.destination),
                          sizeof entry.destination);
  if (result == ERROR_SUCCESS) {
    result = WriteText(key, kApnValue, entry.apn);
  }
  if (result == ERROR_SUCCESS) {
    result = WriteText(key, kDescriptionValue, entry.description);
  }
  LONG closed = RegCloseKey(key);
  return result != ERROR_SUCCESS ? result : closed;
}

LONG DeleteApnSettings()
{
  return RegDeleteKeyW(HKEY_LOCAL_MACHINE, kApnRegistryKey);
}

void SetResetConnectionFlag()
{
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kApnRegistryKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  DWORD one = 1;
  RegSetValueExW(key, kResetValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegCloseKey(key);
}

BOOL TakeResetConnectionFlag()
{
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kApnRegistryKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
    return FALSE;
  }
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  bool set = RegQueryValueExW(key, kResetValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                 ERROR_SUCCESS &&
             type == REG_DWORD && value == 1;
  if (set) {
    DWORD zero = 0;
    RegSetValueExW(key, kResetValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
  }
  RegCloseKey(key);
  return set ? TRUE : FALSE;
}
