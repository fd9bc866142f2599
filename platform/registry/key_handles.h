// Handles of open registry keys. An open key remembers its path, so it follows the registry as
// other handles and processes change it, and answers ERROR_KEY_DELETED once its key is gone.
#pragma once

#include "base/types.h"
#include "registry_tree.h"

namespace registry {

// A new handle for the key at path; null when the handle table is full.
HKEY AddKeyHandle(KeyPath path);
// The path of an open key; false for a handle that is not open.
bool FindKeyHandle(HKEY key, KeyPath& path);
bool RemoveKeyHandle(HKEY key);

}  // namespace registry
