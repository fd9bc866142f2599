// What the gateway service's tests share: a device root with the client's stand-in installed
// where the service looks for the client, and a connection to the service that the test reads
// and writes as a browser would.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "browser_socket.h"
#include "device_files.h"
#include "net/winsock.h"
#include "services/service_registry.h"

namespace dovrel_test {

constexpr DWORD kGenerousWait = 30000;
constexpr char16_t kInstallFolder[] = u"\\Program Files\\Korvex";

// The bytes of a text in GBK, as the gateway's literal answers are written, and in UTF-8.
std::string Gbk(const char16_t* text);
std::string Utf8(std::u16string_view text);

// Copies a built program or library into the device root (relative host path).
void Install(const std::string& root, const char* built, const std::string& relative);

// The registry entry of the service "Dovrel": its library in the install folder, the prefix
// "PAY", the install folder, and no port.
services::ServiceEntry DovrelEntry();

// A device root whose registry names the install folder, with the client's stand-in installed
// there as "KorvexPortal.exe".
class ClientDevice : public common_test::DeviceRootTest {
 protected:
  void SetUp() override;
};

// One connection: the service's end as a device socket, the browser's end as a host socket.
class BrowserConnection {
 public:
  BrowserConnection();
  ~BrowserConnection();
  BrowserConnection(const BrowserConnection&) = delete;
  BrowserConnection& operator=(const BrowserConnection&) = delete;

  // The service's end, closed with the object unless Release handed it over.
  SOCKET service() const { return service_; }
  SOCKET Release();
  void Send(const std::string& bytes) const { SendFromBrowser(browser_, bytes); }
  // Shuts the browser's sending side.
  void EndSending() const { EndBrowserSending(browser_); }
  // Everything the service sent until it closed its end.
  std::string ReadAll() const { return ReadUntilClosed(browser_); }

 private:
  SOCKET service_ = INVALID_SOCKET;
  int browser_ = -1;
};

// A browser's whole exchange with 127.0.0.1:port: everything the server sent until it closed,
// or "(refused)" when nothing listens there.
std::string Exchange(USHORT port, const std::string& request);

}  // namespace dovrel_test
