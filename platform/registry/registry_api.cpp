// The registry calls: resolve the key handle to a path, then read or change the device's
// registry through its store.
#include <cstring>

#include "base/errors.h"
#include "device_store.h"
#include "key_handles.h"
#include "registry/keys.h"
#include "registry/values.h"

using registry::DeviceStore;
using registry::Key;
using registry::KeyPath;
using registry::Tree;

namespace {

std::u16string_view TextOf(LPCWSTR text) {
  return text != nullptr ? std::u16string_view(text) : std::u16string_view();
}

// The path of a predefined or open key.
bool PathOfKey(HKEY key, KeyPath& path) {
  if (key == HKEY_LOCAL_MACHINE) {
    path = {std::u16string(registry::kLocalMachine)};
    return true;
  }
  if (key == HKEY_CURRENT_USER) {
    path = {std::u16string(registry::kCurrentUser)};
    return true;
  }
  return registry::FindKeyHandle(key, path);
}

bool IsPredefined(HKEY key) { return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER; }

// Splits a sub-key path into names. One leading and one trailing backslash are allowed.
LONG ParseSubkey(LPCWSTR subkey, KeyPath& names) {
  names.clear();
  std::u16string_view text = TextOf(subkey);
  if (text.starts_with(u'\\')) text.remove_prefix(1);
  if (text.ends_with(u'\\')) text.remove_suffix(1);
  if (text.empty()) return ERROR_SUCCESS;
  for (;;) {
    const size_t end = text.find(u'\\');
    const std::u16string_view name = text.substr(0, end);
    if (!registry::IsValidKeyName(name)) return ERROR_INVALID_PARAMETER;
    names.emplace_back(name);
    if (end == std::u16string_view::npos) return ERROR_SUCCESS;
    text.remove_prefix(end + 1);
  }
}

// The key a handle names within the tree; ERROR_KEY_DELETED when an open key is gone.
LONG FindKey(const Tree& tree, const KeyPath& path, const Key*& key) {
  key = tree.Find(path);
  return key != nullptr ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

// The path of hKey's sub-key, resolved on the handle.
LONG ResolveSubkey(HKEY hKey, LPCWSTR lpSubKey, KeyPath& base, KeyPath& names) {
  if (!PathOfKey(hKey, base)) return ERROR_INVALID_HANDLE;
  return ParseSubkey(lpSubKey, names);
}

LONG ReturnNewHandle(KeyPath path, PHKEY phkResult) {
  const HKEY handle = registry::AddKeyHandle(std::move(path));
  if (handle == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
  *phkResult = handle;
  return ERROR_SUCCESS;
}

}  // namespace

LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*Reserved*/, LPWSTR /*lpClass*/, DWORD /*dwOptions*/,
                     REGSAM /*samDesired*/, LPSECURITY_ATTRIBUTES /*lpSecurityAttributes*/, PHKEY phkResult,
                     LPDWORD lpdwDisposition) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  KeyPath path, names;
  LONG result = ResolveSubkey(hKey, lpSubKey, path, names);
  if (result != ERROR_SUCCESS) return result;

  DWORD disposition = REG_OPENED_EXISTING_KEY;
  result = DeviceStore().Write([&](Tree& tree, bool& changed) -> LONG {
    Key* key = tree.Find(path);
    if (key == nullptr) return ERROR_KEY_DELETED;
    for (const std::u16string& name : names) {
      Key* next = key->FindSubkey(name);
      if (next == nullptr) {
        next = &key->AddSubkey(name);
        disposition = REG_CREATED_NEW_KEY;
        changed = true;
      }
      path.push_back(next->Name());
      key = next;
    }
    return ERROR_SUCCESS;
  });
  if (result != ERROR_SUCCESS) return result;
  if (lpdwDisposition != nullptr) *lpdwDisposition = disposition;
  return ReturnNewHandle(std::move(path), phkResult);
}

LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD /*ulOptions*/, REGSAM /*samDesired*/, PHKEY phkResult) {
  if (phkResult == nullptr) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  KeyPath path, names;
  LONG result = ResolveSubkey(hKey, lpSubKey, path, names);
  if (result == ERROR_INVALID_PARAMETER) return ERROR_FILE_NOT_FOUND;  // no key has such a name
  if (result != ERROR_SUCCESS) return result;

  result = DeviceStore().Read([&](const Tree& tree) -> LONG {
    const Key* key;
    LONG found = FindKey(tree, path, key);
    if (found != ERROR_SUCCESS) return found;
    for (const std::u16string& name : names) {
      key = key->FindSubkey(name);
      if (key == nullptr) return ERROR_FILE_NOT_FOUND;
      path.push_back(key->Name());
    }
    return ERROR_SUCCESS;
  });
  if (result != ERROR_SUCCESS) return result;
  return ReturnNewHandle(std::move(path), phkResult);
}

LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  KeyPath path, names;
  LONG result = ResolveSubkey(hKey, lpSubKey, path, names);
  if (result == ERROR_INVALID_PARAMETER) return ERROR_FILE_NOT_FOUND;
  if (result != ERROR_SUCCESS) return result;
  if (names.empty()) return ERROR_INVALID_PARAMETER;  // a key is deleted through its parent

  const std::u16string last = names.back();
  names.pop_back();
  path.insert(path.end(), names.begin(), names.end());
  return DeviceStore().Write([&](Tree& tree, bool& changed) -> LONG {
    Key* parent = tree.Find(path);
    if (parent == nullptr || !parent->RemoveSubkey(last)) return ERROR_FILE_NOT_FOUND;
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegCloseKey(HKEY hKey) {
  if (IsPredefined(hKey)) return ERROR_SUCCESS;
  return registry::RemoveKeyHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD /*lpReserved*/, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData) {
  if (lpData != nullptr && lpcbData == nullptr) return ERROR_INVALID_PARAMETER;
  KeyPath path;
  if (!PathOfKey(hKey, path)) return ERROR_INVALID_HANDLE;

  return DeviceStore().Read([&](const Tree& tree) -> LONG {
    const Key* key;
    const LONG found = FindKey(tree, path, key);
    if (found != ERROR_SUCCESS) return found;
    const registry::Value* value = key->FindValue(TextOf(lpValueName));
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;

    if (lpType != nullptr) *lpType = value->type;
    if (lpcbData == nullptr) return ERROR_SUCCESS;
    const DWORD size = static_cast<DWORD>(value->data.size());
    const DWORD room = *lpcbData;
    *lpcbData = size;
    if (lpData == nullptr) return ERROR_SUCCESS;
    if (room < size) return ERROR_MORE_DATA;
    if (size != 0) std::memcpy(lpData, value->data.data(), size);
    return ERROR_SUCCESS;
  });
}

LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD /*Reserved*/, DWORD dwType, const BYTE* lpData,
                    DWORD cbData) {
  if (lpData == nullptr && cbData != 0) return ERROR_INVALID_PARAMETER;
  const std::u16string_view name = TextOf(lpValueName);
  if (name.size() > registry::kMaxNameLength) return ERROR_INVALID_PARAMETER;
  KeyPath path;
  if (!PathOfKey(hKey, path)) return ERROR_INVALID_HANDLE;

  std::vector<BYTE> data = cbData != 0 ? std::vector<BYTE>(lpData, lpData + cbData) : std::vector<BYTE>();
  return DeviceStore().Write([&](Tree& tree, bool& changed) -> LONG {
    Key* key = tree.Find(path);
    if (key == nullptr) return ERROR_KEY_DELETED;
    key->SetValue(name, dwType, std::move(data));
    changed = true;
    return ERROR_SUCCESS;
  });
}

LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  KeyPath path;
  if (!PathOfKey(hKey, path)) return ERROR_INVALID_HANDLE;
  return DeviceStore().Write([&](Tree& tree, bool& changed) -> LONG {
    Key* key = tree.Find(path);
    if (key == nullptr) return ERROR_KEY_DELETED;
    if (!key->RemoveValue(TextOf(lpValueName))) return ERROR_FILE_NOT_FOUND;
    changed = true;
    return ERROR_SUCCESS;
  });
}
