// The thread's last error code. Defined here once so that every shared library of the process
// reads and writes the same per-thread value.
#include "base/lasterror.h"

namespace {
thread_local DWORD t_lastError = 0;
}

DWORD GetLastError()
{
  return t_lastError;
}

void SetLastError(DWORD dwErrCode)
{
  t_lastError = dwErrCode;
}
