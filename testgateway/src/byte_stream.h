// A connection's bytes, plain or through TLS.
#pragma once

#include <openssl/ssl.h>

#include <cstddef>
#include <string_view>
#include <sys/types.h>

namespace testgateway::detail {

class ByteStream {
 public:
  virtual ~ByteStream() = default;
  // Up to size bytes; 0 at the end of the stream, negative on an error.
  virtual ssize_t read(char* buffer, std::size_t size) = 0;
  virtual bool writeAll(std::string_view bytes) = 0;
  // Ends the stream politely before the connection closes (TLS sends its close alert).
  virtual void finish() {}
};

class SocketStream final : public ByteStream {
 public:
  explicit SocketStream(int fd) : fd_(fd) {}
  ssize_t read(char* buffer, std::size_t size) override;
  bool writeAll(std::string_view bytes) override;

 private:
  int fd_;
};

class TlsStream final : public ByteStream {
 public:
  TlsStream(SSL_CTX* context, int fd);
  ~TlsStream() override;
  TlsStream(const TlsStream&) = delete;
  TlsStream& operator=(const TlsStream&) = delete;

  // The server side of the handshake; false when the client refused or went away.
  bool accept();
  ssize_t read(char* buffer, std::size_t size) override;
  bool writeAll(std::string_view bytes) override;
  void finish() override;

 private:
  SSL* ssl_;
};

// True when the peer closes its side of the connection within timeoutMs.
bool peerClosed(int fd, int timeoutMs);

// Waits until the peer closes its side of the connection (true) or the predicate, checked
// every few milliseconds, says to stop waiting (false).
template <typename StopWaiting>
bool waitForPeerClose(int fd, StopWaiting stopWaiting) {
  while (!stopWaiting()) {
    if (peerClosed(fd, 5)) return true;
  }
  return false;
}

}  // namespace testgateway::detail
