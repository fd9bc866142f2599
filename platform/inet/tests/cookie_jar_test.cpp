#include "cookie_jar.h"

#include <gtest/gtest.h>

namespace {

constexpr std::time_t kNow = 1'700'000'000;

inet::UrlParts Url(const std::string& url)
{
  std::optional<inet::UrlParts> parts = inet::ParseHttpUrl(url);
  EXPECT_TRUE(parts) << url;
  return parts.value_or(inet::UrlParts{});
}

TEST(CookieJar, MatchesHostPathAndScheme)
{
  inet::CookieJar jar;
  ASSERT_TRUE(jar.Store(Url("https://pay.example.com/home/mobile.htm"), "JSESSIONID=abc; Path=/", kNow));
  ASSERT_TRUE(jar.Store(Url("https://pay.example.com/home/mobile.htm"), "here=1", kNow));  // path /home
  ASSERT_TRUE(jar.Store(Url("https://pay.example.com/"), "wide=2; Domain=.example.com", kNow));
  ASSERT_TRUE(jar.Store(Url("https://pay.example.com/"), "safe=3; Secure", kNow));

  struct Case {
    const char* url;
    const char* cookies;
  } cases[] = {
      {"https://pay.example.com/home/x", "here=1; JSESSIONID=abc; wide=2; safe=3"},  // longer path first
      {"https://pay.example.com/homepage", "JSESSIONID=abc; wide=2; safe=3"},        // /home is no prefix of it
      {"http://pay.example.com/home", "here=1; JSESSIONID=abc; wide=2"},             // no secure cookie over http
      {"https://shop.example.com/", "wide=2"},                                        // domain cookie only
      {"https://PAY.Example.com:443/", "JSESSIONID=abc; wide=2; safe=3"},
      {"https://example.com/", "wide=2"},
      {"https://evilexample.com/", ""},
      {"https://other.org/", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(jar.CookiesFor(Url(c.url), kNow), c.cookies) << c.url;
  }
}

TEST(CookieJar, RefusesWhatTheUrlMayNotSet)
{
  inet::CookieJar jar;
  inet::UrlParts url = Url("http://pay.example.com/");
  for (const char* refused :
       {"novalue", "=nameless", "a=1; Domain=other.org", "a=1; Domain=com", "a=1; Domain=ay.example.com"}) {
    EXPECT_FALSE(jar.Store(url, refused, kNow)) << refused;
  }
  EXPECT_FALSE(jar.Store(Url("http://127.0.0.1/"), "a=1; Domain=0.0.1", kNow));
  EXPECT_EQ(jar.CookiesFor(url, kNow), "");
}

TEST(CookieJar, ReplacesExpiresAndDeletes)
{
  inet::CookieJar jar;
  inet::UrlParts url = Url("http://127.0.0.1:8080/a/b");
  ASSERT_TRUE(jar.Store(url, "first=1; Path=/", kNow));
  ASSERT_TRUE(jar.Store(url, "s=old; Path=/", kNow));
  ASSERT_TRUE(jar.Store(url, "s=new; Path=/", kNow));  // replaced in place: keeps its age
  ASSERT_TRUE(jar.Store(url, "short=1; Path=/; Max-Age=10", kNow));
  ASSERT_TRUE(jar.Store(url, "dated=1; Path=/; Expires=Wed, 15 Nov 2023 00:00:00 GMT", kNow));
  EXPECT_EQ(jar.CookiesFor(url, kNow), "first=1; s=new; short=1; dated=1");

  // Max-Age wins over Expires; time runs out; a cookie set to expire deletes its namesake.
  EXPECT_EQ(jar.CookiesFor(url, kNow + 10), "first=1; s=new; dated=1");
  ASSERT_TRUE(jar.Store(url, "first=x; Path=/; Max-Age=0", kNow));
  ASSERT_TRUE(jar.Store(url, "s=x; Path=/; Expires=Thu, 01 Jan 1970 00:00:01 GMT; Max-Age=10000", kNow));
  EXPECT_EQ(jar.CookiesFor(url, kNow), "s=x; dated=1");
  EXPECT_EQ(jar.CookiesFor(url, 1'700'006'400), "s=x");  // 2023-11-15 has come
}

TEST(CookieJar, KeepsADomainToItsNewestCookies)
{
  inet::CookieJar jar;
  inet::UrlParts url = Url("http://example.com/");
  for (int i = 0; i < 60; ++i) {
    ASSERT_TRUE(jar.Store(url, "c" + std::to_string(i) + "=1", kNow));
  }
  std::string cookies = jar.CookiesFor(url, kNow);
  EXPECT_EQ(cookies.find("c9="), std::string::npos);
  EXPECT_EQ(cookies.rfind("c10=1; ", 0), 0u);
  EXPECT_NE(cookies.find("c59=1"), std::string::npos);
}

}  // namespace
