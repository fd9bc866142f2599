#include "package_registry.h"

#include <algorithm>

#include "base/errors.h"
#include "file_changes.h"
#include "kernel/kernel.h"
#include "log_text.h"
#include "package_place.h"
#include "registry/registry.h"

namespace install {
namespace {

bool Contains(const std::vector<std::u16string>& list, std::u16string_view item)
{
  return std::any_of(list.begin(), list.end(), [&](const std::u16string& each) { return device::SameName(each, item); });
}

void AddOnce(std::vector<std::u16string>& list, const std::u16string& item)
{
  if (!Contains(list, item))
    list.push_back(item);
}

// The key an installation makes on the way to a value's key, which the package's removal takes
// whole: the outermost that was missing, but never one that holds the installer's records;
// empty when it makes none.
std::u16string KeyMadeFor(const RegistrySnapshot& before, const std::u16string& key)
{
  std::u16string made = before.OutermostMissing(key);
  while (!made.empty() && IsWithin(kInstallRecordsKey, made))
    made = made.size() == key.size() ? u"" : key.substr(0, key.find(u'\\', made.size() + 1));
  return made;
}

LONG WriteValue(const PlannedValue& value)
{
  size_t hiveEnd = value.key.find(u'\\');
  HKEY hive = value.key.substr(0, hiveEnd) == u"HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  HKEY key = nullptr;
  LONG error = RegCreateKeyExW(hive, value.key.substr(hiveEnd + 1).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                               &key, nullptr);
  if (error != ERROR_SUCCESS)
    return error;
  error = RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
  RegCloseKey(key);
  return error;
}

}  // namespace

InstallRecord RecordOf(const PackagePlan& plan, const std::vector<std::u16string>& madeFolders,
                       const RegistrySnapshot& before, const std::optional<InstallRecord>& previous)
{
  InstallRecord record;
  record.folder = plan.folder;
  record.setup = plan.setup;
  for (const PlannedFile& file : plan.files)
    record.files.push_back(file.path);
  record.folders = madeFolders;
  for (const services::ServiceEntry& service : plan.services)
    AddOnce(record.keys, ServiceKey(service));
  for (const PlannedValue& value : plan.values) {
    record.values.push_back(value.key + u"\\" + value.name);
    if (std::u16string made = KeyMadeFor(before, value.key); !made.empty())
      AddOnce(record.keys, made);
  }
  if (previous) {
    for (const std::u16string& folder : previous->folders)
      AddOnce(record.folders, folder);
    for (const std::u16string& key : previous->keys)
      if (std::any_of(plan.values.begin(), plan.values.end(),
                      [&](const PlannedValue& value) { return IsWithin(value.key, key); }))
        AddOnce(record.keys, key);
  }
  return record;
}

std::vector<std::u16string> KeysChanged(const PackagePlan& plan, const RegistrySnapshot& before)
{
  std::vector<std::u16string> keys{InstallRecordKey(plan.name)};
  for (const services::ServiceEntry& service : plan.services)
    AddOnce(keys, ServiceKey(service));
  for (const PlannedValue& value : plan.values) {
    std::u16string made = before.OutermostMissing(value.key);
    AddOnce(keys, made.empty() ? value.key : made);
  }
  return keys;
}

std::string WriteRegistry(const PackagePlan& plan, const InstallRecord& record)
{
  for (const PlannedValue& value : plan.values)
    if (LONG error = WriteValue(value))
      return "cannot set the registry value " + Host(value.key) + "\\" + Host(value.name) + ErrorText(error);
  for (const services::ServiceEntry& service : plan.services)
    if (LONG error = services::WriteServiceEntry(service))
      return "cannot register the service " + Host(service.name) + ErrorText(error);
  if (LONG error = WriteInstallRecord(plan.name, record))
    return "cannot record the installation" + ErrorText(error);
  return "";
}

void RemoveLeftovers(const InstallRecord& previous, const InstallRecord& record)
{
  for (const std::u16string& file : previous.files)
    if (!Contains(record.files, file))
      DeleteFileW(file.c_str());
  std::vector<std::u16string> keys, values;
  for (const std::u16string& key : previous.keys)
    if (!Contains(record.keys, key))
      keys.push_back(key);
  for (const std::u16string& value : previous.values)
    if (!Contains(record.values, value))
      values.push_back(value);
  RemoveFromRegistry(keys, values);
  RemoveEmptyFolders(previous.folders);
}

}  // namespace install
