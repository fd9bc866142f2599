// The host's side of handing a connection to a service (TakeServiceConnection in
// services/services.h).
#pragma once

#include "base/types.h"
#include "net/winsock.h"

namespace services {

// Registers an accepted socket for a service to take; its number, or 0 (the socket closed) when
// no number is free.
DWORD HandOverConnection(SOCKET s);

// After the service's IOControl returned: closes the connection if the service did not take it.
void ReclaimConnection(DWORD connection);

}  // namespace services
