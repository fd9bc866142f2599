// The shell's file operation: deleting files and folder trees of the device. Nothing of the
// device's own (its root, the layer's private folder) and nothing outside it can be named, so
// nothing there is ever deleted. The device shows no progress, confirmation or error windows,
// whatever the flags say.
#pragma once

#include "base/types.h"

#define FO_MOVE 0x0001
#define FO_COPY 0x0002
#define FO_DELETE 0x0003
#define FO_RENAME 0x0004

#define FOF_SILENT 0x0004
#define FOF_NOCONFIRMATION 0x0010
#define FOF_ALLOWUNDO 0x0040
#define FOF_NOERRORUI 0x0400

typedef WORD FILEOP_FLAGS;

struct SHFILEOPSTRUCT {
  HWND hwnd;
  UINT wFunc;
  LPCWSTR pFrom;  // device paths, each NUL-terminated, the list ended by a second NUL
  LPCWSTR pTo;
  FILEOP_FLAGS fFlags;
  BOOL fAnyOperationsAborted;
  LPVOID hNameMappings;
  LPCWSTR lpszProgressTitle;
};
typedef SHFILEOPSTRUCT SHFILEOPSTRUCTW;
typedef SHFILEOPSTRUCT* LPSHFILEOPSTRUCT;

// FO_DELETE deletes each file, and each folder with everything in it (links inside are removed,
// never followed). Every path is checked before anything is deleted: an empty list or path,
// the root itself ("\") or a path the device refuses (".." parts, wildcards, forbidden
// characters, links or the layer's folder) fails with ERROR_INVALID_PARAMETER,
// ERROR_ACCESS_DENIED or the path's own error, and a missing one with ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND, leaving everything in place. Answers 0 when all was deleted, else the
// error, with fAnyOperationsAborted set when a deletion failed part way. The other operations
// are not offered (ERROR_INVALID_FUNCTION).
int SHFileOperation(LPSHFILEOPSTRUCT lpFileOp);
inline int SHFileOperationW(LPSHFILEOPSTRUCT lpFileOp) { return SHFileOperation(lpFileOp); }
