// Registry keys. The device keeps its registry in one file under the device root, shared by
// every process of the device: HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER. Key and value names are
// compared without regard to case and keep the case they were created with. Sub-key paths are
// names joined by backslashes. Every call returns ERROR_SUCCESS or a system error code.
#pragma once

#include "base/types.h"
#include "kernel/handle.h"

typedef HKEY* PHKEY;
typedef DWORD REGSAM;

#define HKEY_CURRENT_USER (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000001u)))
#define HKEY_LOCAL_MACHINE (reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x80000002u)))

// Access rights; the device grants every right on every key it opens.
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_OPTION_NON_VOLATILE 0x00000000

// Dispositions of RegCreateKeyExW.
#define REG_CREATED_NEW_KEY 0x00000001
#define REG_OPENED_EXISTING_KEY 0x00000002

// Opens the key, creating it and every missing key on its path. ERROR_INVALID_PARAMETER for a
// path with an empty name, a name longer than 255 characters or one with control characters.
LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                     REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                     LPDWORD lpdwDisposition);
// ERROR_FILE_NOT_FOUND when the key does not exist. A null or empty sub-key opens hKey again.
LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult);
// Deletes the key with its values and every key below it. ERROR_FILE_NOT_FOUND when absent.
LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey);
// ERROR_INVALID_HANDLE for a handle that is not open. Closing a predefined key does nothing.
LONG RegCloseKey(HKEY hKey);

inline LONG RegCreateKeyEx(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                           REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                           LPDWORD lpdwDisposition) {
  return RegCreateKeyExW(hKey, lpSubKey, Reserved, lpClass, dwOptions, samDesired, lpSecurityAttributes, phkResult,
                         lpdwDisposition);
}
inline LONG RegOpenKeyEx(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
  return RegOpenKeyExW(hKey, lpSubKey, ulOptions, samDesired, phkResult);
}
inline LONG RegDeleteKey(HKEY hKey, LPCWSTR lpSubKey) { return RegDeleteKeyW(hKey, lpSubKey); }
