// Request bytes as a browser sends them, and what the gateway reads from them.
#include "http_request.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using Params = std::map<std::string, std::string>;

TEST(HttpRequest, ParsesTheRequestLineHeadersAndParameters)
{
  struct Case {
    const char* what;
    std::string bytes;
    bool valid;
    int method;
    std::string path;
    std::string queryString;
    std::string body;
    Params query;
    Params form;
  } cases[] = {
      {"a GET with its query",
       "GET /gateway.do?service=order_pay&return_url=http://m.cn/r?x=1&a=b=c HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n", true,
       kHttpGet, "/gateway.do", "service=order_pay&return_url=http://m.cn/r?x=1&a=b=c", "",
       {{"service", "order_pay"}, {"return_url", "http://m.cn/r?x=1"}, {"a", "b=c"}}, {}},
      {"pieces without '=' are skipped and the last of a name holds",
       "GET /p?flag&n=1&n=2&&=e HTTP/1.0\r\n\r\n", true, kHttpGet, "/p", "flag&n=1&n=2&&=e", "",
       {{"n", "2"}, {"", "e"}}, {}},
      {"names and values stay as they arrived", "GET /p?Name=%E4%B8%AD+x HTTP/1.1\r\n\r\n", true, kHttpGet, "/p",
       "Name=%E4%B8%AD+x", "", {{"Name", "%E4%B8%AD+x"}}, {}},
      {"a '?' first is part of the path", "GET ?a=1 HTTP/1.1\r\n\r\n", true, kHttpGet, "?a=1", "", "", {}, {}},
      {"leading blanks", "  GET /x HTTP/1.1\r\n\r\n", true, kHttpGet, "/x", "", "", {}, {}},
      {"a POST's body is what follows the blank line, Content-Length long",
       "POST /gateway.do?_input_charset=utf-8 HTTP/1.1\r\ncontent-LENGTH: 14\r\n\r\nservice=a\nb=c\nnot this", true,
       kHttpPost, "/gateway.do", "_input_charset=utf-8", "service=a\nb=c\n", {{"_input_charset", "utf-8"}},
       {{"service", "a\nb=c\n"}}},
      {"a body shorter than its Content-Length", "POST /g HTTP/1.1\r\nContent-Length: 100\r\n\r\nx=1", true, kHttpPost,
       "/g", "", "x=1", {}, {{"x", "1"}}},
      {"a body of a request that never ended its head", "POST /g HTTP/1.1\r\nContent-Length: 3\r\nx=1", true,
       kHttpPost, "/g", "", "", {}, {}},
      {"a header-like line in the body is body",
       "POST /g HTTP/1.1\n\nContent-Length: 5\r\n", true, kHttpPost, "/g", "", "", {}, {}},
      {"at most nine digits of Content-Length",
       "POST /g HTTP/1.1\r\nContent-Length: 0000000033999\r\n\r\nabcdef", true, kHttpPost, "/g", "", "abc", {},
       {}},
      {"a GET's body is not read", "GET /g HTTP/1.1\r\nContent-Length: 3\r\n\r\nx=1", true, kHttpGet, "/g", "", "", {},
       {}},
      {"the method in lower case", "get /gateway.do HTTP/1.1\r\n\r\n", false, kHttpOtherMethod, "", "", "", {}, {}},
      {"another method", "PUT /gateway.do HTTP/1.1\r\n\r\n", false, kHttpOtherMethod, "", "", "", {}, {}},
      {"nothing", "", false, kHttpOtherMethod, "", "", "", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CHttpRequest request;
    EXPECT_EQ(ParseHttpRequest(request, c.bytes), c.valid);
    EXPECT_EQ(request.valid, c.valid);
    EXPECT_EQ(request.method, c.method);
    EXPECT_EQ(request.path, c.path);
    EXPECT_EQ(request.queryString, c.queryString);
    EXPECT_EQ(request.body, c.body);
    EXPECT_EQ(request.queryParams, c.query);
    EXPECT_EQ(request.formParams, c.form);
  }
}

TEST(HttpRequest, KeepsTheVersionHostAndReferer)
{
  CHttpRequest request;
  ASSERT_TRUE(ParseHttpRequest(request, "GET /gateway.do HTTP/1.1\r\nreferer:  http://shop.cn/a\r\nHOST:127.0.0.1:8888\r\n\r\n"));
  EXPECT_EQ(request.methodText, "GET");
  EXPECT_EQ(request.version, "HTTP/1.1");
  EXPECT_EQ(request.referer, "http://shop.cn/a");
  EXPECT_EQ(request.host, "127.0.0.1:8888");
}

TEST(HttpRequest, TheHeadEndsAtItsFirstEmptyLine)
{
  EXPECT_EQ(FindHeadEnd("GET / HTTP/1.1\r\nA: b\r\n\r\nbody"), 24u);
  EXPECT_EQ(FindHeadEnd("GET / HTTP/1.1\nA: b\n\nbody"), 21u);
  EXPECT_EQ(FindHeadEnd("GET / HTTP/1.1\r\nA: b\r\n"), std::string_view::npos);
  EXPECT_EQ(ContentLength("POST / HTTP/1.1\r\nX-Content-Length: 7\r\nContent-Length:\t12\r\n"), 12);
  EXPECT_EQ(ContentLength("POST / HTTP/1.1\r\n"), 0);
}

}  // namespace
