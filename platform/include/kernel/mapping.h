// File mappings backed by memory (the platform's page file). A named mapping is device-wide:
// every process of one device root that creates the same name maps the same memory, and
// CreateFileMapping then reports ERROR_ALREADY_EXISTS and keeps the existing mapping's size.
// An event may bear the same name. A view keeps its mapping alive until it is unmapped.
#pragma once

#include "base/types.h"
#include "kernel/handle.h"

#define PAGE_READONLY 0x02
#define PAGE_READWRITE 0x04
#define SEC_COMMIT 0x08000000

#define FILE_MAP_WRITE 0x0002
#define FILE_MAP_READ 0x0004
#define FILE_MAP_ALL_ACCESS 0x000F001F

// hFile must be INVALID_HANDLE_VALUE (memory, not a file); the size must not be 0.
HANDLE CreateFileMappingW(HANDLE hFile, LPSECURITY_ATTRIBUTES lpFileMappingAttributes, DWORD flProtect, DWORD dwMaximumSizeHigh,
                          DWORD dwMaximumSizeLow, LPCWSTR lpName);
inline HANDLE CreateFileMapping(HANDLE hFile, LPSECURITY_ATTRIBUTES lpFileMappingAttributes, DWORD flProtect,
                                DWORD dwMaximumSizeHigh, DWORD dwMaximumSizeLow, LPCWSTR lpName)
{
  return CreateFileMappingW(hFile, lpFileMappingAttributes, flProtect, dwMaximumSizeHigh, dwMaximumSizeLow, lpName);
}

// A view from a page-aligned offset; 0 bytes maps the rest of the mapping.
LPVOID MapViewOfFile(HANDLE hFileMappingObject, DWORD dwDesiredAccess, DWORD dwFileOffsetHigh, DWORD dwFileOffsetLow,
                     SIZE_T dwNumberOfBytesToMap);
BOOL UnmapViewOfFile(LPCVOID lpBaseAddress);
// 0 bytes flushes the rest of the view.
BOOL FlushViewOfFile(LPCVOID lpBaseAddress, SIZE_T dwNumberOfBytesToFlush);
