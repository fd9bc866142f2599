// What the installer keeps about each installed package, so that it can remove it by name or
// replace it: a key of the device registry,
//   HKEY_LOCAL_MACHINE\Software\Packages\<name>
//     "Folder"   REG_SZ        the installation folder
//     "Setup"    REG_SZ        the setup library (missing: none)
//     "Files"    REG_MULTI_SZ  the files installed
//     "Folders"  REG_MULTI_SZ  the folders made for them
//     "Keys"     REG_MULTI_SZ  registry keys the package made or owns, removed whole with it
//                              ("HKEY_LOCAL_MACHINE\Services\Dovrel")
//     "Values"   REG_MULTI_SZ  registry values it set, each its key and name joined by a
//                              backslash ("HKEY_LOCAL_MACHINE\Software\Korvex\Version")
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/types.h"

namespace registry {
class Tree;
}

namespace install {

// The key that holds the records, from the hive.
inline constexpr char16_t kInstallRecordsKey[] = u"HKEY_LOCAL_MACHINE\\Software\\Packages";

struct InstallRecord {
  std::u16string folder;
  std::u16string setup;
  std::vector<std::u16string> files;
  std::vector<std::u16string> folders;
  std::vector<std::u16string> keys;
  std::vector<std::u16string> values;
};

struct InstalledPackage {
  std::u16string name;
  InstallRecord record;
};

// The record's key, from the hive ("HKEY_LOCAL_MACHINE\Software\Packages\FakeApp").
std::u16string InstallRecordKey(std::u16string_view name);

// The record of the package of that name in the registry tree; ERROR_FILE_NOT_FOUND in *error
// when it is not installed, ERROR_BADDB when its record is not one.
std::optional<InstallRecord> FindInstallRecord(const registry::Tree& tree, std::u16string_view name, LONG* error);

// The record of the package of that name in the device's registry as it is now; errors as
// FindInstallRecord, or the registry's.
std::optional<InstallRecord> ReadInstallRecord(std::u16string_view name, LONG* error);

// Every package the tree records, but the one named except. ERROR_SUCCESS, or ERROR_BADDB when a
// record is not one (which package's is in *bad).
LONG FindInstalledPackages(const registry::Tree& tree, std::u16string_view except, std::vector<InstalledPackage>& out,
                           std::u16string* bad);

// Replaces the package's record. ERROR_SUCCESS or the registry's error.
LONG WriteInstallRecord(std::u16string_view name, const InstallRecord& record);

}  // namespace install
