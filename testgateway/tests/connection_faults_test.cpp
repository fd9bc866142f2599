// The gateway under faults at the connection level: malformed requests and other methods on
// the service path are answered, idle connections are closed, and running out of descriptors
// does not stop it accepting.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "test_support.h"
#include "testgateway/test_gateway.h"

namespace testgateway {
namespace {

using testing::postOperation;

int Connect(std::uint16_t port) {
  int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

struct Exchange {
  std::string answer;  // everything the gateway sent
  bool closed = false;  // it closed the connection within the bound
};

// Sends the bytes (maybe none) and reads until the gateway closes the connection, for at most
// a generous bound.
Exchange Send(std::uint16_t port, const std::string& bytes) {
  Exchange exchange;
  int fd = Connect(port);
  if (fd < 0) return exchange;
  timeval bound{static_cast<time_t>(kGenerousWait.count() / 1000), 0};
  ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
  std::string_view rest = bytes;
  while (!rest.empty()) {
    ssize_t n = ::send(fd, rest.data(), rest.size(), MSG_NOSIGNAL);
    if (n <= 0) break;
    rest.remove_prefix(static_cast<std::size_t>(n));
  }
  char chunk[4096];
  for (;;) {
    ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
    if (n <= 0) {
      exchange.closed = n == 0;
      break;
    }
    exchange.answer.append(chunk, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return exchange;
}

const std::string kHead = "POST /home/mobile.htm HTTP/1.1\r\nHost: 127.0.0.1\r\n";

TEST(GatewayConnections, AnswersMalformedRequestsWith400AndCloses) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"garbage", "hello, gateway\r\n\r\n"},
      {"no version", "POST /home/mobile.htm\r\n\r\n"},
      {"another protocol", "POST /home/mobile.htm SPDY/3\r\n\r\n"},
      {"header without colon", kHead + "Cookie JSESSIONID=1\r\n\r\n"},
      {"over-long header", kHead + "X-Padding: " + std::string(70000, 'a') + "\r\n\r\n"},
      {"Content-Length not a number", kHead + "Content-Length: ten\r\n\r\n"},
      {"negative Content-Length", kHead + "Content-Length: -1\r\n\r\n"},
      {"Content-Length past any body", kHead + "Content-Length: 99999999999\r\n\r\n"},
      {"bad chunk size", kHead + "Transfer-Encoding: chunked\r\n\r\nzz\r\n"},
      {"chunk without its line end", kHead + "Transfer-Encoding: chunked\r\n\r\n2\r\nabcd\r\n0\r\n\r\n"},
  };
  TestGateway gateway;
  gateway.start();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Exchange exchange = Send(gateway.httpPort(), c.bytes);
    EXPECT_EQ(exchange.answer.rfind("HTTP/1.1 400 Bad Request\r\n", 0), 0u) << exchange.answer;
    EXPECT_NE(exchange.answer.find("Connection: close\r\n"), std::string::npos);
    EXPECT_TRUE(exchange.closed);
  }
  EXPECT_TRUE(gateway.requests().empty());
}

TEST(GatewayConnections, AnswersOtherMethodsOnTheServicePathWith405) {
  TestGateway gateway;
  gateway.servePage("/page.htm", Reply::http(200, "page", "text/html"));
  gateway.start();
  httplib::Client client(gateway.httpUrl());
  client.set_keep_alive(true);
  for (const char* method : {"GET", "PUT", "DELETE"}) {
    SCOPED_TRACE(method);
    httplib::Request request;
    request.method = method;
    request.path = "/home/mobile.htm?operationType=login";
    auto result = client.send(request);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->status, 405);
    EXPECT_EQ(result->get_header_value("Allow"), "POST");
  }
  EXPECT_EQ(client.Get("/page.htm")->status, 200) << "other paths take any method";
  auto posted = postOperation(client, R"({"operationType":"login"})");
  ASSERT_TRUE(posted);
  EXPECT_EQ(posted->status, 200) << "the connection stays usable";
  EXPECT_EQ(gateway.connectionsAccepted(), 1u);
  ASSERT_EQ(gateway.requests().size(), 2u) << "the refused requests are not recorded";
  EXPECT_EQ(gateway.requests()[1].operation, "login");
}

TEST(GatewayConnections, ClosesConnectionsThatStayIdle) {
  GatewayOptions options;
  options.idleTimeout = std::chrono::milliseconds(200);
  TestGateway gateway(options);
  gateway.start();
  Exchange silent = Send(gateway.httpPort(), "");
  EXPECT_TRUE(silent.closed);
  EXPECT_EQ(silent.answer, "");

  std::string body = testing::requestBody(R"({"operationType":"queryBalance"})");
  Exchange afterAnswer = Send(gateway.httpPort(), kHead + "Content-Type: " + testing::kFormType +
                                                      "\r\nContent-Length: " + std::to_string(body.size()) +
                                                      "\r\n\r\n" + body);
  EXPECT_EQ(afterAnswer.answer.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << afterAnswer.answer;
  EXPECT_TRUE(afterAnswer.closed) << "a kept-alive connection is closed once idle";
}

// The highest descriptor the process has open.
int HighestDescriptor() {
  int highest = 2;
  if (DIR* folder = ::opendir("/proc/self/fd")) {
    while (dirent* entry = ::readdir(folder)) highest = std::max(highest, std::atoi(entry->d_name));
    ::closedir(folder);
  }
  return highest;
}

TEST(GatewayConnections, GoesOnAcceptingAfterRunningOutOfDescriptors) {
  TestGateway gateway;
  gateway.start();
  rlimit normal{};
  ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &normal), 0);
  rlimit low = normal;
  low.rlim_cur = static_cast<rlim_t>(HighestDescriptor() + 16);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);

  // The free places below the limit are filled but for a few. Clients take descriptors on this
  // side and the gateway one per connection it takes, until none is left; then one last
  // client, in a place kept for it, connects where the gateway cannot take it.
  std::vector<int> fillers;
  for (int fd; (fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;) fillers.push_back(fd);
  ASSERT_GT(fillers.size(), 8u);
  for (int i = 0; i < 7; ++i) {
    ::close(fillers.back());
    fillers.pop_back();
  }
  int kept = fillers.back();
  fillers.pop_back();
  std::vector<int> clients;
  for (int fd; (fd = Connect(gateway.httpPort())) >= 0;) clients.push_back(fd);
  ::close(kept);
  int last = Connect(gateway.httpPort());
  EXPECT_GE(last, 0);
  auto deadline = std::chrono::steady_clock::now() + kGenerousWait;
  while (gateway.acceptFailures() == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_GT(gateway.acceptFailures(), 0u) << "the gateway ran out of descriptors";

  for (int fd : clients) ::close(fd);
  for (int fd : fillers) ::close(fd);
  ::close(last);
  ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &normal), 0);
  httplib::Client client(gateway.httpUrl());
  client.set_read_timeout(kGenerousWait.count() / 1000, 0);
  auto answer = postOperation(client, R"({"operationType":"queryBalance"})");
  ASSERT_TRUE(answer) << "the gateway answers again";
  EXPECT_EQ(answer->status, 200);
}

}  // namespace
}  // namespace testgateway
