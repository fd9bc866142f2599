// Where the client program is: the install folder the package wrote under
// HKEY_LOCAL_MACHINE\services\dovrel ("InstDir").
#pragma once

#include "base/types.h"

// Reads "InstDir" into buffer (size bytes); true when it was read whole and terminated.
bool ReadInstallDir(WCHAR* buffer, DWORD size);

// The client's path, the install folder + "\" + "KorvexPortal.exe", into buffer (MAX_PATH
// characters). false when the folder cannot be read or the path with its terminator does not
// fit MAX_PATH characters.
bool GetMainProgramPath(WCHAR* buffer);
