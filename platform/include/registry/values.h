// Registry values: typed byte strings under a key. A key opened before it was deleted answers
// ERROR_KEY_DELETED.
#pragma once

#include "base/types.h"
#include "registry/keys.h"

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

// Size protocol: *lpcbData is the buffer size in bytes on entry and the value's size on return
// (a string's size counts its terminator as it was stored). A null lpData asks for the size only;
// a short buffer answers ERROR_MORE_DATA with the size. ERROR_FILE_NOT_FOUND for a missing
// value. A null or empty name is the key's default value.
LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                      LPDWORD lpcbData);
// Stores cbData bytes as given (a string's size should count its terminator).
LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                    DWORD cbData);
// ERROR_FILE_NOT_FOUND for a missing value.
LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName);

inline LONG RegQueryValueEx(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                            LPDWORD lpcbData) {
  return RegQueryValueExW(hKey, lpValueName, lpReserved, lpType, lpData, lpcbData);
}
inline LONG RegSetValueEx(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                          DWORD cbData) {
  return RegSetValueExW(hKey, lpValueName, Reserved, dwType, lpData, cbData);
}
inline LONG RegDeleteValue(HKEY hKey, LPCWSTR lpValueName) { return RegDeleteValueW(hKey, lpValueName); }
