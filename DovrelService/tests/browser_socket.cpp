#include "browser_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace dovrel_test {
namespace {

sockaddr_in Loopback(uint16_t port)
{
  sockaddr_in address = {};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

int ConnectBrowser(uint16_t port, int timeoutSeconds)
{
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  timeval timeout{timeoutSeconds, 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  sockaddr_in address = Loopback(port);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

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
