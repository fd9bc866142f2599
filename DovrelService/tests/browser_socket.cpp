#include "browser_socket.h"

#include <sys/socket.h>
#include <unistd.h>

namespace dovrel_test {

void SendFromBrowser(int browser, const std::string& bytes)
{
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t done = ::send(browser, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (done <= 0) {
      return;
    }
    sent += static_cast<size_t>(done);
  }
}

void EndBrowserSending(int browser) { ::shutdown(browser, SHUT_WR); }

std::string ReadUntilClosed(int browser)
{
  std::string bytes;
  char buffer[4096];
  for (;;) {
    ssize_t got = ::recv(browser, buffer, sizeof buffer, 0);
    if (got <= 0) {
      return bytes;
    }
    bytes.append(buffer, static_cast<size_t>(got));
  }
}

void CloseBrowser(int browser) { ::close(browser); }

}  // namespace dovrel_test
