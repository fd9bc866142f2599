// Deleting a folder with everything in it, silently.
#pragma once

#include "base/types.h"

namespace zunsetup {

// Deletes the folder (or file) and all it holds with the shell's file operation, showing no
// progress, confirmation or error. Only a full device path below the root is taken: an empty
// path, a relative one, the root itself or one too long for the operation's 260-character list
// deletes nothing. 1 when it was deleted, 0 otherwise.
int DeleteFolderTree(const WCHAR* path);

}  // namespace zunsetup
