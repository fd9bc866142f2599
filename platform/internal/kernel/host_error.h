// The device error code that stands for a failed host call's errno.
#pragma once

#include "base/types.h"

namespace device {

DWORD ErrorFromErrno(int error);

// Sets the thread's last error from errno (or from the given errno value).
void SetLastErrorFromErrno();
void SetLastErrorFromErrno(int error);

}  // namespace device
