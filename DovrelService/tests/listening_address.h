// Which address a port is listened on, as the kernel lists it.
#pragma once

#include <cstdint>
#include <string>

namespace dovrel_test {

// The local address (as the kernel lists it, "0100007F" for 127.0.0.1) of the TCP socket that
// listens on the port; empty when none does.
std::string ListeningAddress(uint16_t port);

}  // namespace dovrel_test
