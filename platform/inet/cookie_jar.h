// The process's cookie jar: cookies that replies set (Set-Cookie) and that the device's cookie
// calls set, matched to requests by host, path and scheme as browsers do. Thread-safe.
#pragma once

#include "url_text.h"

#include <cstdint>
#include <ctime>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace inet {

class CookieJar {
 public:
  // The one jar of the process.
  static CookieJar& Process();

  // Stores a cookie in Set-Cookie form ("name=value; Path=/; Max-Age=60") for the URL that set
  // it. Returns false when the text is no cookie or names a domain the URL may not set; an
  // expired cookie removes the one it names and returns true.
  bool Store(const UrlParts& url, std::string_view setCookie, std::time_t now = std::time(nullptr));

  // "a=1; b=2" for a request to the URL (longer paths first, then older cookies first); empty
  // when no cookie matches.
  std::string CookiesFor(const UrlParts& url, std::time_t now = std::time(nullptr));

 private:
  struct Cookie {
    std::string name;
    std::string value;
    std::string domain;  // lower case, no leading dot
    bool hostOnly = true;
    std::string path;
    bool secure = false;
    bool persistent = false;
    std::time_t expires = 0;
    uint64_t created = 0;  // order of creation
  };

  static constexpr size_t kMaxPerDomain = 50;

  void RemoveExpired(std::time_t now);
  void LimitDomain(const std::string& domain);

  std::mutex mutex_;
  std::vector<Cookie> cookies_;
  uint64_t nextCreated_ = 0;
};

}  // namespace inet
