// A package's manifest in the device's terms: UTF-16 names and paths that the
// device accepts, the services as their registry entries, the values as registry data.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/types.h"
#include "package/manifest.h"
#include "services/service_registry.h"

namespace install {

struct PlannedFile {
  std::u16string path;
  bool program;
};

struct PlannedValue {
  std::u16string key;  // from the hive
  std::u16string name;
  DWORD type;
  std::vector<BYTE> data;
};

struct PackagePlan {
  std::u16string name;
  std::u16string folder;
  std::u16string setup;  // empty: none
  std::vector<PlannedFile> files;
  std::vector<services::ServiceEntry> services;
  std::vector<PlannedValue> values;
};

// The plan of a package's manifest; nothing, with the reason in *problem, when a
// text is not UTF-8, a path is one the device refuses (a part "..", a forbidden character, the
// root or the layer's own folder) or a registry name cannot name a key or value.
std::optional<PackagePlan> PlanPackage(const PackageManifest& manifest, std::string* problem);

// The service's registry key, from the hive ("HKEY_LOCAL_MACHINE\Services\Dovrel").
std::u16string ServiceKey(const services::ServiceEntry& service);

}  // namespace install
