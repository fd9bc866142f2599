#include "host_socket.h"

#include "net/winsock_errors.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <poll.h>
#include <vector>
#include <sys/socket.h>
#include <unistd.h>

namespace net::host {
namespace {

thread_local int lastError = 0;

int Fail()
{
  switch (errno) {
    case EINTR: lastError = WSAEINTR; break;
    case EBADF: lastError = WSAENOTSOCK; break;
    case EFAULT: lastError = WSAEFAULT; break;
    case EMFILE: case ENFILE: lastError = WSAEMFILE; break;
    case EAGAIN: lastError = WSAEWOULDBLOCK; break;
    case ENOTSOCK: lastError = WSAENOTSOCK; break;
    case EMSGSIZE: lastError = WSAEMSGSIZE; break;
    case EOPNOTSUPP: lastError = WSAEOPNOTSUPP; break;
    case EADDRINUSE: lastError = WSAEADDRINUSE; break;
    case EADDRNOTAVAIL: lastError = WSAEADDRNOTAVAIL; break;
    case ENETDOWN: lastError = WSAENETDOWN; break;
    case ECONNABORTED: lastError = WSAECONNABORTED; break;
    case ECONNRESET: case EPIPE: lastError = WSAECONNRESET; break;
    case ENOBUFS: case ENOMEM: lastError = WSAENOBUFS; break;
    case EISCONN: lastError = WSAEISCONN; break;
    case ENOTCONN: lastError = WSAENOTCONN; break;
    case ETIMEDOUT: lastError = WSAETIMEDOUT; break;
    case ECONNREFUSED: lastError = WSAECONNREFUSED; break;
    default: lastError = WSAEINVAL; break;
  }
  return -1;
}

sockaddr_in Address(uint32_t address, uint16_t port)
{
  sockaddr_in name{};
  name.sin_family = AF_INET;
  name.sin_port = port;
  name.sin_addr.s_addr = address;
  return name;
}

template <class Call>
auto Retry(Call call)
{
  for (;;) {
    auto result = call();
    if (result >= 0 || errno != EINTR) {
      return result;
    }
  }
}

}  // namespace

int OpenStream()
{
  int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    return Fail();
  }
  int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  return fd;
}

int Bind(int fd, uint32_t address, uint16_t port)
{
  sockaddr_in name = Address(address, port);
  return bind(fd, reinterpret_cast<sockaddr*>(&name), sizeof name) == 0 ? 0 : Fail();
}

int Listen(int fd, int backlog)
{
  return listen(fd, backlog == kMostPending ? SOMAXCONN : backlog) == 0 ? 0 : Fail();
}

int Accept(int fd, uint32_t* address, uint16_t* port)
{
  sockaddr_in name{};
  socklen_t length = sizeof name;
  int accepted = Retry([&] { return accept4(fd, reinterpret_cast<sockaddr*>(&name), &length, SOCK_CLOEXEC); });
  if (accepted < 0) {
    return Fail();
  }
  *address = name.sin_addr.s_addr;
  *port = name.sin_port;
  return accepted;
}

int Connect(int fd, uint32_t address, uint16_t port)
{
  sockaddr_in name = Address(address, port);
  return Retry([&] { return connect(fd, reinterpret_cast<sockaddr*>(&name), sizeof name); }) == 0 ? 0 : Fail();
}

int LocalName(int fd, uint32_t* address, uint16_t* port)
{
  sockaddr_in name{};
  socklen_t length = sizeof name;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&name), &length) != 0) {
    return Fail();
  }
  *address = name.sin_addr.s_addr;
  *port = name.sin_port;
  return 0;
}

long Receive(int fd, void* buffer, size_t size, bool peek)
{
  long received = Retry([&] { return recv(fd, buffer, size, peek ? MSG_PEEK : 0); });
  return received >= 0 ? received : Fail();
}

long Send(int fd, const void* buffer, size_t size)
{
  size_t sent = 0;
  while (sent < size) {
    long count = Retry([&] { return send(fd, static_cast<const char*>(buffer) + sent, size - sent, MSG_NOSIGNAL); });
    if (count < 0) {
      return Fail();
    }
    sent += static_cast<size_t>(count);
  }
  return static_cast<long>(sent);
}

long SendSome(int fd, const void* buffer, size_t size)
{
  long count = Retry([&] { return send(fd, buffer, size, MSG_NOSIGNAL | MSG_DONTWAIT); });
  if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
    return 0;
  }
  return count >= 0 ? count : Fail();
}

int Poll(Watch* watches, size_t count, int milliseconds)
{
  std::vector<pollfd> polled(count);
  for (size_t i = 0; i < count; ++i) {
    polled[i] = {watches[i].fd, static_cast<short>((watches[i].read ? POLLIN : 0) | (watches[i].write ? POLLOUT : 0)), 0};
  }
  int result = Retry([&] { return poll(polled.data(), polled.size(), milliseconds); });
  if (result < 0) {
    return Fail();
  }
  int ready = 0;
  for (size_t i = 0; i < count; ++i) {
    bool failed = (polled[i].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0;
    watches[i].readable = watches[i].read && (failed || (polled[i].revents & POLLIN) != 0);
    watches[i].writable = watches[i].write && (failed || (polled[i].revents & POLLOUT) != 0);
    ready += watches[i].readable + watches[i].writable;
  }
  return ready;
}

int Shutdown(int fd, int how)
{
  int host = how == 0 ? SHUT_RD : how == 1 ? SHUT_WR : SHUT_RDWR;
  return shutdown(fd, host) == 0 ? 0 : Fail();
}

void Close(int fd) { close(fd); }

int LastError() { return lastError; }

}  // namespace net::host
