// Closing the running client before its files are replaced or removed.
#pragma once

#include "base/types.h"

namespace zunsetup {

// Asks every running copy of the client to end at once, without its exit question, and waits
// until all have ended, at most waitMs in all (device clock). A copy is found by its login
// window, by its main window, or as a process of the client's program (an order-pay copy has
// neither window); each of its top-level windows is asked. TRUE when no copy runs any more
// (also when none ran), FALSE when one still runs after the wait.
BOOL CloseRunningClient(DWORD waitMs);

}  // namespace zunsetup
