// Scripting the phone's data connections in tests. The device settings say which connections
// exist, their APNs and proxies; these calls change how connecting goes and count what the
// Connection Manager and RAS were asked to do. They act on the process's connection state.
#pragma once

#include "base/types.h"

#include <string>
#include <vector>

namespace device::testing {

// The statuses the next connection established to the destination goes through, one per read
// of its status: it starts at the first, and each ConnMgrConnectionStatus moves it to the next
// and signals its handle again, until the last, which stays. Scripts queue up: each
// connection takes the next one. Without a script a connection is connected at once (or
// fails with CONNMGR_STATUS_NOPATHTODESTINATION for a destination the phone cannot reach).
void ScriptConnectionStatuses(const GUID& destination, std::vector<DWORD> statuses);

// The proxy that connections to the destination report from now on, in place of the
// settings' ("" for none).
void ScriptConnectionProxy(const GUID& destination, std::u16string proxy);

struct ConnectionCounters {
  size_t established = 0;  // ConnMgrEstablishConnection calls that gave a handle
  size_t released = 0;     // ConnMgrReleaseConnection calls that released one
  size_t dialled = 0;      // data links brought up
  size_t hungUp = 0;       // data links hung up by RasHangUp
};
ConnectionCounters CountConnections();

}  // namespace device::testing
