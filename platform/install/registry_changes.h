// The installer's changes of the device registry that go beyond single values: putting keys
// back as they were before an installation that is undone, and removing a package's keys and
// values in one change. Keys are named from their hive ("HKEY_LOCAL_MACHINE\Software\Korvex").
#pragma once

#include <string>
#include <vector>

#include "base/types.h"
#include "registry_tree.h"

namespace install {

// The names of a key from its hive; empty for a name with an empty part.
registry::KeyPath SplitKey(std::u16string_view key);

// The device's registry as it was at one moment.
class RegistrySnapshot {
 public:
  // Takes the registry as it is now. ERROR_SUCCESS or the registry's error (ERROR_BADDB).
  LONG Take();

  // The outermost key on the way down to key that the snapshot lacks, the first that making key
  // makes; empty when the snapshot has key.
  std::u16string OutermostMissing(std::u16string_view key) const;

  // Puts each key, with everything below it, back as it was: removed when the snapshot lacks it.
  LONG Restore(const std::vector<std::u16string>& keys) const;

  const registry::Tree& Tree() const { return tree_; }

  // Keeps the snapshot in a host file, and takes it up again from there; false when it cannot.
  bool Save(const std::string& hostPath) const;
  bool Load(const std::string& hostPath);

 private:
  registry::Tree tree_;
};

// Removes the keys, with everything below them, and the values (each its key and name joined by
// a backslash) in one change of the registry. What is missing already is passed over.
LONG RemoveFromRegistry(const std::vector<std::u16string>& keys, const std::vector<std::u16string>& values);

}  // namespace install
