// Loopback TCP sockets as the service host uses them: listen, accept, receive, send, close.
#include "kernel/kernel.h"
#include "net/winsock.h"
#include "testing/clock.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr DWORD kGenerousWait = 30000;

sockaddr_in Loopback(USHORT port)
{
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A listening socket on a free loopback port.
SOCKET Listen(USHORT* port)
{
  SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  EXPECT_NE(listener, INVALID_SOCKET);
  sockaddr_in address = Loopback(0);
  EXPECT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  EXPECT_EQ(listen(listener, SOMAXCONN), 0);
  int length = sizeof address;
  EXPECT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
  *port = ntohs(address.sin_port);
  return listener;
}

struct Accepting {
  SOCKET listener;
  HANDLE calling = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SOCKET accepted = INVALID_SOCKET;
  int error = 0;
};

DWORD WINAPI AcceptOne(LPVOID parameter)
{
  auto* accepting = static_cast<Accepting*>(parameter);
  SetEvent(accepting->calling);
  accepting->accepted = accept(accepting->listener, nullptr, nullptr);
  accepting->error = WSAGetLastError();
  return 0;
}

TEST(Winsock, AServiceReceivesARequestAndAnswersIt)
{
  WSADATA data;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  EXPECT_EQ(data.wVersion, MAKEWORD(2, 2));
  USHORT port = 0;
  SOCKET listener = Listen(&port);

  SOCKET client = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(port);
  ASSERT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  sockaddr_in peer{};
  int peerLength = sizeof peer;
  SOCKET server = accept(listener, reinterpret_cast<sockaddr*>(&peer), &peerLength);
  ASSERT_NE(server, INVALID_SOCKET);
  EXPECT_EQ(peerLength, static_cast<int>(sizeof peer));
  EXPECT_EQ(ntohl(peer.sin_addr.s_addr), INADDR_LOOPBACK);

  const char request[] = "GET /gateway.do?service=order_pay HTTP/1.1\r\n\r\n";
  ASSERT_EQ(send(client, request, sizeof request - 1, 0), static_cast<int>(sizeof request - 1));
  char buffer[4096];
  EXPECT_EQ(recv(server, buffer, 3, MSG_PEEK), 3);
  int received = 0;
  while (received < static_cast<int>(sizeof request - 1)) {
    int count = recv(server, buffer + received, sizeof buffer - received, 0);
    ASSERT_GT(count, 0);
    received += count;
  }
  EXPECT_EQ(std::string(buffer, received), request);

  ASSERT_EQ(send(server, "result=success", 14, 0), 14);
  EXPECT_EQ(closesocket(server), 0);
  std::string answer;
  for (int count; (count = recv(client, buffer, sizeof buffer, 0)) > 0;) {
    answer.append(buffer, count);
  }
  EXPECT_EQ(answer, "result=success");  // then 0: the server closed

  EXPECT_EQ(closesocket(client), 0);
  EXPECT_EQ(closesocket(client), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  EXPECT_EQ(recv(server, buffer, 1, 0), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  closesocket(listener);
  EXPECT_EQ(WSACleanup(), 0);
}

TEST(Winsock, OnlyTheLoopbackInterface)
{
  SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
  struct Case {
    ULONG address;
    SHORT family;
    int error;
  } cases[] = {
      {0, AF_INET, WSAEADDRNOTAVAIL},           // any interface
      {0xC0A80001u, AF_INET, WSAEADDRNOTAVAIL},  // 192.168.0.1
      {INADDR_LOOPBACK, 23, WSAEAFNOSUPPORT},
  };
  for (const Case& c : cases) {
    sockaddr_in address = Loopback(0);
    address.sin_addr.s_addr = htonl(c.address);
    address.sin_family = c.family;
    EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), c.error);
    EXPECT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), c.error);
  }
  EXPECT_EQ(socket(AF_INET, 2, 0), INVALID_SOCKET);  // datagrams
  EXPECT_EQ(WSAGetLastError(), WSAESOCKTNOSUPPORT);
  EXPECT_FALSE(CloseHandle(reinterpret_cast<HANDLE>(s)));  // a socket is closed with closesocket
  EXPECT_EQ(closesocket(s), 0);
}

TEST(Winsock, ClosingASocketEndsAnAcceptBlockedOnIt)
{
  USHORT port = 0;
  Accepting accepting{Listen(&port)};
  HANDLE thread = CreateThread(nullptr, 0, AcceptOne, &accepting, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(accepting.calling, kGenerousWait), WAIT_OBJECT_0);
  EXPECT_EQ(closesocket(accepting.listener), 0);
  ASSERT_EQ(WaitForSingleObject(thread, kGenerousWait), WAIT_OBJECT_0);
  EXPECT_EQ(accepting.accepted, INVALID_SOCKET);
  // Interrupted in the call, or (closed before the call began) no socket any more.
  EXPECT_TRUE(accepting.error == WSAEINTR || accepting.error == WSAENOTSOCK) << accepting.error;
  CloseHandle(thread);
  CloseHandle(accepting.calling);
}

// A connected pair on loopback: the client's socket and the server's.
struct Pair {
  SOCKET client = INVALID_SOCKET;
  SOCKET server = INVALID_SOCKET;
  Pair()
  {
    USHORT port = 0;
    SOCKET listener = Listen(&port);
    client = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(port);
    EXPECT_EQ(connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    server = accept(listener, nullptr, nullptr);
    EXPECT_NE(server, INVALID_SOCKET);
    closesocket(listener);
  }
  ~Pair()
  {
    closesocket(client);
    closesocket(server);
  }
};

void StartVirtualClock() { device::testing::UseVirtualClock(SYSTEMTIME{2026, 1, 1, 5, 9, 0, 0, 0}); }

// Runs a call on a thread of its own; its result and error are read once the thread has ended.
struct CallOnThread {
  std::function<int()> call;
  int result = 0;
  int error = 0;
  HANDLE thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);

  static DWORD WINAPI Run(LPVOID parameter)
  {
    auto* self = static_cast<CallOnThread*>(parameter);
    self->result = self->call();
    self->error = WSAGetLastError();
    return 0;
  }
  bool Ended()
  {
    bool ended = WaitForSingleObject(thread, kGenerousWait) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
  }
};

TEST(Winsock, ReceiveTimeOutEndsAReadFromASilentPeer)
{
  StartVirtualClock();
  Pair pair;
  DWORD limit = 5000;
  ASSERT_EQ(setsockopt(pair.server, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit), 0);
  DWORD read = 0;
  int length = sizeof read;
  ASSERT_EQ(getsockopt(pair.server, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<char*>(&read), &length), 0);
  EXPECT_EQ(read, limit);

  char buffer[16];
  CallOnThread reading{[&] { return recv(pair.server, buffer, sizeof buffer, 0); }};
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(limit);
  ASSERT_TRUE(reading.Ended());
  EXPECT_EQ(reading.result, SOCKET_ERROR);
  EXPECT_EQ(reading.error, WSAETIMEDOUT);

  // The socket still works: what the peer sends later arrives.
  ASSERT_EQ(send(pair.client, "GET /", 5, 0), 5);
  EXPECT_EQ(recv(pair.server, buffer, sizeof buffer, 0), 5);
}

TEST(Winsock, SendTimeOutEndsAWriteToAPeerThatDoesNotRead)
{
  StartVirtualClock();
  Pair pair;
  DWORD limit = 3000;
  ASSERT_EQ(setsockopt(pair.server, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit), 0);
  std::vector<char> large(16 << 20, 'x');  // far more than the loopback buffers hold
  CallOnThread writing{[&] { return send(pair.server, large.data(), static_cast<int>(large.size()), 0); }};
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(limit);
  ASSERT_TRUE(writing.Ended());
  EXPECT_EQ(writing.result, SOCKET_ERROR);
  EXPECT_EQ(writing.error, WSAETIMEDOUT);
}

TEST(Winsock, OnlyTheTimeOutOptionsAreOffered)
{
  Pair pair;
  DWORD value = 100;
  struct Case {
    int level, option, length, error;
  } cases[] = {
      {SOL_SOCKET, 0x0004, sizeof value, WSAENOPROTOOPT},  // reusing addresses
      {IPPROTO_TCP, SO_RCVTIMEO, sizeof value, WSAEINVAL},
      {SOL_SOCKET, SO_RCVTIMEO, 2, WSAEFAULT},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(setsockopt(pair.server, c.level, c.option, reinterpret_cast<const char*>(&value), c.length), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), c.error);
  }
  EXPECT_EQ(setsockopt(INVALID_SOCKET, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&value), 4), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST(Winsock, SelectReportsTheReadySockets)
{
  USHORT port = 0;
  SOCKET listener = Listen(&port);
  Pair pair;
  timeval now{0, 0};

  fd_set readable, writable;
  FD_ZERO(&readable);
  FD_SET(listener, &readable);
  FD_SET(pair.server, &readable);
  FD_ZERO(&writable);
  FD_SET(pair.client, &writable);
  EXPECT_EQ(select(0, &readable, &writable, nullptr, &now), 1);  // only the client can write
  EXPECT_EQ(readable.fd_count, 0u);
  EXPECT_TRUE(FD_ISSET(pair.client, &writable));

  // A pending connection makes the listener readable; data the server.
  SOCKET caller = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(port);
  ASSERT_EQ(connect(caller, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(send(pair.client, "x", 1, 0), 1);
  for (SOCKET s : {listener, pair.server}) {
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    EXPECT_EQ(select(0, &readable, nullptr, nullptr, nullptr), 1);
    EXPECT_TRUE(FD_ISSET(s, &readable));
  }

  fd_set empty;
  FD_ZERO(&empty);
  EXPECT_EQ(select(0, &empty, nullptr, nullptr, &now), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
  fd_set stale;
  FD_ZERO(&stale);
  FD_SET(caller, &stale);
  closesocket(caller);
  EXPECT_EQ(select(0, &stale, nullptr, nullptr, &now), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
  closesocket(listener);
}

TEST(Winsock, SelectWaitsItsTimeOut)
{
  StartVirtualClock();
  Pair pair;
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(pair.server, &readable);
  timeval limit{2, 500000};
  CallOnThread waiting{[&] { return select(0, &readable, nullptr, nullptr, &limit); }};
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(2500);
  ASSERT_TRUE(waiting.Ended());
  EXPECT_EQ(waiting.result, 0);
  EXPECT_EQ(readable.fd_count, 0u);
}

}  // namespace
