// Helpers about the program's own modules: folders, file versions and loading libraries.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

// The folder of the module's file (NULL: the program) with its trailing backslash. A path
// without a backslash is returned whole, an unreadable one as empty text.
CStringW GetModuleDirectory(HMODULE module);

// The file's version as "%d.%d.%d.%d" into buffer (length characters, terminator included).
// FALSE, with a log entry, when the file has no readable version block of at most 8191 bytes.
BOOL GetFileVersionString(const WCHAR* path, WCHAR* buffer, int length);

// LoadLibraryW: a name without an extension gets ".dll"; NULL on failure.
HMODULE LoadLibraryWrapper(const WCHAR* name);
