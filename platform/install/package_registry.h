// The registry side of installing a package: the record an installation writes, the keys it
// changes (to be put back when it is undone), writing its values, services and record, and
// removing what only the installation it replaces had.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "install_record.h"
#include "package_plan.h"
#include "registry_changes.h"

namespace install {

// The record of the installation: what the package installs now, the folders it made and the
// keys it made or owns (now, or for the installation it replaces where the new one still uses
// them). A key made on the way to a value is never one that holds the installer's records.
InstallRecord RecordOf(const PackagePlan& plan, const std::vector<std::u16string>& madeFolders,
                       const RegistrySnapshot& before, const std::optional<InstallRecord>& previous);

// The keys an installation of the plan changes, its record's among them.
std::vector<std::u16string> KeysChanged(const PackagePlan& plan, const RegistrySnapshot& before);

// Writes the plan's values and services, then the record; what failed, or empty.
std::string WriteRegistry(const PackagePlan& plan, const InstallRecord& record);

// After an installation replaced an earlier one: the files, keys and values only the earlier
// one had go, and the folders it made that are empty now.
void RemoveLeftovers(const InstallRecord& previous, const InstallRecord& record);

}  // namespace install
