// The registry entry of a service (services/services.h tells the layout): read by the service
// host, written by the package installer and by tests.
#pragma once

#include <optional>
#include <string>

#include "base/types.h"

namespace services {

struct ServiceEntry {
  std::u16string name;     // the key under HKEY_LOCAL_MACHINE\Services ("Dovrel")
  std::u16string dll;      // "Dll"
  std::u16string prefix;   // "Prefix" ("PAY")
  DWORD index = 0;         // "Index"
  DWORD context = 0;       // "Context"
  DWORD keep = 1;          // "Keep"
  std::u16string instDir;  // "InstDir"; empty: none
  USHORT port = 0;         // "Port": the loopback port the host listens on; 0: none

  // The running instance's name: the prefix, the index and a colon ("PAY0:").
  std::u16string InstanceName() const;
};

// The service's key under HKEY_LOCAL_MACHINE ("Services\Dovrel").
std::u16string ServiceKeyPath(std::u16string_view name);

// Replaces the service's key with the entry. ERROR_SUCCESS or the registry's error.
LONG WriteServiceEntry(const ServiceEntry& entry);
// The entry under that key name; ERROR_SERVICE_DOES_NOT_EXIST for a missing key,
// ERROR_BADDB for an entry without its library or a prefix of three characters.
std::optional<ServiceEntry> ReadServiceEntry(std::u16string_view name, LONG* error);

}  // namespace services
