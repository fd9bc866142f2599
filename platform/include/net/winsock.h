// Sockets: TCP over the loopback interface (127.0.0.1) only, as the service host and the
// services it loads use them. A SOCKET is a handle of the device (closed with closesocket,
// never CloseHandle), so a closed socket's value fails cleanly. Calls block; closesocket from
// another thread ends a blocked accept or recv on that socket. Failures return SOCKET_ERROR
// (or INVALID_SOCKET) with the error in WSAGetLastError.
#pragma once

#include "base/types.h"
#include "net/winsock_errors.h"

typedef UINT_PTR SOCKET;
#define INVALID_SOCKET (~static_cast<SOCKET>(0))
#define SOCKET_ERROR (-1)

#define AF_INET 2
#define SOCK_STREAM 1
#define IPPROTO_TCP 6
#define INADDR_LOOPBACK 0x7f000001u
#define SOMAXCONN 5
#define MSG_PEEK 0x2
#define SD_RECEIVE 0x00
#define SD_SEND 0x01
#define SD_BOTH 0x02

struct in_addr {
  ULONG s_addr;  // network byte order
};

struct sockaddr {
  USHORT sa_family;
  char sa_data[14];
};

struct sockaddr_in {
  SHORT sin_family;
  USHORT sin_port;  // network byte order
  in_addr sin_addr;
  char sin_zero[8];
};

typedef sockaddr SOCKADDR;
typedef sockaddr* PSOCKADDR;
typedef sockaddr* LPSOCKADDR;
typedef sockaddr_in SOCKADDR_IN;
typedef sockaddr_in* PSOCKADDR_IN;
typedef sockaddr_in* LPSOCKADDR_IN;

#define WSADESCRIPTION_LEN 256
#define WSASYS_STATUS_LEN 128

struct WSADATA {
  WORD wVersion;
  WORD wHighVersion;
  char szDescription[WSADESCRIPTION_LEN + 1];
  char szSystemStatus[WSASYS_STATUS_LEN + 1];
  USHORT iMaxSockets;
  USHORT iMaxUdpDg;
  char* lpVendorInfo;
};
typedef WSADATA* LPWSADATA;

// Version 1.1 and 2.2 are offered; the calls work before WSAStartup too.
int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int iError);

// A TCP socket (AF_INET, SOCK_STREAM, protocol 0 or IPPROTO_TCP).
SOCKET socket(int af, int type, int protocol);
// Binds to 127.0.0.1 only (port 0: a free one); any other address fails with WSAEADDRNOTAVAIL.
int bind(SOCKET s, const sockaddr* name, int namelen);
int listen(SOCKET s, int backlog);
SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen);
// Connects to 127.0.0.1 only.
int connect(SOCKET s, const sockaddr* name, int namelen);
int getsockname(SOCKET s, sockaddr* name, int* namelen);
// The bytes received (0 once the peer has shut down its sending side); flags 0 or MSG_PEEK.
int recv(SOCKET s, char* buf, int len, int flags);
// Sends all of buf, or fails.
int send(SOCKET s, const char* buf, int len, int flags);
int shutdown(SOCKET s, int how);
int closesocket(SOCKET s);

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the byte-order helpers assume a little-endian host");
inline USHORT htons(USHORT value) { return __builtin_bswap16(value); }
inline USHORT ntohs(USHORT value) { return __builtin_bswap16(value); }
inline ULONG htonl(ULONG value) { return __builtin_bswap32(value); }
inline ULONG ntohl(ULONG value) { return __builtin_bswap32(value); }
