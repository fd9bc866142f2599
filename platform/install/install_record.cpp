#include "install_record.h"

#include <algorithm>

#include "base/errors.h"
#include "registry/registry.h"

namespace install {
namespace {

constexpr char16_t kRecords[] = u"Software\\Packages\\";

LONG Query(HKEY key, const char16_t* name, DWORD wanted, std::u16string& data)
{
  DWORD type = 0, size = 0;
  LONG error = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
  if (error != ERROR_SUCCESS)
    return error;
  if (type != wanted)
    return ERROR_BADDB;
  data.assign(size / sizeof(char16_t), u'\0');
  return RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
}

// A text value without its terminator; empty when missing.
LONG ReadText(HKEY key, const char16_t* name, std::u16string& text)
{
  LONG error = Query(key, name, REG_SZ, text);
  if (error == ERROR_FILE_NOT_FOUND) {
    text.clear();
    return ERROR_SUCCESS;
  }
  text.resize(std::min(text.size(), text.find(u'\0')));
  return error;
}

// The texts of a list value (each NUL-terminated, the list ended by a second NUL); empty when
// missing.
LONG ReadList(HKEY key, const char16_t* name, std::vector<std::u16string>& list)
{
  std::u16string data;
  LONG error = Query(key, name, REG_MULTI_SZ, data);
  list.clear();
  if (error == ERROR_FILE_NOT_FOUND)
    return ERROR_SUCCESS;
  for (size_t start = 0; start < data.size();) {
    size_t end = data.find(u'\0', start);
    if (end == start || end == std::u16string::npos)
      break;
    list.push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return error;
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

std::optional<InstallRecord> ReadInstallRecord(std::u16string_view name, LONG* error)
{
  HKEY key = nullptr;
  *error = RegOpenKeyExW(HKEY_LOCAL_MACHINE, (kRecords + std::u16string(name)).c_str(), 0, KEY_READ, &key);
  if (*error != ERROR_SUCCESS)
    return std::nullopt;
  InstallRecord record;
  LONG results[] = {
      ReadText(key, u"Folder", record.folder),   ReadText(key, u"Setup", record.setup),
      ReadList(key, u"Files", record.files),     ReadList(key, u"Folders", record.folders),
      ReadList(key, u"Keys", record.keys),       ReadList(key, u"Values", record.values),
  };
  RegCloseKey(key);
  for (LONG result : results)
    if (result != ERROR_SUCCESS) {
      *error = result;
      return std::nullopt;
    }
  return record;
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
