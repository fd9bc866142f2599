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

namespace install {

struct InstallRecord {
  std::u16string folder;
  std::u16string setup;
  std::vector<std::u16string> files;
  std::vector<std::u16string> folders;
  std::vector<std::u16string> keys;
  std::vector<std::u16string> values;
};

// The record's key, from the hive ("HKEY_LOCAL_MACHINE\Software\Packages\FakeApp").
std::u16string InstallRecordKey(std::u16string_view name);

// The record of the package of that name; ERROR_FILE_NOT_FOUND in *error when it is not
// installed, or the registry's error.
std::optional<InstallRecord> ReadInstallRecord(std::u16string_view name, LONG* error);

// Replaces the package's record. ERROR_SUCCESS or the registry's error.
LONG WriteInstallRecord(std::u16string_view name, const InstallRecord& record);

}  // namespace install
