// A package keeps to its own place. What its manifest declares must lie in it: files only below
// its own installation folder, a folder that is not the device's \Windows nor another installed
// package's; registry values out of the installer's records and out of every key or value another
// installed package's record holds, and services that no other installed package owns. A package
// replacing an installed one of its name is its own. The setup library's hooks are native code
// that the installer calls: these rules bound what the manifest declares, not what hooks do.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "install_record.h"
#include "package_plan.h"

namespace install {

// Whether a device path or a registry key (from the hive) is the same as ancestor or lies below
// it, ignoring case.
bool IsWithin(std::u16string_view path, std::u16string_view ancestor);

struct Trespass {
  std::u16string place;  // the folder, file, key or value at fault
  std::string why;       // for the log: whose place it is
};

// The first place the plan declares that is not the package's own; nothing when it keeps to
// its own place. Others are the other installed packages.
std::optional<Trespass> FindTrespass(const PackagePlan& plan, const std::vector<InstalledPackage>& others);

// The part of a package's record that is its own by the same rules, all that its removal or
// replacement may take: a record written before these rules held may name more.
InstallRecord OwnPart(const InstallRecord& record, const std::vector<InstalledPackage>& others);

}  // namespace install
