#include "services/service_registry.h"

#include <algorithm>

#include "base/errors.h"
#include "registry/registry.h"

namespace services {
namespace {

constexpr char16_t kServices[] = u"Services\\";

LONG SetText(HKEY key, const char16_t* name, const std::u16string& value)
{
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
}

LONG SetNumber(HKEY key, const char16_t* name, DWORD value)
{
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// A text value; empty when missing or not text.
std::u16string Text(HKEY key, const char16_t* name)
{
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ)
    return u"";
  std::u16string text(size / sizeof(char16_t), u'\0');
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS)
    return u"";
  text.resize(std::min(text.size(), text.find(u'\0')));
  return text;
}

DWORD Number(HKEY key, const char16_t* name, DWORD missing)
{
  DWORD type = 0, value = 0, size = sizeof value;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return missing;
  return value;
}

}  // namespace

std::u16string ServiceKeyPath(std::u16string_view name)
{
  return kServices + std::u16string(name);
}

std::u16string ServiceEntry::InstanceName() const
{
  std::u16string index;
  for (DWORD n = this->index;; n /= 10) {
    index.insert(index.begin(), static_cast<char16_t>(u'0' + n % 10));
    if (n < 10)
      break;
  }
  return prefix + index + u":";
}

LONG WriteServiceEntry(const ServiceEntry& entry)
{
  std::u16string path = ServiceKeyPath(entry.name);
  LONG result = RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
  if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
    return result;
  HKEY key = nullptr;
  result = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (result != ERROR_SUCCESS)
    return result;
  LONG results[] = {
      SetText(key, u"Dll", entry.dll),
      SetText(key, u"Prefix", entry.prefix),
      SetNumber(key, u"Index", entry.index),
      SetNumber(key, u"Context", entry.context),
      SetNumber(key, u"Keep", entry.keep),
      entry.instDir.empty() ? ERROR_SUCCESS : SetText(key, u"InstDir", entry.instDir),
      entry.port == 0 ? ERROR_SUCCESS : SetNumber(key, u"Port", entry.port),
  };
  RegCloseKey(key);
  for (LONG each : results)
    if (each != ERROR_SUCCESS)
      return each;
  return ERROR_SUCCESS;
}

std::optional<ServiceEntry> ReadServiceEntry(std::u16string_view name, LONG* error)
{
  std::u16string path = ServiceKeyPath(name);
  HKEY key = nullptr;
  LONG opened = name.empty() ? ERROR_FILE_NOT_FOUND
                             : RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key);
  if (opened != ERROR_SUCCESS) {
    *error = opened == ERROR_FILE_NOT_FOUND ? ERROR_SERVICE_DOES_NOT_EXIST : opened;
    return std::nullopt;
  }
  ServiceEntry entry;
  entry.name = name;
  entry.dll = Text(key, u"Dll");
  entry.prefix = Text(key, u"Prefix");
  entry.index = Number(key, u"Index", 0);
  entry.context = Number(key, u"Context", 0);
  entry.keep = Number(key, u"Keep", 1);
  entry.instDir = Text(key, u"InstDir");
  DWORD port = Number(key, u"Port", 0);
  RegCloseKey(key);
  if (entry.dll.empty() || entry.prefix.size() != 3 || port > 0xFFFF) {
    *error = ERROR_BADDB;
    return std::nullopt;
  }
  entry.port = static_cast<USHORT>(port);
  *error = ERROR_SUCCESS;
  return entry;
}

}  // namespace services
