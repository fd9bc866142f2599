// The access point the user pinned the data connection to, kept in the registry under
// HKEY_LOCAL_MACHINE\Software\Korvex\KorvexPortal\APN, and the reset request that the
// access-point settings leave for the next connection.
#pragma once

#include "base/types.h"

inline constexpr const WCHAR* kApnRegistryKey = u"Software\\Korvex\\KorvexPortal\\APN";

struct ApnEntry {
  GUID destination;      // the Connection Manager destination network of the access point
  WCHAR apn[20];         // the access-point name, at most 19 characters
  WCHAR description[32]; // the connection entry's description, at most 31 characters
};

// The stored choice; TRUE only when its destination, APN and description were all read.
BOOL ReadApnSettings(ApnEntry& entry);
// Stores the entry as the choice. The registry result.
LONG SaveApnSettings(const ApnEntry& entry);
// Removes the stored choice (the whole key). The registry result.
LONG DeleteApnSettings();

// Asks the next connection to drop every data connection first ("ResetConnection" = 1).
void SetResetConnectionFlag();
// Reads the reset request and clears it; TRUE when it was set.
BOOL TakeResetConnectionFlag();
