// Entries of the device's file system: deleting, moving, copying, attributes, folders, the
// temporary folder and listing a folder with wildcards. Paths are device paths, matched
// case-insensitively; new entries keep the case they are given.
#pragma once

#include "base/types.h"
#include "kernel/file.h"

#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwOID;
  WCHAR cFileName[MAX_PATH];
};
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;
typedef WIN32_FIND_DATAW WIN32_FIND_DATA;
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATA;

// Fails with ERROR_SHARING_VIOLATION while a handle or stream of this process has the file open
// (unless every one shares delete access).
BOOL DeleteFileW(LPCWSTR lpFileName);
// Moves a file or folder; fails with ERROR_ALREADY_EXISTS when the new name exists (a change of
// case only is a rename).
BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName);
// Copies a file whole or not at all; with bFailIfExists an existing target fails with
// ERROR_FILE_EXISTS, otherwise it is replaced.
BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists);
BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes);
BOOL RemoveDirectoryW(LPCWSTR lpPathName);
// FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_ARCHIVE for a file (with
// FILE_ATTRIBUTE_READONLY when it cannot be written); INVALID_FILE_ATTRIBUTES when missing.
DWORD GetFileAttributesW(LPCWSTR lpFileName);

// "\Temp\", created when missing. Returns the length copied without the terminator, or, when
// the buffer is too small, the size needed with it.
DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer);

// Lists the entries of a folder whose names match the last part of the path: "*" any run of
// characters, "?" any one, case ignored ("*.*" matches every name). Entries come in order of
// their names; "." and ".." are not listed. FindClose ends the search.
HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData);
BOOL FindClose(HANDLE hFindFile);

inline BOOL DeleteFile(LPCWSTR lpFileName)
{
  return DeleteFileW(lpFileName);
}
inline BOOL MoveFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName)
{
  return MoveFileW(lpExistingFileName, lpNewFileName);
}
inline BOOL CopyFile(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists)
{
  return CopyFileW(lpExistingFileName, lpNewFileName, bFailIfExists);
}
inline BOOL CreateDirectory(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES lpSecurityAttributes)
{
  return CreateDirectoryW(lpPathName, lpSecurityAttributes);
}
inline BOOL RemoveDirectory(LPCWSTR lpPathName)
{
  return RemoveDirectoryW(lpPathName);
}
inline DWORD GetFileAttributes(LPCWSTR lpFileName)
{
  return GetFileAttributesW(lpFileName);
}
inline DWORD GetTempPath(DWORD nBufferLength, LPWSTR lpBuffer)
{
  return GetTempPathW(nBufferLength, lpBuffer);
}
inline HANDLE FindFirstFile(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData)
{
  return FindFirstFileW(lpFileName, lpFindFileData);
}
inline BOOL FindNextFile(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData)
{
  return FindNextFileW(hFindFile, lpFindFileData);
}
