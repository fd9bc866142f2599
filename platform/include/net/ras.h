// Remote access: the data links of the phone that are up, and hanging them up. A link comes up
// when the Connection Manager connects to a destination of a [connection] in the device
// settings; hanging it up disconnects every connection riding on it.
#pragma once

#include "base/errors.h"
#include "base/types.h"

DECLARE_HANDLE(HRASCONN);
typedef HRASCONN* LPHRASCONN;

#define RAS_MaxEntryName 20

// dwSize must be sizeof(RASCONN).
struct RASCONN {
  DWORD dwSize;
  HRASCONN hrasconn;
  WCHAR szEntryName[RAS_MaxEntryName + 1];  // the [connection]'s name, cut to RAS_MaxEntryName
};
typedef RASCONN* LPRASCONN;

#define ERROR_BUFFER_TOO_SMALL 603
#define ERROR_INVALID_SIZE 632

// Lists the links that are up into the array at lprasconn (*lpcb bytes, its first record's
// dwSize set); returns 0, ERROR_BUFFER_TOO_SMALL with the size needed in *lpcb,
// ERROR_INVALID_SIZE or ERROR_INVALID_PARAMETER.
DWORD RasEnumConnections(LPRASCONN lprasconn, LPDWORD lpcb, LPDWORD lpcConnections);

// Hangs a link up; ERROR_INVALID_HANDLE for one that is not up.
DWORD RasHangUp(HRASCONN hrasconn);
