#include "byte_stream.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace testgateway::detail {

ssize_t SocketStream::read(char* buffer, std::size_t size) {
  for (;;) {
    ssize_t n = ::recv(fd_, buffer, size, 0);
    if (n >= 0 || errno != EINTR) return n;
  }
}

bool SocketStream::writeAll(std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

TlsStream::TlsStream(SSL_CTX* context, int fd) : ssl_(SSL_new(context)) {
  if (ssl_ != nullptr) SSL_set_fd(ssl_, fd);
}

TlsStream::~TlsStream() {
  if (ssl_ != nullptr) SSL_free(ssl_);
}

bool TlsStream::accept() { return ssl_ != nullptr && SSL_accept(ssl_) == 1; }

ssize_t TlsStream::read(char* buffer, std::size_t size) {
  std::size_t got = 0;
  if (SSL_read_ex(ssl_, buffer, size, &got) == 1) return static_cast<ssize_t>(got);
  return SSL_get_error(ssl_, 0) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
}

bool TlsStream::writeAll(std::string_view bytes) {
  while (!bytes.empty()) {
    std::size_t written = 0;
    if (SSL_write_ex(ssl_, bytes.data(), bytes.size(), &written) != 1) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

void TlsStream::finish() { SSL_shutdown(ssl_); }

bool peerClosed(int fd, int timeoutMs) {
  pollfd entry{fd, POLLRDHUP, 0};
  int ready = ::poll(&entry, 1, timeoutMs);
  return ready > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) != 0;
}

}  // namespace testgateway::detail
