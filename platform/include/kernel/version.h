// The file-version block of the device's programs and libraries. Our programs carry their
// version in the build (cmake: kv_file_version); the block holds its fixed file information,
// which VerQueryValue gives for the root block "\".
#pragma once

#include "base/types.h"

#define VS_FFI_SIGNATURE 0xFEEF04BDu
#define VS_FFI_STRUCVERSION 0x00010000u
#define VOS_WINCE 0x00050000u
#define VFT_APP 0x00000001u
#define VFT_DLL 0x00000002u

struct VS_FIXEDFILEINFO {
  DWORD dwSignature;
  DWORD dwStrucVersion;
  DWORD dwFileVersionMS;
  DWORD dwFileVersionLS;
  DWORD dwProductVersionMS;
  DWORD dwProductVersionLS;
  DWORD dwFileFlagsMask;
  DWORD dwFileFlags;
  DWORD dwFileOS;
  DWORD dwFileType;
  DWORD dwFileSubtype;
  DWORD dwFileDateMS;
  DWORD dwFileDateLS;
};

// The size of the file's version block; 0 with ERROR_RESOURCE_DATA_NOT_FOUND when the file
// has none (or ERROR_FILE_NOT_FOUND when there is no such file). lpdwHandle is set to 0.
DWORD GetFileVersionInfoSizeW(LPCWSTR lptstrFilename, LPDWORD lpdwHandle);
// Copies the block; dwLen must hold it whole.
BOOL GetFileVersionInfoW(LPCWSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, LPVOID lpData);
// "\" gives the VS_FIXEDFILEINFO inside the block; no other sub-block exists.
BOOL VerQueryValueW(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen);

inline DWORD GetFileVersionInfoSize(LPCWSTR lptstrFilename, LPDWORD lpdwHandle)
{
  return GetFileVersionInfoSizeW(lptstrFilename, lpdwHandle);
}
inline BOOL GetFileVersionInfo(LPCWSTR lptstrFilename, DWORD dwHandle, DWORD dwLen, LPVOID lpData)
{
  return GetFileVersionInfoW(lptstrFilename, dwHandle, dwLen, lpData);
}
inline BOOL VerQueryValue(LPCVOID pBlock, LPCWSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen)
{
  return VerQueryValueW(pBlock, lpSubBlock, lplpBuffer, puLen);
}
