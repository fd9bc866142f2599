// The exports of the gateway service library (Dovrel.dll) that the device's service host calls:
// the stream-interface entry points of the prefix "PAY" (its instance is "PAY0:"). The service
// serves the local gateway's connections while it runs.
#pragma once

#include "base/types.h"

#define DOVREL_EXPORT extern "C" __attribute__((visibility("default")))

// Returns 1, the service's device context.
DOVREL_EXPORT DWORD PAY_Init(DWORD dwContext);
// These do nothing and return 0.
DOVREL_EXPORT BOOL PAY_Deinit(DWORD dwContext);
DOVREL_EXPORT DWORD PAY_Open(DWORD dwContext, DWORD dwAccess, DWORD dwShareMode);
DOVREL_EXPORT BOOL PAY_Close(DWORD dwOpenContext);
DOVREL_EXPORT DWORD PAY_Read(DWORD dwOpenContext, LPVOID pBuffer, DWORD dwCount);
DOVREL_EXPORT DWORD PAY_Write(DWORD dwOpenContext, LPCVOID pBuffer, DWORD dwCount);
DOVREL_EXPORT DWORD PAY_Seek(DWORD dwOpenContext, LONG lAmount, DWORD dwType);

// The service control codes (services/services.h). FALSE with the last error set on failure:
// ERROR_INVALID_PARAMETER for bad buffers or an unknown code, ERROR_SERVICE_ALREADY_RUNNING for
// a second IOCTL_SERVICE_STARTED, ERROR_SERVICE_CANNOT_ACCEPT_CTRL for a connection offered
// while the service does not run. IOCTL_SERVICE_STOP stops the service; a later
// IOCTL_SERVICE_STARTED starts it again. A connection (IOCTL_SERVICE_CONNECTION, 4 bytes: the
// host's number of it) is served on a thread of its own.
DOVREL_EXPORT BOOL PAY_IOControl(DWORD dwOpenContext, DWORD dwCode, PBYTE pBufIn, DWORD dwLenIn, PBYTE pBufOut,
                                 DWORD dwLenOut, PDWORD pdwActualOut);

// Exported as the library always has; it has no members and nothing uses it.
class __attribute__((visibility("default"))) CDOVRELSERVICE {
 public:
  CDOVRELSERVICE& operator=(const CDOVRELSERVICE&);
};
