#include "key_handles.h"

#include "../crypt/handle_table.h"

namespace registry {

namespace {

crypt_internal::HandleTable<KeyPath>& Table() {
  static crypt_internal::HandleTable<KeyPath> table;
  return table;
}

}  // namespace

HKEY AddKeyHandle(KeyPath path) {
  return reinterpret_cast<HKEY>(Table().Add(std::make_shared<KeyPath>(std::move(path))));
}

bool FindKeyHandle(HKEY key, KeyPath& path) {
  const auto found = Table().Find(reinterpret_cast<uintptr_t>(key));
  if (!found) return false;
  path = *found;
  return true;
}

bool RemoveKeyHandle(HKEY key) { return Table().Remove(reinterpret_cast<uintptr_t>(key)); }

}  // namespace registry
