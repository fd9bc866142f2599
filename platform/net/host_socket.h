// The host's TCP sockets behind the device's Winsock calls, kept in a file of their own so
// that the host's socket declarations and the device's never meet. Addresses and ports are in
// network byte order; failures return -1 with the matching WSA error in LastError().
#pragma once

#include <cstddef>
#include <cstdint>

namespace net::host {

int OpenStream();
int Bind(int fd, uint32_t address, uint16_t port);
// The backlog that asks for the longest queue of pending connections the host allows.
inline constexpr int kMostPending = -1;
int Listen(int fd, int backlog);
int Accept(int fd, uint32_t* address, uint16_t* port);
int Connect(int fd, uint32_t address, uint16_t port);
int LocalName(int fd, uint32_t* address, uint16_t* port);
long Receive(int fd, void* buffer, size_t size, bool peek);
long Send(int fd, const void* buffer, size_t size);
// Sends what the socket takes now without blocking: the count sent, 0 when it takes nothing now.
long SendSome(int fd, const void* buffer, size_t size);

// A socket to watch: whether reading or writing would not block (an error or the peer's end
// counts as ready, so the call that follows reports it).
struct Watch {
  int fd;
  bool read;
  bool write;
  bool readable = false;
  bool writable = false;
};
// Waits up to milliseconds (negative: no limit) until a watched socket is ready; the number of
// sockets ready, 0 when the time ran out.
int Poll(Watch* watches, size_t count, int milliseconds);
int Shutdown(int fd, int how);  // 0 receive, 1 send, 2 both
void Close(int fd);

// The WSA error of the last failed call on this thread.
int LastError();

}  // namespace net::host
