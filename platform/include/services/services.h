// Services: libraries that the device's service host program loads and runs, listening for
// connections on their behalf. A program talks to a running service through these calls, which
// reach the host (platform/internal/services/host_protocol.h); while no host runs they fail.
//
// A service is described in the registry under HKEY_LOCAL_MACHINE\Services\<name>:
//   "Dll"      REG_SZ     the service library ("Dovrel.dll"; without a folder it is looked for in
//                         "\Windows\")
//   "Prefix"   REG_SZ     its three-letter prefix ("PAY"): the library exports PAY_Init,
//                         PAY_Deinit, PAY_Open, PAY_Close, PAY_Read, PAY_Write, PAY_Seek and
//                         PAY_IOControl
//   "Index"    REG_DWORD  its instance number: the running instance is "PAY0:"
//   "Context"  REG_DWORD  the value handed to PAY_Init
//   "Keep"     REG_DWORD  1: the library stays loaded while the host runs
//   "InstDir"  REG_SZ     the folder of the program the service works for
//   "Port"     REG_DWORD  the port of 127.0.0.1 on which the host accepts connections for the
//                         service, handing each to it with IOCTL_SERVICE_CONNECTION (0 or
//                         missing: none)
//
// The library's entry points, as the host calls them:
//   DWORD PAY_Init(DWORD context)          the "Context" value; returns the service's context
//                                          (0: the service failed to start)
//   BOOL PAY_Deinit(DWORD serviceContext)
//   BOOL PAY_IOControl(DWORD serviceContext, DWORD code, PBYTE in, DWORD inSize, PBYTE out,
//                      DWORD outSize, PDWORD returned)
// (PAY_Open, PAY_Close, PAY_Read, PAY_Write and PAY_Seek are exported as on the device; the
// host does not call them.)
// Starting a service: PAY_Init; with a port, the host listens on 127.0.0.1 at it and calls
// IOCTL_SERVICE_REGISTER_SOCKADDR with the address (a sockaddr_in); then IOCTL_SERVICE_STARTED.
// Each connection accepted is handed over with IOCTL_SERVICE_CONNECTION (below). Stopping it
// (DeregisterService, or the host's end): the host stops listening, calls
// IOCTL_SERVICE_DEREGISTER_SOCKADDR, IOCTL_SERVICE_STOP and PAY_Deinit, and unloads the library
// unless "Keep" holds it while the host runs.
#pragma once

#include "base/types.h"
#include "kernel/file.h"

// Control codes of services (ServiceIoControl, and the library's xxx_IOControl).
#define IOCTL_SERVICE_START 0x01040004
#define IOCTL_SERVICE_STOP 0x01040008
#define IOCTL_SERVICE_REFRESH 0x0104000C
#define IOCTL_SERVICE_STATUS 0x01040020
#define IOCTL_SERVICE_REGISTER_SOCKADDR 0x0104002C
#define IOCTL_SERVICE_DEREGISTER_SOCKADDR 0x01040030
#define IOCTL_SERVICE_CONNECTION 0x01040034
#define IOCTL_SERVICE_STARTED 0x01040038
#define IOCTL_SERVICE_SUPPORTED_OPTIONS 0x01040048

// The states IOCTL_SERVICE_STATUS reports.
#define SERVICE_STATE_OFF 0
#define SERVICE_STATE_ON 1
#define SERVICE_STATE_STARTING_UP 2
#define SERVICE_STATE_SHUTTING_DOWN 3
#define SERVICE_STATE_UNLOADING 4
#define SERVICE_STATE_UNINITIALIZED 5
#define SERVICE_STATE_UNKNOWN 0xFFFFFFFF

// Has the host load and start the service of that registry key name ("Dovrel"); its handle, or
// null: ERROR_SERVICE_DOES_NOT_EXIST for a name the registry does not describe,
// ERROR_SERVICE_ALREADY_RUNNING for a running one, ERROR_SERVICE_NOT_ACTIVE while no host runs,
// or the error the service's start failed with. dwClientInfo is not used.
HANDLE ActivateService(LPCWSTR lpszDevKey, DWORD dwClientInfo);
// The running instance of that name ("PAY0:"), and in szDllName (pdwDllBuf characters, null for
// none) its library's name. INVALID_HANDLE_VALUE when there is none (ERROR_SERVICE_DOES_NOT_EXIST,
// also while no host runs) or szDllName is too small (ERROR_INSUFFICIENT_BUFFER).
HANDLE GetServiceHandle(LPWSTR szPrefix, LPWSTR szDllName, DWORD* pdwDllBuf);
// Stops and unloads the service; its handle is closed. ERROR_INVALID_HANDLE for a handle that
// names no service, ERROR_SERVICE_NOT_ACTIVE when its host has gone.
BOOL DeregisterService(HANDLE hDevice);
// Calls the service's xxx_IOControl through its host and answers what it answered, with its last
// error when it failed; the output comes back into lpOutBuf (at most nOutBufSize bytes).
// ERROR_INVALID_HANDLE for a handle that names no service, ERROR_SERVICE_NOT_ACTIVE when its host
// has gone. lpOverlapped must be null.
BOOL ServiceIoControl(HANDLE hService, DWORD dwIoControlCode, LPVOID lpInBuf, DWORD nInBufSize, LPVOID lpOutBuf,
                      DWORD nOutBufSize, LPDWORD lpBytesReturned, LPOVERLAPPED lpOverlapped);

// IOCTL_SERVICE_CONNECTION hands a service a connection its host accepted on the service's
// address. Its input is 4 bytes: a DWORD naming the connection. (A socket of this device is a
// pointer-sized handle, wider than the 4 bytes the control code carries, so the host names each
// connection it hands over with a number of its own: never 0, and not reused while the
// connection waits.) The service takes the connection's socket with TakeServiceConnection,
// once; the socket is then the service's, which closes it with closesocket. A connection the
// service has not taken when its xxx_IOControl returns is closed by the host.
// The result is a SOCKET (net/winsock.h); INVALID_SOCKET, with ERROR_INVALID_PARAMETER, for a
// number that names no waiting connection.
UINT_PTR TakeServiceConnection(DWORD dwConnection);
