// The calling thread's last error code. One value per thread, shared by every library of the
// process (it is defined once, in the layer's text library).
#pragma once

#include "base/types.h"

DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
