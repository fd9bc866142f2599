// The HTTP calls against the scripted test gateway: asynchronous completion, reading, header
// queries, connections, redirects, cookies and failures.
#include "http_client.h"

#include "testgateway/test_gateway.h"
#include "text/codepage.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using inet_test::DeviceWithSettings;
using inet_test::TestClient;
using testgateway::Reply;
using testgateway::TestGateway;

class HttpTest : public ::testing::Test {
 protected:
  void SetUp() override { gateway_.start(); }
  INTERNET_PORT port() const { return gateway_.httpPort(); }

  DeviceWithSettings device_;
  TestGateway gateway_;
};

TEST_F(HttpTest, SendCompletesOnALibraryThreadAndTheReplyIsRead)
{
  gateway_.script("queryBalance", Reply::success({{"currentBalance", "12.00"}}));
  TestClient client;
  HINTERNET request = client.Send(port(), u"/home/mobile.htm", "requestData=%7b%22operationType%22:%22queryBalance%22%7d");

  INTERNET_ASYNC_RESULT sent = client.WaitForCompletion();
  EXPECT_TRUE(sent.dwResult);
  EXPECT_EQ(sent.dwError, 0u);
  EXPECT_EQ(client.ReadAll(request), R"({"resultStatus":100,"currentBalance":"12.00"})");
  for (const inet_test::Callback& call : client.callbacks()) {
    EXPECT_EQ(call.handle, request);
    EXPECT_NE(call.thread, GetCurrentThreadId());
  }

  std::optional<testgateway::RecordedRequest> recorded = gateway_.waitForRequest("queryBalance");
  ASSERT_TRUE(recorded);
  EXPECT_EQ(recorded->method, "POST");
  EXPECT_EQ(recorded->header("Content-Type"), "application/x-www-form-urlencoded");
  EXPECT_EQ(recorded->header("User-Agent"), "zunmobile");
  EXPECT_EQ(recorded->header("Content-Length"), "56");
  EXPECT_FALSE(recorded->hasHeader("Expect"));
  EXPECT_TRUE(InternetCloseHandle(request));
}

TEST_F(HttpTest, QueryInfoGivesTextSizesInBytesAndItsErrors)
{
  gateway_.servePage("/page", Reply::http(200, "<p>", "text/html; charset=utf-8"));
  TestClient client;
  HINTERNET request = client.Send(port(), u"/page", {}, 0, u"GET");

  WCHAR text[16];
  DWORD size = sizeof text;
  EXPECT_FALSE(HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE, text, &size, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_STATE));
  ASSERT_TRUE(client.WaitForCompletion().dwResult);

  struct Case {
    DWORD level;
    DWORD capacity;  // bytes
    BOOL ok;
    DWORD error;
    DWORD size;  // after the call
    std::u16string text;
  } cases[] = {
      {HTTP_QUERY_STATUS_CODE, 10, TRUE, 0, 6, u"200"},
      {HTTP_QUERY_STATUS_CODE, 6, FALSE, ERROR_INSUFFICIENT_BUFFER, 8, u""},
      {HTTP_QUERY_STATUS_CODE, 0, FALSE, ERROR_INSUFFICIENT_BUFFER, 8, u""},
      {HTTP_QUERY_STATUS_TEXT, 32, TRUE, 0, 4, u"OK"},
      {HTTP_QUERY_CONTENT_TYPE, 200, TRUE, 0, 48, u"text/html; charset=utf-8"},
      {HTTP_QUERY_LOCATION, 200, FALSE, ERROR_INTERNET_HTTP_HEADER_NOT_FOUND, 200, u""},
      {HTTP_QUERY_CONTENT_LENGTH, 200, TRUE, 0, 2, u"3"},
  };
  for (const Case& c : cases) {
    WCHAR buffer[100] = {};
    DWORD length = c.capacity;
    SetLastError(0);
    EXPECT_EQ(HttpQueryInfoW(request, c.level, buffer, &length, nullptr), c.ok) << c.level;
    EXPECT_EQ(GetLastError(), c.error) << c.level;
    EXPECT_EQ(length, c.size) << c.level;
    EXPECT_EQ(std::u16string(buffer), c.text) << c.level;
  }

  DWORD status = 0;
  size = sizeof status;
  ASSERT_TRUE(HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr));
  EXPECT_EQ(status, 200u);
  EXPECT_EQ(size, sizeof status);

  WCHAR custom[64] = u"content-TYPE";
  size = sizeof custom;
  ASSERT_TRUE(HttpQueryInfoW(request, HTTP_QUERY_CUSTOM, custom, &size, nullptr));
  EXPECT_EQ(std::u16string(custom), u"text/html; charset=utf-8");
  InternetCloseHandle(request);
}

TEST_F(HttpTest, ErrorStatusRepliesAreRepliesAndEmptyBodiesEndAtOnce)
{
  gateway_.servePage("/empty", Reply::http(200, ""));
  TestClient client;
  HINTERNET missing = client.Send(port(), u"/missing");
  ASSERT_TRUE(client.WaitForCompletion().dwResult);
  EXPECT_EQ(client.Query(missing, HTTP_QUERY_STATUS_CODE), u"404");

  HINTERNET empty = client.Send(port(), u"/empty");
  ASSERT_TRUE(client.WaitForCompletion().dwResult);
  EXPECT_EQ(client.Query(empty, HTTP_QUERY_STATUS_CODE), u"200");
  EXPECT_EQ(client.ReadAll(empty), "");
  InternetCloseHandle(missing);
  InternetCloseHandle(empty);
}

TEST_F(HttpTest, AFailedSendStillCompletes)
{
  gateway_.script("login", Reply::close());
  TestClient client;
  HINTERNET dropped = client.Send(port(), u"/home/mobile.htm", "requestData=%7b%22operationType%22:%22login%22%7d");
  INTERNET_ASYNC_RESULT result = client.WaitForCompletion();
  EXPECT_FALSE(result.dwResult);
  EXPECT_EQ(result.dwError, static_cast<DWORD>(ERROR_INTERNET_INVALID_SERVER_RESPONSE));

  INTERNET_BUFFERSA buffers{};
  char byte;
  buffers.dwStructSize = sizeof buffers;
  buffers.lpvBuffer = &byte;
  buffers.dwBufferLength = 1;
  EXPECT_FALSE(InternetReadFileExA(dropped, &buffers, IRF_ASYNC, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INVALID_SERVER_RESPONSE));
  DWORD error = 0;
  EXPECT_EQ(client.Query(dropped, HTTP_QUERY_STATUS_CODE, &error), u"");
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_STATE));

  // Nobody listens on the port of a stopped gateway.
  INTERNET_PORT closedPort = port();
  gateway_.stop();
  HINTERNET refused = client.Send(closedPort, u"/home/mobile.htm");
  result = client.WaitForCompletion();
  EXPECT_FALSE(result.dwResult);
  EXPECT_EQ(result.dwError, static_cast<DWORD>(ERROR_INTERNET_CANNOT_CONNECT));
  InternetCloseHandle(dropped);
  InternetCloseHandle(refused);
}

TEST_F(HttpTest, ASessionKeepsItsConnectionAliveAndSessionsDoNotShare)
{
  gateway_.servePage("/page", Reply::http(200, "x"));
  TestClient first, second;
  for (TestClient* client : {&first, &first, &second}) {
    HINTERNET request = client->Send(port(), u"/page");
    ASSERT_TRUE(client->WaitForCompletion().dwResult);
    EXPECT_EQ(client->ReadAll(request), "x");
    InternetCloseHandle(request);
  }
  std::vector<testgateway::RecordedRequest> requests = gateway_.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].connection, requests[1].connection);
  EXPECT_NE(requests[1].connection, requests[2].connection);
  EXPECT_EQ(gateway_.connectionsAccepted(), 2u);
}

TEST_F(HttpTest, RedirectsAreFollowedAndTheirCookiesKept)
{
  Reply moved = Reply::http(302, "");
  moved.headers = {{"Location", "/landing"}};
  moved.setCookies = {"hop=1; Path=/"};
  gateway_.servePage("/start", moved);
  gateway_.servePage("/landing", Reply::http(200, "arrived"));
  TestClient client;
  HINTERNET request = client.Send(port(), u"/start", "a=1");
  ASSERT_TRUE(client.WaitForCompletion().dwResult);
  EXPECT_EQ(client.Query(request, HTTP_QUERY_STATUS_CODE), u"200");
  EXPECT_EQ(client.ReadAll(request), "arrived");

  std::optional<testgateway::RecordedRequest> landing = gateway_.waitForPath("/landing");
  ASSERT_TRUE(landing);
  EXPECT_EQ(landing->method, "GET");  // a POST answered with 302 continues as a GET
  EXPECT_EQ(landing->cookies["hop"], "1");
  InternetCloseHandle(request);
}

TEST_F(HttpTest, ACookieSetInOneSessionGoesWithTheOthersAndTheCookieCalls)
{
  gateway_.servePage("/login", Reply::http(200, "").withCookie("JSESSIONID=abc123; Path=/"));
  gateway_.servePage("/next", Reply::http(200, ""));
  TestClient first, second;
  HINTERNET login = first.Send(port(), u"/login");
  ASSERT_TRUE(first.WaitForCompletion().dwResult);
  InternetCloseHandle(login);

  std::string digits = std::to_string(port());
  std::u16string url = u"http://127.0.0.1:" + std::u16string(digits.begin(), digits.end());
  ASSERT_TRUE(InternetSetCookieW((url + u"/next").c_str(), u"lang", u"zh; path=/"));
  HINTERNET next = second.Send(port(), u"/next");
  ASSERT_TRUE(second.WaitForCompletion().dwResult);
  InternetCloseHandle(next);
  std::optional<testgateway::RecordedRequest> recorded = gateway_.waitForPath("/next");
  ASSERT_TRUE(recorded);
  EXPECT_EQ(recorded->header("Cookie"), "JSESSIONID=abc123; lang=zh");

  // The name argument is not looked at: every cookie of the URL comes back.
  std::u16string page = url + u"/puc/webMC.htm";
  DWORD size = 0;
  ASSERT_TRUE(InternetGetCookieW(page.c_str(), u"JSESSIONID", nullptr, &size));
  EXPECT_EQ(size, 27u);  // characters, with the terminator
  std::vector<WCHAR> cookies(size);
  DWORD shortSize = size - 1;
  EXPECT_FALSE(InternetGetCookieW(page.c_str(), u"JSESSIONID", cookies.data(), &shortSize));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(shortSize, size);
  ASSERT_TRUE(InternetGetCookieW(page.c_str(), u"JSESSIONID", cookies.data(), &size));
  EXPECT_EQ(std::u16string(cookies.data()), u"JSESSIONID=abc123; lang=zh");
  EXPECT_EQ(size, 27u);

  size = 100;
  EXPECT_FALSE(InternetGetCookieW(u"http://elsewhere.example/", nullptr, cookies.data(), &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_ITEMS));
}

TEST_F(HttpTest, TheCharsetHeaderComesWithTheReplysOwnBytes)
{
  gateway_.script("queryBalance", Reply::result(200, "余额不足").inGbk());
  TestClient client;
  HINTERNET request =
      client.Send(port(), u"/home/mobile.htm", "requestData=%7b%22operationType%22:%22queryBalance%22%7d");
  ASSERT_TRUE(client.WaitForCompletion().dwResult);
  EXPECT_EQ(client.Query(request, HTTP_QUERY_CONTENT_TYPE), u"application/json;charset=GBK");
  std::string body = client.ReadAll(request);
  std::u16string text(body.size(), u'\0');
  text.resize(MultiByteToWideChar(936, 0, body.data(), static_cast<int>(body.size()), text.data(),
                                  static_cast<int>(text.size())));
  EXPECT_EQ(text, u"{\"resultStatus\":200,\"memo\":\"余额不足\"}");
  InternetCloseHandle(request);
}

TEST_F(HttpTest, ALargeReplyArrivesWholeThroughSmallReads)
{
  std::string large(3 * 1024 * 1024, '\0');
  for (size_t i = 0; i < large.size(); ++i) {
    large[i] = static_cast<char>('a' + (i * 7) % 26);
  }
  gateway_.servePage("/large", Reply::http(200, large, "application/octet-stream"));
  TestClient client;
  HINTERNET request = client.Send(port(), u"/large");
  ASSERT_TRUE(client.WaitForCompletion().dwResult);
  std::string body = client.ReadAll(request, 1024);
  EXPECT_EQ(body.size(), large.size());
  EXPECT_TRUE(body == large);
  InternetCloseHandle(request);
}

TEST_F(HttpTest, HandlesAreCheckedForKindAndState)
{
  TestClient client;
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  EXPECT_EQ(InternetConnectW(event, u"127.0.0.1", 80, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(InternetCloseHandle(event));
  EXPECT_TRUE(CloseHandle(event));

  EXPECT_EQ(HttpOpenRequestW(client.internet(), u"GET", u"/", nullptr, nullptr, nullptr, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_TYPE));
  EXPECT_FALSE(CloseHandle(client.internet()));

  gateway_.servePage("/page", Reply::http(200, "x"));
  HINTERNET request = client.Send(port(), u"/page");
  EXPECT_FALSE(HttpSendRequestA(request, nullptr, 0, nullptr, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INTERNET_INCORRECT_HANDLE_STATE));
  ASSERT_TRUE(client.WaitForCompletion().dwResult);

  INTERNET_BUFFERSA buffers{};
  char byte;
  buffers.dwStructSize = 40;  // the size of another platform's record
  buffers.lpvBuffer = &byte;
  buffers.dwBufferLength = 1;
  EXPECT_FALSE(InternetReadFileExA(request, &buffers, IRF_ASYNC, 0));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  EXPECT_TRUE(InternetCloseHandle(request));
  EXPECT_FALSE(InternetCloseHandle(request));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

  EXPECT_EQ(InternetOpenW(u"x", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(InternetOpenW(u"x", INTERNET_OPEN_TYPE_PROXY, u"", nullptr, INTERNET_FLAG_ASYNC), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
