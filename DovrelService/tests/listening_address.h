// The device's service host run as a program of its own for the tests, as the device runs it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dovrel_test {

class HostProcess {
 public:
  HostProcess() = default;
  ~HostProcess();  // ends a host still running
  HostProcess(const HostProcess&) = delete;
  HostProcess& operator=(const HostProcess&) = delete;

  // Starts the host with the services to start and waits until it says it is ready; false when
  // it ended or did not say so within a generous time.
  bool Start(const std::vector<std::string>& services);
  // Ends it as the device does (SIGTERM); its exit code, or -1 when it did not end normally.
  int Stop();

 private:
  int pid_ = -1;
  int output_ = -1;
};

// The local address (as the kernel lists it, "0100007F" for 127.0.0.1) of the TCP socket that
// listens on the port; empty when none does.
std::string ListeningAddress(uint16_t port);

}  // namespace dovrel_test
