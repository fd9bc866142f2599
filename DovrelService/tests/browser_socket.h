// The browser's end of a connection to the local gateway: a socket of the host, kept apart from
// the device's socket calls, whose names it shares.
#pragma once

#include <string>

namespace dovrel_test {

// On a socket kvtest::ConnectLoopback connected:
void SendFromBrowser(int browser, const std::string& bytes);
void EndBrowserSending(int browser);
// Everything received until the peer closed (or a read waited its time-out).
std::string ReadUntilClosed(int browser);
void CloseBrowser(int browser);

}  // namespace dovrel_test
