// Loopback TCP sockets as the service host uses them: listen, accept, receive, send, close.
#include "kernel/kernel.h"
#include "net/winsock.h"

#include <gtest/gtest.h>

#include <cstring>

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

}  // namespace
