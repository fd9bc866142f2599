#include "install_record.h"

#include <algorithm>

#include "base/errors.h"
#include "device_store.h"
#include "registry/registry.h"
#include "registry_changes.h"
#include "registry_tree.h"

namespace install {
namespace {

constexpr char16_t kRecords[] = u"Software\\Packages\\";

// The value's data as text (UTF-16 units, terminators included); false when it is missing.
bool Data(const registry::Key& key, const char16_t* name, DWORD wanted, std::u16string& data, LONG* error)
{
  const registry::Value* value = key.FindValue(name);
  if (!value)
    return false;
  if (value->type != wanted || value->data.size() % sizeof(char16_t) != 0)
    *error = ERROR_BADDB;
  else
    data.assign(reinterpret_cast<const char16_t*>(value->data.data()), value->data.size() / sizeof(char16_t));
  return true;
}

// A text value without its terminator; empty when missing.
void ReadText(const registry::Key& key, const char16_t* name, std::u16string& text, LONG* error)
{
  if (Data(key, name, REG_SZ, text, error))
    text.resize(std::min(text.size(), text.find(u'\0')));
}

// The texts of a list value (each NUL-terminated, the list ended by a second NUL); empty when
// missing.
void ReadList(const registry::Key& key, const char16_t* name, std::vector<std::u16string>& list, LONG* error)
{
  std::u16string data;
  if (!Data(key, name, REG_MULTI_SZ, data, error))
    return;
  for (size_t start = 0; start < data.size();) {
    size_t end = data.find(u'\0', start);
    if (end == start || end == std::u16string::npos)
      break;
    list.push_back(data.substr(start, end - start));
    start = end + 1;
  }
}

InstallRecord RecordOf(const registry::Key& key, LONG* error)
{
  InstallRecord record;
  ReadText(key, u"Folder", record.folder, error);
  ReadText(key, u"Setup", record.setup, error);
  ReadList(key, u"Files", record.files, error);
  ReadList(key, u"Folders", record.folders, error);
  ReadList(key, u"Keys", record.keys, error);
  ReadList(key, u"Values", record.values, error);
  return record;
}

LONG Write(HKEY key, const char16_t* name, DWORD type, const std::u16string& data)
{
  return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(char16_t)));
}

LONG WriteList(HKEY key, const char16_t* name, const std::vector<std::u16string>& list)
{
  std::u16string data;
  for (const std::u16string& text : list)
    data += text + u'\0';
  return Write(key, name, REG_MULTI_SZ, data);  // the terminator written ends the list
}

}  // namespace

std::u16string InstallRecordKey(std::u16string_view name)
{
  return u"HKEY_LOCAL_MACHINE\\" + (kRecords + std::u16string(name));
}

std::optional<InstallRecord> FindInstallRecord(const registry::Tree& tree, std::u16string_view name, LONG* error)
{
  *error = ERROR_SUCCESS;
  const registry::Key* key = tree.Find(SplitKey(InstallRecordKey(name)));
  if (!key) {
    *error = ERROR_FILE_NOT_FOUND;
    return std::nullopt;
  }
  InstallRecord record = RecordOf(*key, error);
  if (*error != ERROR_SUCCESS)
    return std::nullopt;
  return record;
}

std::optional<InstallRecord> ReadInstallRecord(std::u16string_view name, LONG* error)
{
  std::optional<InstallRecord> record;
  LONG read = registry::DeviceStore().Read([&](const registry::Tree& tree) {
    record = FindInstallRecord(tree, name, error);
    return ERROR_SUCCESS;
  });
  if (read != ERROR_SUCCESS)
    *error = read;
  return read == ERROR_SUCCESS ? record : std::nullopt;
}

LONG FindInstalledPackages(const registry::Tree& tree, std::u16string_view except, std::vector<InstalledPackage>& out,
                           std::u16string* bad)
{
  const registry::Key* records = tree.Find(SplitKey(kInstallRecordsKey));
  if (!records)
    return ERROR_SUCCESS;
  for (const auto& key : records->Subkeys()) {
    if (registry::NamesEqual(key->Name(), except))
      continue;
    LONG error = ERROR_SUCCESS;
    InstallRecord record = RecordOf(*key, &error);
    if (error != ERROR_SUCCESS) {
      *bad = key->Name();
      return error;
    }
    out.push_back({key->Name(), std::move(record)});
  }
  return ERROR_SUCCESS;
}

LONG WriteInstallRecord(std::u16string_view name, const InstallRecord& record)
{
  std::u16string path = kRecords + std::u16string(name);
  LONG error = RegDeleteKeyW(HKEY_LOCAL_MACHINE, path.c_str());
  if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
    return error;
  HKEY key = nullptr;
  error = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  if (error != ERROR_SUCCESS)
    return error;
  LONG results[] = {
      Write(key, u"Folder", REG_SZ, record.folder),
      record.setup.empty() ? ERROR_SUCCESS : Write(key, u"Setup", REG_SZ, record.setup),
      WriteList(key, u"Files", record.files),
      WriteList(key, u"Folders", record.folders),
      WriteList(key, u"Keys", record.keys),
      WriteList(key, u"Values", record.values),
  };
  RegCloseKey(key);
  for (LONG result : results)
    if (result != ERROR_SUCCESS)
      return result;
  return ERROR_SUCCESS;
}

}  // namespace install
