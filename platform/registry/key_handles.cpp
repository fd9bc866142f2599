#include "key_handles.h"

#include <memory>

#include "kernel/handle_table.h"

namespace registry {

namespace {

// An open key in the process's handle table; only RegCloseKey closes it.
struct OpenKey : kernel::Object {
  explicit OpenKey(KeyPath keyPath) : path(std::move(keyPath)) {}
  bool ClosedByCloseHandle() const override { return false; }

  const KeyPath path;
};

std::shared_ptr<OpenKey> Find(HKEY key) {
  return std::dynamic_pointer_cast<OpenKey>(kernel::LookupHandle(reinterpret_cast<HANDLE>(key)));
}

}  // namespace

HKEY AddKeyHandle(KeyPath path) {
  return reinterpret_cast<HKEY>(kernel::InsertHandle(std::make_shared<OpenKey>(std::move(path))));
}

bool FindKeyHandle(HKEY key, KeyPath& path) {
  const std::shared_ptr<OpenKey> open = Find(key);
  if (!open) return false;
  path = open->path;
  return true;
}

bool RemoveKeyHandle(HKEY key) {
  return Find(key) && kernel::RemoveHandle(reinterpret_cast<HANDLE>(key)) != nullptr;
}

}  // namespace registry
