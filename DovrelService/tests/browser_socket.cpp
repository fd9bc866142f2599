#include "browser_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

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

std::vector<std::string> ExchangeAtOnce(uint16_t port, const std::string& request, size_t count, int boundMs)
{
  struct Browser {
    int fd = -1;
    bool sent = false;
    std::string answer;
  };
  std::vector<Browser> browsers(count);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  for (Browser& browser : browsers) {
    browser.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (browser.fd >= 0 && ::connect(browser.fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 &&
        errno != EINPROGRESS) {
      ::close(browser.fd);
      browser.fd = -1;
    }
  }
  auto finish = [](Browser& browser) {
    ::close(browser.fd);
    browser.fd = -1;
  };
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  for (;;) {
    std::vector<pollfd> watches;
    std::vector<Browser*> watched;
    for (Browser& browser : browsers) {
      if (browser.fd >= 0) {
        watches.push_back({browser.fd, static_cast<short>(browser.sent ? POLLIN : POLLOUT), 0});
        watched.push_back(&browser);
      }
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (watches.empty() || left.count() <= 0) {
      break;
    }
    if (::poll(watches.data(), watches.size(), static_cast<int>(left.count())) < 0 && errno != EINTR) {
      break;
    }
    for (size_t i = 0; i < watches.size(); ++i) {
      Browser& browser = *watched[i];
      if (watches[i].revents == 0) {
        continue;
      }
      if (!browser.sent) {
        int error = 0;
        socklen_t length = sizeof error;
        ::getsockopt(browser.fd, SOL_SOCKET, SO_ERROR, &error, &length);
        // The request is small: a connected socket takes it whole.
        if (error != 0 || ::send(browser.fd, request.data(), request.size(), MSG_NOSIGNAL) !=
                              static_cast<ssize_t>(request.size())) {
          finish(browser);
        } else {
          browser.sent = true;
        }
        continue;
      }
      char buffer[4096];
      ssize_t got = ::recv(browser.fd, buffer, sizeof buffer, 0);
      if (got > 0) {
        browser.answer.append(buffer, static_cast<size_t>(got));
      } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        finish(browser);
      }
    }
  }
  std::vector<std::string> answers;
  for (Browser& browser : browsers) {
    if (browser.fd >= 0) {
      ::close(browser.fd);
      browser.answer.clear();  // not finished within the bound
    }
    answers.push_back(std::move(browser.answer));
  }
  return answers;
}

}  // namespace dovrel_test
