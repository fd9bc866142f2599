// Modules: the running program and the libraries it loads. A program or library of the device
// lives in the device root; its device path maps to an ELF file of the same name there
// ("\Program Files\Korvex\Dovrel.dll" is a shared object named Dovrel.dll). A resource library
// ("\Program Files\Korvex\WidgetRes.dll") may instead be a folder of that name holding its
// resources; it loads without code. A program outside the device root (a test) is
// "\Program Files\Tests\<name>.exe".
#pragma once

#include "base/types.h"

// No return type, so a cast to the function's real type is warning-free.
typedef void(WINAPI* FARPROC)();

// A name without an extension gets ".dll". A name without a folder is looked for in the
// program's folder, then in "\Windows\". Loading a loaded library again returns its handle and
// counts the load; FreeLibrary undoes one. Fails with ERROR_MOD_NOT_FOUND when there is no such
// library and ERROR_BAD_EXE_FORMAT when it cannot be loaded.
HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
inline HMODULE LoadLibrary(LPCWSTR lpLibFileName)
{
  return LoadLibraryW(lpLibFileName);
}
BOOL FreeLibrary(HMODULE hLibModule);

// A function exported by a library (by its C name); NULL with ERROR_PROC_NOT_FOUND otherwise.
FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
inline FARPROC GetProcAddress(HMODULE hModule, LPCWSTR lpProcName)
{
  return GetProcAddressW(hModule, lpProcName);
}

// NULL names the running program; a name finds a loaded library by its file name.
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
inline HMODULE GetModuleHandle(LPCWSTR lpModuleName)
{
  return GetModuleHandleW(lpModuleName);
}

// The device path of a module (NULL: the running program). Returns the length copied; a path
// that does not fit is cut, terminated, and reported as nSize with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
inline DWORD GetModuleFileName(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
  return GetModuleFileNameW(hModule, lpFilename, nSize);
}
