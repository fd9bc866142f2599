// Shortcut files: a shortcut is a text file in the device's ANSI code page holding the length
// of its target in characters, "#" and the target, e.g. 35#"\Program Files\App\App.exe".
#pragma once

#include "base/types.h"

// Writes the shortcut file, replacing one of that name. The target is written as given (a
// path with blanks should be in double quotes). FALSE for an empty name or target, a target
// longer than MAX_PATH, or a file that cannot be written.
BOOL SHCreateShortcut(LPWSTR szShortcut, LPWSTR szTarget);
