// The device's socket calls: SOCKET values are handles of the device naming host sockets,
// bound and connected on the loopback interface only.
#include "net/winsock.h"

#include "base/lasterror.h"
#include "host_socket.h"
#include "kernel/clock.h"
#include "kernel/wait.h"
#include "kernel/handle_table.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// A host socket; its descriptor is closed when the last call using it has returned, so a
// closed socket's number is never reused under a call still blocked on it.
class Socket final : public kernel::Object {
 public:
  explicit Socket(int fd) : fd(fd) {}
  ~Socket() override { net::host::Close(fd); }
  bool ClosedByCloseHandle() const override { return false; }

  const int fd;
  std::atomic<bool> closed{false};
  std::atomic<DWORD> receiveTimeout{0};  // milliseconds; 0: none
  std::atomic<DWORD> sendTimeout{0};
};

// While the device clock is virtual it moves without waking a poll, so a wait with a time-out
// looks at the clock again this often (in real milliseconds).
constexpr int kVirtualSliceMs = 5;

// Waits until a watched socket is ready or the time-out on the device clock passed (INFINITE:
// none). The number ready, 0 after the time-out, -1 on a host failure.
int WaitReady(std::vector<net::host::Watch>& watches, DWORD milliseconds)
{
  kernel::Waiter waiter(false);
  kernel::clock::Timeout timeout(milliseconds, waiter);
  for (;;) {
    int64_t real = timeout.RealWait();
    int slice = milliseconds == INFINITE ? -1
                : real >= 0              ? static_cast<int>(std::min<int64_t>(real, INT_MAX))
                                         : kVirtualSliceMs;
    int ready = net::host::Poll(watches.data(), watches.size(), slice);
    if (ready != 0 || timeout.Expired()) {
      return ready;
    }
  }
}

int Fail(int error)
{
  SetLastError(static_cast<DWORD>(error));
  return SOCKET_ERROR;
}

// A failed host call: a socket closed under the call reports WSAEINTR, as a blocking call
// cancelled by closesocket does.
int HostFailure(const Socket& socket) { return Fail(socket.closed.load() ? WSAEINTR : net::host::LastError()); }

std::shared_ptr<Socket> Find(SOCKET s)
{
  auto socket = std::dynamic_pointer_cast<Socket>(kernel::LookupHandle(reinterpret_cast<HANDLE>(s)));
  if (!socket) {
    SetLastError(WSAENOTSOCK);
  }
  return socket;
}

SOCKET Adopt(int fd)
{
  HANDLE handle = kernel::InsertHandle(std::make_shared<Socket>(fd));
  if (!handle) {
    SetLastError(WSAEMFILE);
    return INVALID_SOCKET;
  }
  return reinterpret_cast<SOCKET>(handle);
}

// The port of a loopback address; false with the error set for any other address.
bool LoopbackPort(const sockaddr* name, int namelen, uint16_t* port)
{
  if (!name || namelen < static_cast<int>(sizeof(sockaddr_in))) {
    Fail(WSAEFAULT);
    return false;
  }
  const auto* address = reinterpret_cast<const sockaddr_in*>(name);
  if (address->sin_family != AF_INET) {
    Fail(WSAEAFNOSUPPORT);
    return false;
  }
  if (ntohl(address->sin_addr.s_addr) != INADDR_LOOPBACK) {
    Fail(WSAEADDRNOTAVAIL);
    return false;
  }
  *port = address->sin_port;
  return true;
}

bool FillName(sockaddr* name, int* namelen, uint32_t address, uint16_t port)
{
  if (!name || !namelen || *namelen < static_cast<int>(sizeof(sockaddr_in))) {
    Fail(WSAEFAULT);
    return false;
  }
  sockaddr_in filled{};
  filled.sin_family = AF_INET;
  filled.sin_port = port;
  filled.sin_addr.s_addr = address;
  std::memcpy(name, &filled, sizeof filled);
  *namelen = sizeof filled;
  return true;
}

}  // namespace

int WSAStartup(WORD wVersionRequested, LPWSADATA lpWSAData)
{
  if (!lpWSAData) {
    return WSAEFAULT;
  }
  if (LOBYTE(wVersionRequested) < 1) {
    return WSAVERNOTSUPPORTED;
  }
  *lpWSAData = WSADATA{};
  WORD highest = MAKEWORD(2, 2);
  bool above = LOBYTE(wVersionRequested) > 2 || (LOBYTE(wVersionRequested) == 2 && HIBYTE(wVersionRequested) > 2);
  lpWSAData->wVersion = above ? highest : wVersionRequested;
  lpWSAData->wHighVersion = highest;
  std::strcpy(lpWSAData->szDescription, "Loopback TCP sockets");
  std::strcpy(lpWSAData->szSystemStatus, "Running");
  return 0;
}

int WSACleanup() { return 0; }

int WSAGetLastError() { return static_cast<int>(GetLastError()); }

void WSASetLastError(int iError) { SetLastError(static_cast<DWORD>(iError)); }

SOCKET socket(int af, int type, int protocol)
{
  if (af != AF_INET) {
    Fail(WSAEAFNOSUPPORT);
    return INVALID_SOCKET;
  }
  if (type != SOCK_STREAM) {
    Fail(WSAESOCKTNOSUPPORT);
    return INVALID_SOCKET;
  }
  if (protocol != 0 && protocol != IPPROTO_TCP) {
    Fail(WSAEPROTONOSUPPORT);
    return INVALID_SOCKET;
  }
  int fd = net::host::OpenStream();
  if (fd < 0) {
    Fail(net::host::LastError());
    return INVALID_SOCKET;
  }
  return Adopt(fd);
}

int bind(SOCKET s, const sockaddr* name, int namelen)
{
  std::shared_ptr<Socket> socket = Find(s);
  uint16_t port = 0;
  if (!socket || !LoopbackPort(name, namelen, &port)) {
    return SOCKET_ERROR;
  }
  return net::host::Bind(socket->fd, htonl(INADDR_LOOPBACK), port) == 0 ? 0 : HostFailure(*socket);
}

int listen(SOCKET s, int backlog)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket) {
    return SOCKET_ERROR;
  }
  int pending = backlog == SOMAXCONN ? net::host::kMostPending : std::max(backlog, 1);
  return net::host::Listen(socket->fd, pending) == 0 ? 0 : HostFailure(*socket);
}

SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket) {
    return INVALID_SOCKET;
  }
  if (addr && (!addrlen || *addrlen < static_cast<int>(sizeof(sockaddr_in)))) {
    Fail(WSAEFAULT);
    return INVALID_SOCKET;
  }
  uint32_t address = 0;
  uint16_t port = 0;
  int fd = net::host::Accept(socket->fd, &address, &port);
  if (fd < 0) {
    HostFailure(*socket);
    return INVALID_SOCKET;
  }
  SOCKET accepted = Adopt(fd);
  if (accepted != INVALID_SOCKET && addr) {
    FillName(addr, addrlen, address, port);
  }
  return accepted;
}

int connect(SOCKET s, const sockaddr* name, int namelen)
{
  std::shared_ptr<Socket> socket = Find(s);
  uint16_t port = 0;
  if (!socket || !LoopbackPort(name, namelen, &port)) {
    return SOCKET_ERROR;
  }
  return net::host::Connect(socket->fd, htonl(INADDR_LOOPBACK), port) == 0 ? 0 : HostFailure(*socket);
}

int getsockname(SOCKET s, sockaddr* name, int* namelen)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket) {
    return SOCKET_ERROR;
  }
  uint32_t address = 0;
  uint16_t port = 0;
  if (net::host::LocalName(socket->fd, &address, &port) != 0) {
    return HostFailure(*socket);
  }
  return FillName(name, namelen, address, port) ? 0 : SOCKET_ERROR;
}

int recv(SOCKET s, char* buf, int len, int flags)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket) {
    return SOCKET_ERROR;
  }
  if (len < 0 || (!buf && len > 0)) {
    return Fail(WSAEFAULT);
  }
  if ((flags & ~MSG_PEEK) != 0) {
    return Fail(WSAEOPNOTSUPP);
  }
  if (DWORD limit = socket->receiveTimeout.load(); limit != 0) {
    std::vector<net::host::Watch> watch{{socket->fd, true, false}};
    int ready = WaitReady(watch, limit);
    if (ready <= 0) {
      return ready == 0 ? Fail(WSAETIMEDOUT) : HostFailure(*socket);
    }
  }
  long received = net::host::Receive(socket->fd, buf, static_cast<size_t>(len), (flags & MSG_PEEK) != 0);
  return received < 0 ? HostFailure(*socket) : static_cast<int>(received);
}

int send(SOCKET s, const char* buf, int len, int flags)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket) {
    return SOCKET_ERROR;
  }
  if (len < 0 || (!buf && len > 0)) {
    return Fail(WSAEFAULT);
  }
  if (flags != 0) {
    return Fail(WSAEOPNOTSUPP);
  }
  DWORD limit = socket->sendTimeout.load();
  if (limit == 0) {
    long sent = net::host::Send(socket->fd, buf, static_cast<size_t>(len));
    return sent < 0 ? HostFailure(*socket) : static_cast<int>(sent);
  }
  // Hands the bytes over as the socket takes them, within the time-out for the whole call.
  uint64_t deadline = kernel::clock::Now() + limit;
  int sent = 0;
  while (sent < len) {
    uint64_t now = kernel::clock::Now();
    std::vector<net::host::Watch> watch{{socket->fd, false, true}};
    int ready = now < deadline ? WaitReady(watch, static_cast<DWORD>(deadline - now)) : 0;
    if (ready <= 0) {
      return ready == 0 ? Fail(WSAETIMEDOUT) : HostFailure(*socket);
    }
    long count = net::host::SendSome(socket->fd, buf + sent, static_cast<size_t>(len - sent));
    if (count < 0) {
      return HostFailure(*socket);
    }
    sent += static_cast<int>(count);
  }
  return sent;
}

int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket) {
    return SOCKET_ERROR;
  }
  if (level != SOL_SOCKET) {
    return Fail(WSAEINVAL);
  }
  if (optname != SO_RCVTIMEO && optname != SO_SNDTIMEO) {
    return Fail(WSAENOPROTOOPT);
  }
  if (!optval || optlen < static_cast<int>(sizeof(DWORD))) {
    return Fail(WSAEFAULT);
  }
  DWORD milliseconds;
  std::memcpy(&milliseconds, optval, sizeof milliseconds);
  (optname == SO_RCVTIMEO ? socket->receiveTimeout : socket->sendTimeout).store(milliseconds);
  return 0;
}

int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket) {
    return SOCKET_ERROR;
  }
  if (level != SOL_SOCKET) {
    return Fail(WSAEINVAL);
  }
  if (optname != SO_RCVTIMEO && optname != SO_SNDTIMEO) {
    return Fail(WSAENOPROTOOPT);
  }
  if (!optval || !optlen || *optlen < static_cast<int>(sizeof(DWORD))) {
    return Fail(WSAEFAULT);
  }
  DWORD milliseconds = (optname == SO_RCVTIMEO ? socket->receiveTimeout : socket->sendTimeout).load();
  std::memcpy(optval, &milliseconds, sizeof milliseconds);
  *optlen = sizeof milliseconds;
  return 0;
}

int select(int, kv_fd_set* readfds, kv_fd_set* writefds, kv_fd_set* exceptfds, const timeval* timeout)
{
  kv_fd_set* sets[] = {readfds, writefds, exceptfds};
  UINT total = 0;
  for (kv_fd_set* set : sets) {
    if (set && set->fd_count > FD_SETSIZE) {
      return Fail(WSAEINVAL);
    }
    total += set ? set->fd_count : 0;
  }
  if (total == 0 || (timeout && (timeout->tv_sec < 0 || timeout->tv_usec < 0))) {
    return Fail(WSAEINVAL);
  }
  // The sockets stay alive for the wait; the watches follow the read set, then the write set.
  std::vector<std::shared_ptr<Socket>> sockets;
  std::vector<net::host::Watch> watches;
  for (int which = 0; which < 3; ++which) {
    for (UINT i = 0; sets[which] && i < sets[which]->fd_count; ++i) {
      std::shared_ptr<Socket> socket = Find(sets[which]->fd_array[i]);
      if (!socket) {
        return SOCKET_ERROR;
      }
      if (which < 2) {
        watches.push_back({socket->fd, which == 0, which == 1});
      }
      sockets.push_back(std::move(socket));
    }
  }
  DWORD milliseconds = INFINITE;
  if (timeout) {
    int64_t total = static_cast<int64_t>(timeout->tv_sec) * 1000 + (timeout->tv_usec + 999) / 1000;
    milliseconds = static_cast<DWORD>(std::min<int64_t>(total, INFINITE - 1));
  }
  int ready = WaitReady(watches, milliseconds);
  if (ready < 0) {
    return Fail(net::host::LastError());
  }
  size_t watch = 0;
  for (int which = 0; which < 2; ++which) {
    if (!sets[which]) {
      continue;
    }
    UINT kept = 0;
    for (UINT i = 0; i < sets[which]->fd_count; ++i, ++watch) {
      if (which == 0 ? watches[watch].readable : watches[watch].writable) {
        sets[which]->fd_array[kept++] = sets[which]->fd_array[i];
      }
    }
    sets[which]->fd_count = kept;
  }
  if (exceptfds) {
    exceptfds->fd_count = 0;
  }
  return ready;
}

int shutdown(SOCKET s, int how)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket) {
    return SOCKET_ERROR;
  }
  if (how < SD_RECEIVE || how > SD_BOTH) {
    return Fail(WSAEINVAL);
  }
  return net::host::Shutdown(socket->fd, how) == 0 ? 0 : HostFailure(*socket);
}

int closesocket(SOCKET s)
{
  std::shared_ptr<Socket> socket = Find(s);
  if (!socket || !kernel::RemoveHandle(reinterpret_cast<HANDLE>(s))) {
    return Fail(WSAENOTSOCK);
  }
  // Wakes calls blocked on the socket; the descriptor closes once they have returned.
  socket->closed.store(true);
  net::host::Shutdown(socket->fd, SD_BOTH);
  return 0;
}
