#include "loopback_listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <utility>
#include <vector>

namespace testgateway::detail {
namespace {

// How long accepting rests after running out of descriptors, memory or threads.
constexpr std::chrono::milliseconds kBackOff{50};

}  // namespace

void blockSigpipe() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

LoopbackListener::LoopbackListener(ConnectionHandler handler) : handler_(std::move(handler)) {}

LoopbackListener::~LoopbackListener() { stop(); }

void LoopbackListener::start(std::uint16_t port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::system_error(errno, std::generic_category(), "socket");
  int one = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 64) != 0) {
    int error = errno;
    ::close(fd);
    throw std::system_error(error, std::generic_category(), "bind 127.0.0.1:" + std::to_string(port));
  }
  socklen_t length = sizeof address;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  listenFd_ = fd;
  port_ = ntohs(address.sin_port);
  stopping_ = false;
  acceptThread_ = std::thread(&LoopbackListener::acceptLoop, this);
}

void LoopbackListener::stop() {
  if (listenFd_ < 0) return;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  stopped_.notify_all();
  ::shutdown(listenFd_, SHUT_RDWR);  // wakes the blocked accept
  if (acceptThread_.joinable()) acceptThread_.join();
  ::close(listenFd_);
  listenFd_ = -1;

  std::map<std::uint64_t, Connection> open;
  {
    std::lock_guard lock(mutex_);
    for (auto& [number, connection] : connections_) {
      if (connection.fd >= 0) ::shutdown(connection.fd, SHUT_RDWR);
    }
    open.swap(connections_);
  }
  for (auto& [number, connection] : open) {
    if (connection.thread.joinable()) connection.thread.join();
  }
}

void LoopbackListener::acceptLoop() {
  blockSigpipe();  // inherited by every connection thread
  std::uint64_t number = 0;
  bool backingOff = false;
  while (!stopping_) {
    int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
      int error = errno;
      if (error == EINTR || error == ECONNABORTED) continue;
      if (error == EMFILE || error == ENFILE || error == ENOBUFS || error == ENOMEM) {
        backOff(error, backingOff);
        continue;
      }
      break;  // shut down
    }
    std::unique_lock lock(mutex_);
    reapFinished();
    if (stopping_) {
      ::close(fd);
      break;
    }
    std::uint64_t next = number + 1;
    Connection& connection = connections_[next];
    connection.fd = fd;
    // Counted before the connection's thread starts: its answer may reach the peer before this
    // thread runs again, and a peer that got its answer must see the connection counted.
    ++accepted_;
    try {
      connection.thread = std::thread(&LoopbackListener::runConnection, this, next, fd);
    } catch (const std::system_error& failure) {
      --accepted_;
      connections_.erase(next);
      ::close(fd);
      lock.unlock();
      backOff(failure.code().value(), backingOff);
      continue;
    }
    number = next;
    backingOff = false;
  }
}

void LoopbackListener::backOff(int error, bool& backingOff) {
  ++acceptFailures_;
  if (!backingOff) {
    std::fprintf(stderr, "testgateway: cannot take a connection on 127.0.0.1:%u (%s); trying again\n",
                 static_cast<unsigned>(port_), std::strerror(error));
    backingOff = true;
  }
  std::unique_lock lock(mutex_);
  stopped_.wait_for(lock, kBackOff, [this] { return stopping_.load(); });
}

void LoopbackListener::runConnection(std::uint64_t number, int fd) {
  handler_(fd, number);
  // Closed under the lock, so stop() never shuts down a descriptor number already reused.
  std::lock_guard lock(mutex_);
  ::close(fd);
  auto found = connections_.find(number);
  if (found == connections_.end()) return;  // stop() has taken the table and joins us
  found->second.fd = -1;
  found->second.done = true;
}

void LoopbackListener::reapFinished() {
  for (auto it = connections_.begin(); it != connections_.end();) {
    if (it->second.done) {
      it->second.thread.join();
      it = connections_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace testgateway::detail
