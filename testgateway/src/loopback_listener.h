// A TCP listener on 127.0.0.1 that runs one thread per accepted connection and can end them
// all at once: stop() shuts every open connection down, so blocked reads return and the
// threads finish. Out of descriptors, memory or threads, it says so on standard error, waits a
// moment and goes on accepting.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace testgateway::detail {

class LoopbackListener {
 public:
  // Runs on the connection's own thread. The listener owns the socket and closes it after
  // the handler returns; a handler ends the connection early with ::shutdown, not ::close.
  using ConnectionHandler = std::function<void(int fd, std::uint64_t connectionNumber)>;

  explicit LoopbackListener(ConnectionHandler handler);
  ~LoopbackListener();
  LoopbackListener(const LoopbackListener&) = delete;
  LoopbackListener& operator=(const LoopbackListener&) = delete;

  // Binds 127.0.0.1:port (0: ephemeral) and starts accepting. Throws std::system_error.
  void start(std::uint16_t port);
  void stop();

  std::uint16_t port() const { return port_; }
  std::uint64_t accepted() const { return accepted_.load(); }
  // Connections that could not be taken for want of descriptors, memory or threads.
  std::uint64_t acceptFailures() const { return acceptFailures_.load(); }

 private:
  struct Connection {
    int fd = -1;
    std::thread thread;
    bool done = false;
  };

  void acceptLoop();
  // Counts a connection that could not be taken, says so at the start of a run of them, and
  // waits a moment (or until stop()).
  void backOff(int error, bool& backingOff);
  void runConnection(std::uint64_t number, int fd);
  void reapFinished();  // with mutex_ held

  ConnectionHandler handler_;
  int listenFd_ = -1;
  std::uint16_t port_ = 0;
  std::thread acceptThread_;
  std::atomic<bool> stopping_{false};
  std::atomic<std::uint64_t> accepted_{0};
  std::atomic<std::uint64_t> acceptFailures_{0};
  std::mutex mutex_;
  std::condition_variable stopped_;  // wakes a back-off
  std::map<std::uint64_t, Connection> connections_;
};

// Blocks SIGPIPE in the calling thread: a peer that went away makes writes fail with EPIPE
// instead of ending the process.
void blockSigpipe();

}  // namespace testgateway::detail
