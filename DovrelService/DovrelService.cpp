#include "DovrelService.h"

#include <cstring>

#include "base/errors.h"
#include "base/lasterror.h"
#include "http_server.h"
#include "kernel/handle.h"
#include "kernel/interlocked.h"
#include "kernel/module.h"
#include "kernel/thread.h"
#include "log_writer.h"
#include "net/winsock.h"
#include "proxycommon.h"
#include "services/services.h"

namespace {

// SERVICE_STATE_OFF, SERVICE_STATE_STARTING_UP or SERVICE_STATE_ON.
LONG volatile g_state = SERVICE_STATE_OFF;

DWORD WINAPI ConnectionThreadProc(LPVOID parameter)
{
  SOCKET s = reinterpret_cast<SOCKET>(parameter);
  SetOrderPayCallback(RunOrderPay);
  int result = HandleHttpConnection(s);
  closesocket(s);
  return static_cast<DWORD>(result);
}

BOOL Fail(DWORD error)
{
  SetLastError(error);
  return FALSE;
}

// Writes a 32-bit value to the caller's output buffer of at least 4 bytes.
BOOL ReturnValue(DWORD value, PBYTE out, DWORD outSize, PDWORD returned)
{
  if (out == nullptr || outSize < sizeof value) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  std::memcpy(out, &value, sizeof value);
  if (returned != nullptr) {
    *returned = sizeof value;
  }
  return TRUE;
}

BOOL ServeConnection(PBYTE in, DWORD inSize)
{
  DWORD connection = 0;
  if (in == nullptr || inSize != sizeof connection) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  std::memcpy(&connection, in, sizeof connection);
  SOCKET s = TakeServiceConnection(connection);
  if (s == INVALID_SOCKET) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  if (g_state != SERVICE_STATE_ON) {
    SetLastError(ERROR_SERVICE_CANNOT_ACCEPT_CTRL);
    WRITE_LOG_ENTRY(u"");
    closesocket(s);
    return Fail(ERROR_SERVICE_CANNOT_ACCEPT_CTRL);
  }
  HANDLE thread = CreateThread(nullptr, 0, ConnectionThreadProc, reinterpret_cast<LPVOID>(s), 0, nullptr);
  if (thread == nullptr) {
    DWORD error = GetLastError();
    WRITE_LOG_ENTRY(u"创建支付线程失败");
    closesocket(s);
    return Fail(error);
  }
  CloseHandle(thread);
  return TRUE;
}

}  // namespace

CDOVRELSERVICE& CDOVRELSERVICE::operator=(const CDOVRELSERVICE&) = default;

DWORD PAY_Init(DWORD)
{
  // The log is named after this library; linked into a program it stays the program's.
  if (HMODULE self = GetModuleHandleW(u"Dovrel.dll")) {
    SetLogModule(self);
  }
  return 1;
}

BOOL PAY_Deinit(DWORD) { return 0; }
DWORD PAY_Open(DWORD, DWORD, DWORD) { return 0; }
BOOL PAY_Close(DWORD) { return 0; }
DWORD PAY_Read(DWORD, LPVOID, DWORD) { return 0; }
DWORD PAY_Write(DWORD, LPCVOID, DWORD) { return 0; }
DWORD PAY_Seek(DWORD, LONG, DWORD) { return 0; }

BOOL PAY_IOControl(DWORD, DWORD dwCode, PBYTE pBufIn, DWORD dwLenIn, PBYTE pBufOut, DWORD dwLenOut, PDWORD pdwActualOut)
{
  WRITE_LOG_ENTRY(u"");
  switch (dwCode) {
  case IOCTL_SERVICE_START:
    WRITE_LOG_ENTRY(u"");
    return TRUE;
  case IOCTL_SERVICE_STOP:
    WRITE_LOG_ENTRY(u"");
    InterlockedExchange(&g_state, SERVICE_STATE_OFF);
    return TRUE;
  case IOCTL_SERVICE_REFRESH:
    WRITE_LOG_ENTRY(u"");
    return TRUE;
  case IOCTL_SERVICE_STATUS:
    WRITE_LOG_ENTRY(u"");
    return ReturnValue(static_cast<DWORD>(g_state), pBufOut, dwLenOut, pdwActualOut);
  case IOCTL_SERVICE_REGISTER_SOCKADDR:
    WRITE_LOG_ENTRY(u"");
    return TRUE;
  case IOCTL_SERVICE_DEREGISTER_SOCKADDR:
    WRITE_LOG_ENTRY(u"");
    return TRUE;
  case IOCTL_SERVICE_STARTED:
    WRITE_LOG_ENTRY(u"");
    if (InterlockedCompareExchange(&g_state, SERVICE_STATE_STARTING_UP, SERVICE_STATE_OFF) != SERVICE_STATE_OFF) {
      return Fail(ERROR_SERVICE_ALREADY_RUNNING);
    }
    InterlockedExchange(&g_state, SERVICE_STATE_ON);
    return TRUE;
  case IOCTL_SERVICE_CONNECTION:
    WRITE_LOG_ENTRY(u"");
    return ServeConnection(pBufIn, dwLenIn);
  case IOCTL_SERVICE_SUPPORTED_OPTIONS:
    WRITE_LOG_ENTRY(u"");
    return ReturnValue(0, pBufOut, dwLenOut, pdwActualOut);
  default:
    WRITE_LOG_ENTRY(u"");
    return Fail(ERROR_INVALID_PARAMETER);
  }
}
