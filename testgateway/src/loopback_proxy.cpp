#include "testgateway/loopback_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <charconv>
#include <mutex>
#include <optional>

#include "byte_stream.h"
#include "http_message.h"
#include "loopback_listener.h"

namespace testgateway {
namespace {

using detail::RequestHead;
using detail::SocketStream;

struct HostPort {
  std::string host;
  std::uint16_t port = 0;
};

std::optional<HostPort> splitHostPort(std::string_view text, std::uint16_t defaultPort) {
  HostPort result;
  auto colon = text.rfind(':');
  result.host = std::string(text.substr(0, colon));
  result.port = defaultPort;
  if (colon != std::string_view::npos) {
    std::string_view digits = text.substr(colon + 1);
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), result.port);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  }
  return result;
}

// A connection to a loopback host; -1 for any other host or when nobody listens.
int connectLoopback(const HostPort& target) {
  in_addr address{};
  if (target.host == "localhost") {
    address.s_addr = htonl(INADDR_LOOPBACK);
  } else if (inet_pton(AF_INET, target.host.c_str(), &address) != 1 || (ntohl(address.s_addr) >> 24) != 127) {
    return -1;
  }
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in peer{};
  peer.sin_family = AF_INET;
  peer.sin_port = htons(target.port);
  peer.sin_addr = address;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Copies bytes both ways until either side closes.
void relay(int client, int upstream) {
  char buffer[16384];
  for (;;) {
    pollfd fds[2] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) return;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].revents == 0) continue;
      ssize_t n = ::recv(fds[i].fd, buffer, sizeof buffer, 0);
      if (n <= 0 || !SocketStream(fds[1 - i].fd).writeAll(std::string_view(buffer, static_cast<std::size_t>(n)))) {
        return;
      }
    }
  }
}

void refuse(SocketStream& client, int status) {
  client.writeAll(detail::formatResponse(status, {{"Connection", "close"}}, {}));
}

}  // namespace

struct LoopbackProxy::Impl {
  Impl() : listener([this](int fd, std::uint64_t) { serve(fd); }) {}

  void serve(int fd);

  detail::LoopbackListener listener;
  mutable std::mutex mutex;
  std::vector<std::string> lines;
};

namespace {

// CONNECT host:port: a byte tunnel to the target.
void tunnel(int fd, detail::RequestReader& reader, const RequestHead& head) {
  SocketStream client(fd);
  auto target = splitHostPort(head.target, 443);
  int upstream = target ? connectLoopback(*target) : -1;
  if (upstream < 0) return refuse(client, 502);
  if (client.writeAll("HTTP/1.1 200 Connection established\r\n\r\n") &&
      SocketStream(upstream).writeAll(reader.takeBuffered())) {
    relay(fd, upstream);
  }
  ::close(upstream);
}

// METHOD http://host:port/path: the request passed on in origin form, one per connection.
void forward(int fd, detail::RequestReader& reader, const RequestHead& head) {
  SocketStream client(fd);
  constexpr std::string_view scheme = "http://";
  if (head.target.rfind(scheme, 0) != 0) return refuse(client, 400);
  std::string_view rest = std::string_view(head.target).substr(scheme.size());
  auto slash = rest.find('/');
  auto target = splitHostPort(rest.substr(0, slash), 80);
  std::string path = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));
  auto body = reader.readBody(head);
  if (!target || !body) return refuse(client, 400);
  int upstream = connectLoopback(*target);
  if (upstream < 0) return refuse(client, 502);

  std::string request = head.method + " " + path + " " + head.version + "\r\n";
  for (const auto& [name, value] : head.headers) {
    bool hopByHop = detail::equalsIgnoringCase(name, "Proxy-Connection") ||
                    detail::equalsIgnoringCase(name, "Connection") ||
                    detail::equalsIgnoringCase(name, "Transfer-Encoding") ||
                    detail::equalsIgnoringCase(name, "Content-Length");
    if (!hopByHop) request += name + ": " + value + "\r\n";
  }
  request += "Connection: close\r\nContent-Length: " + std::to_string(body->size()) + "\r\n\r\n" + *body;
  if (SocketStream(upstream).writeAll(request)) relay(fd, upstream);
  ::close(upstream);
}

}  // namespace

void LoopbackProxy::Impl::serve(int fd) {
  SocketStream client(fd);
  detail::RequestReader reader(client);
  auto head = reader.readHead();
  if (!head) return;
  {
    std::lock_guard lock(mutex);
    lines.push_back(head->method + " " + head->target + " " + head->version);
  }
  if (head->method == "CONNECT") {
    tunnel(fd, reader, *head);
  } else {
    forward(fd, reader, *head);
  }
}

LoopbackProxy::LoopbackProxy() : impl_(std::make_unique<Impl>()) {}

LoopbackProxy::~LoopbackProxy() { stop(); }

void LoopbackProxy::start(std::uint16_t port) { impl_->listener.start(port); }

void LoopbackProxy::stop() { impl_->listener.stop(); }

std::uint16_t LoopbackProxy::port() const { return impl_->listener.port(); }

std::string LoopbackProxy::address() const { return "127.0.0.1:" + std::to_string(port()); }

std::uint64_t LoopbackProxy::requestCount() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->lines.size();
}

std::vector<std::string> LoopbackProxy::requestLines() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->lines;
}

}  // namespace testgateway
