#include "cookie_jar.h"

#include <curl/curl.h>

#include <algorithm>
#include <charconv>
#include <limits>

namespace inet {
namespace {

bool IsIpAddress(std::string_view host)
{
  return host.find(':') != std::string_view::npos ||
         std::all_of(host.begin(), host.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
}

bool DomainMatches(std::string_view host, std::string_view domain)
{
  if (host == domain) {
    return true;
  }
  return !IsIpAddress(host) && host.size() > domain.size() && host.ends_with(domain) &&
         host[host.size() - domain.size() - 1] == '.';
}

bool PathMatches(std::string_view requestPath, std::string_view cookiePath)
{
  if (!requestPath.starts_with(cookiePath)) {
    return false;
  }
  return requestPath.size() == cookiePath.size() || cookiePath.back() == '/' ||
         requestPath[cookiePath.size()] == '/';
}

// The folder of the request's path: up to, not including, its last "/"; "/" at the top.
std::string DefaultPath(std::string_view requestPath)
{
  size_t slash = requestPath.rfind('/');
  if (slash == std::string_view::npos || slash == 0) {
    return "/";
  }
  return std::string(requestPath.substr(0, slash));
}

}  // namespace

CookieJar& CookieJar::Process()
{
  static CookieJar* jar = new CookieJar;
  return *jar;
}

bool CookieJar::Store(const UrlParts& url, std::string_view setCookie, std::time_t now)
{
  size_t end = setCookie.find(';');
  std::string_view pair = setCookie.substr(0, end);
  size_t equals = pair.find('=');
  if (equals == std::string_view::npos) {
    return false;
  }
  Cookie cookie;
  cookie.name = TrimBlanks(pair.substr(0, equals));
  cookie.value = TrimBlanks(pair.substr(equals + 1));
  if (cookie.name.empty()) {
    return false;
  }
  cookie.domain = url.host;
  cookie.path = DefaultPath(url.path);

  bool hasMaxAge = false;
  while (end != std::string_view::npos) {
    size_t start = end + 1;
    end = setCookie.find(';', start);
    std::string_view attribute = setCookie.substr(start, end == std::string_view::npos ? end : end - start);
    size_t attributeEquals = attribute.find('=');
    std::string name = LowerAscii(TrimBlanks(attribute.substr(0, attributeEquals)));
    std::string_view value =
        attributeEquals == std::string_view::npos ? std::string_view{} : TrimBlanks(attribute.substr(attributeEquals + 1));
    if (name == "max-age") {
      long long seconds = 0;
      auto [last, error] = std::from_chars(value.data(), value.data() + value.size(), seconds);
      if (error == std::errc() && last == value.data() + value.size()) {
        hasMaxAge = true;
        cookie.persistent = true;
        seconds = std::clamp<long long>(seconds, -1, std::numeric_limits<int32_t>::max());
        cookie.expires = seconds <= 0 ? 0 : now + static_cast<std::time_t>(seconds);
      }
    } else if (name == "expires" && !hasMaxAge) {
      std::string date(value);
      std::time_t expires = curl_getdate(date.c_str(), nullptr);
      if (expires != -1) {
        cookie.persistent = true;
        cookie.expires = expires;
      }
    } else if (name == "domain" && !value.empty()) {
      std::string domain = LowerAscii(value.front() == '.' ? value.substr(1) : value);
      if (domain.empty() || !DomainMatches(url.host, domain)) {
        return false;
      }
      // A domain of its own (not just the host) must hold a dot: "com" is no cookie domain.
      if (domain != url.host && domain.find('.') == std::string::npos) {
        return false;
      }
      cookie.hostOnly = domain == url.host;
      cookie.domain = domain;
    } else if (name == "path" && !value.empty() && value.front() == '/') {
      cookie.path = value;
    } else if (name == "secure") {
      cookie.secure = true;
    }
  }

  std::lock_guard lock(mutex_);
  auto same = std::find_if(cookies_.begin(), cookies_.end(), [&](const Cookie& old) {
    return old.name == cookie.name && old.domain == cookie.domain && old.path == cookie.path;
  });
  bool expired = cookie.persistent && cookie.expires <= now;
  if (same != cookies_.end()) {
    if (expired) {
      cookies_.erase(same);
    } else {
      cookie.created = same->created;
      *same = std::move(cookie);
    }
    return true;
  }
  if (!expired) {
    cookie.created = nextCreated_++;
    std::string domain = cookie.domain;
    cookies_.push_back(std::move(cookie));
    LimitDomain(domain);
  }
  return true;
}

std::string CookieJar::CookiesFor(const UrlParts& url, std::time_t now)
{
  std::lock_guard lock(mutex_);
  RemoveExpired(now);
  std::vector<const Cookie*> matching;
  for (const Cookie& cookie : cookies_) {
    bool hostMatches = cookie.hostOnly ? url.host == cookie.domain : DomainMatches(url.host, cookie.domain);
    if (hostMatches && PathMatches(url.path, cookie.path) && (!cookie.secure || url.scheme == "https")) {
      matching.push_back(&cookie);
    }
  }
  std::stable_sort(matching.begin(), matching.end(), [](const Cookie* a, const Cookie* b) {
    if (a->path.size() != b->path.size()) {
      return a->path.size() > b->path.size();
    }
    return a->created < b->created;
  });
  std::string header;
  for (const Cookie* cookie : matching) {
    if (!header.empty()) {
      header += "; ";
    }
    header += cookie->name + "=" + cookie->value;
  }
  return header;
}

void CookieJar::RemoveExpired(std::time_t now)
{
  std::erase_if(cookies_, [now](const Cookie& cookie) { return cookie.persistent && cookie.expires <= now; });
}

// Keeps a domain to its newest cookies, so a server cannot grow the jar without bound.
void CookieJar::LimitDomain(const std::string& domain)
{
  size_t count = std::count_if(cookies_.begin(), cookies_.end(), [&](const Cookie& c) { return c.domain == domain; });
  while (count-- > kMaxPerDomain) {
    auto oldest = std::min_element(cookies_.begin(), cookies_.end(), [&](const Cookie& a, const Cookie& b) {
      return (a.domain == domain ? a.created : UINT64_MAX) < (b.domain == domain ? b.created : UINT64_MAX);
    });
    cookies_.erase(oldest);
  }
}

}  // namespace inet
