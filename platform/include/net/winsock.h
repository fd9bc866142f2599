// Sockets: TCP over the loopback interface (127.0.0.1) only, as the service host and the
// services it loads use them. A SOCKET is a handle of the device (closed with closesocket,
// never CloseHandle), so a closed socket's value fails cleanly. Calls block, recv and send for
// at most the socket's time-outs (SO_RCVTIMEO, SO_SNDTIMEO) when it has them; closesocket from
// another thread ends a blocked accept or recv on that socket. Time-outs run on the device
// clock. Failures return SOCKET_ERROR (or INVALID_SOCKET) with the error in WSAGetLastError.
#pragma once

// The host's C library declares a select, an fd_set and FD_* macros of its own (for its file
// descriptors) in headers that nearly every file includes; they come first here, and the
// device's names below take over: an fd_set holds SOCKETs and select is an overload taking it.
// The host's timeval has the device's fields (seconds and microseconds).
#include <sys/select.h>

#include "base/types.h"
#include "net/winsock_errors.h"

typedef UINT_PTR SOCKET;
#define INVALID_SOCKET (~static_cast<SOCKET>(0))
#define SOCKET_ERROR (-1)

#define AF_INET 2
#define SOCK_STREAM 1
#define IPPROTO_TCP 6
#define INADDR_LOOPBACK 0x7f000001u
// A backlog for listen: the longest queue of pending connections the system allows.
#define SOMAXCONN 0x7fffffff
#define MSG_PEEK 0x2
#define SD_RECEIVE 0x00
#define SD_SEND 0x01
#define SD_BOTH 0x02

// Socket options: the receive and send time-outs, a DWORD of milliseconds (0: none).
#define SOL_SOCKET 0xffff
#define SO_SNDTIMEO 0x1005
#define SO_RCVTIMEO 0x1006

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
// backlog: the connections to queue until accepted (at least 1), SOMAXCONN for the most the
// host system allows.
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

// SO_RCVTIMEO and SO_SNDTIMEO at level SOL_SOCKET; any other option fails with WSAENOPROTOOPT.
// A recv that waited its time-out fails with WSAETIMEDOUT; so does a send that could not hand
// all its bytes over in time (how many left is then unknown, as on the device).
int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen);
int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen);

// A set of sockets for select.
#undef FD_SETSIZE
#undef FD_ZERO
#undef FD_SET
#undef FD_CLR
#undef FD_ISSET
#define FD_SETSIZE 64
struct kv_fd_set {
  UINT fd_count;
  SOCKET fd_array[FD_SETSIZE];
};
#define fd_set kv_fd_set

inline void KvFdClear(SOCKET s, kv_fd_set* set)
{
  for (UINT i = 0; i < set->fd_count; ++i) {
    if (set->fd_array[i] == s) {
      set->fd_array[i] = set->fd_array[--set->fd_count];
      return;
    }
  }
}
inline bool KvFdIsSet(SOCKET s, const kv_fd_set* set)
{
  for (UINT i = 0; i < set->fd_count; ++i) {
    if (set->fd_array[i] == s) {
      return true;
    }
  }
  return false;
}
// A socket already in the set, or one too many, is not added.
inline void KvFdSet(SOCKET s, kv_fd_set* set)
{
  if (set->fd_count < FD_SETSIZE && !KvFdIsSet(s, set)) {
    set->fd_array[set->fd_count++] = s;
  }
}
#define FD_ZERO(set) ((set)->fd_count = 0)
#define FD_CLR(s, set) KvFdClear(static_cast<SOCKET>(s), (set))
#define FD_SET(s, set) KvFdSet(static_cast<SOCKET>(s), (set))
#define FD_ISSET(s, set) KvFdIsSet(static_cast<SOCKET>(s), (set))

// Waits until a socket of readfds can be read without blocking (data, a connection to accept,
// or the peer's end), a socket of writefds can be written, or the time-out (null: none) passed;
// leaves in each set only the sockets that are ready and answers how many there are, 0 after a
// time-out. The device's sockets have no out-of-band data, so exceptfds comes back empty. nfds
// is ignored. WSAEINVAL when every set is null or empty, WSAENOTSOCK for a value that is not a
// socket.
int select(int nfds, kv_fd_set* readfds, kv_fd_set* writefds, kv_fd_set* exceptfds, const timeval* timeout);

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the byte-order helpers assume a little-endian host");
inline USHORT htons(USHORT value) { return __builtin_bswap16(value); }
inline USHORT ntohs(USHORT value) { return __builtin_bswap16(value); }
inline ULONG htonl(ULONG value) { return __builtin_bswap32(value); }
inline ULONG ntohl(ULONG value) { return __builtin_bswap32(value); }
