// A tiny HTTP proxy on 127.0.0.1 for the HTTP layer's proxy test: CONNECT tunnels and
// absolute-URI requests, to loopback targets only, with a count of what it carried.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace testgateway {

class LoopbackProxy {
 public:
  LoopbackProxy();
  ~LoopbackProxy();
  LoopbackProxy(const LoopbackProxy&) = delete;
  LoopbackProxy& operator=(const LoopbackProxy&) = delete;

  // Listens on 127.0.0.1 (port 0: an ephemeral one). Throws std::system_error.
  void start(std::uint16_t port = 0);
  void stop();

  std::uint16_t port() const;
  std::string address() const;  // "127.0.0.1:<port>", the form a proxy setting takes

  // Requests carried: each CONNECT and each forwarded request counts once.
  std::uint64_t requestCount() const;
  // Their request lines, e.g. "CONNECT 127.0.0.1:4430 HTTP/1.1".
  std::vector<std::string> requestLines() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace testgateway
