// The folder of a user's own files: the device's temporary folder, "KorvexPortal\" and the user's
// logon id. The logon id comes from the gateway, so it is checked before it names a folder: an id
// that is refused names no folder, and nothing is read or written for that user.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

// TRUE when the logon id can name a folder of its own: not empty, not "." or "..", and without
// separators ("\" and "/"), control characters or the characters that the device's file names
// cannot hold (: * ? " < > |).
BOOL IsValidLogonId(const WCHAR* logonId);

// The folder that holds every user's folder, ending in "\" ("\Temp\KorvexPortal\"). FALSE, folder
// empty, when the temporary folder cannot be found.
BOOL GetUsersFolder(CStringW& folder);

// The user's folder, ending in "\" ("\Temp\KorvexPortal\<logon id>\"). FALSE, folder empty, for
// a refused logon id or when the temporary folder cannot be found.
BOOL GetUserFolder(const WCHAR* logonId, CStringW& folder);

// As GetUserFolder, and creates "KorvexPortal" and the user's folder when they are missing
// (existing ones are fine). FALSE, folder empty, when the id is refused or the user's folder is
// not there afterwards.
BOOL CreateUserFolder(const WCHAR* logonId, CStringW& folder);
