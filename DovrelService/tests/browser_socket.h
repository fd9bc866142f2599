// The browser's end of a connection to the local gateway: a socket of the host, kept apart from
// the device's socket calls, whose names it shares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dovrel_test {

// On a socket kvtest::ConnectLoopback connected:
void SendFromBrowser(int browser, const std::string& bytes);
void EndBrowserSending(int browser);
// Everything received until the peer closed (or a read waited its time-out).
std::string ReadUntilClosed(int browser);
void CloseBrowser(int browser);

// Many browsers at once: opens count connections to 127.0.0.1:port together, and on each, once
// it is connected, sends the request and takes everything the server sent until it closed. The
// answers in the order of the connections; one is empty when its connection failed or boundMs
// (for all of them) passed first.
std::vector<std::string> ExchangeAtOnce(uint16_t port, const std::string& request, size_t count, int boundMs);

}  // namespace dovrel_test
