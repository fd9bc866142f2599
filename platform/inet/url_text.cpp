#include "url_text.h"

#include "kernel/device_root.h"

#include <curl/curl.h>

#include <memory>

namespace inet {

std::string EscapeUrlBytes(std::string_view utf8)
{
  static const char hex[] = "0123456789ABCDEF";
  std::string escaped;
  escaped.reserve(utf8.size());
  for (unsigned char c : utf8) {
    if (c <= 0x20 || c >= 0x7F) {
      escaped += '%';
      escaped += hex[c >> 4];
      escaped += hex[c & 0x0F];
    } else {
      escaped += static_cast<char>(c);
    }
  }
  return escaped;
}

std::optional<std::string> UrlFromDeviceText(LPCWSTR text)
{
  if (!text) {
    return std::nullopt;
  }
  std::optional<std::string> utf8 = device::ToHost(text);
  if (!utf8) {
    return std::nullopt;
  }
  return EscapeUrlBytes(*utf8);
}

namespace {

struct UrlDeleter {
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

std::optional<std::string> Part(CURLU* url, CURLUPart part, unsigned int flags = 0)
{
  char* text = nullptr;
  if (curl_url_get(url, part, &text, flags) != CURLUE_OK) {
    return std::nullopt;
  }
  std::string value(text);
  curl_free(text);
  return value;
}

}  // namespace

std::optional<UrlParts> ParseHttpUrl(const std::string& url)
{
  std::unique_ptr<CURLU, UrlDeleter> handle(curl_url());
  if (!handle || curl_url_set(handle.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) {
    return std::nullopt;
  }
  std::optional<std::string> scheme = Part(handle.get(), CURLUPART_SCHEME);
  std::optional<std::string> host = Part(handle.get(), CURLUPART_HOST);
  std::optional<std::string> port = Part(handle.get(), CURLUPART_PORT, CURLU_DEFAULT_PORT);
  std::optional<std::string> path = Part(handle.get(), CURLUPART_PATH);
  if (!scheme || !host || !port || !path) {
    return std::nullopt;
  }
  UrlParts parts{LowerAscii(*scheme), LowerAscii(*host), std::stol(*port), *path};
  if (parts.scheme != "http" && parts.scheme != "https") {
    return std::nullopt;
  }
  if (parts.path.empty()) {
    parts.path = "/";
  }
  return parts;
}

std::string LowerAscii(std::string_view text)
{
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return lower;
}

std::string_view TrimBlanks(std::string_view text)
{
  size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) {
    return {};
  }
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
  return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

}  // namespace inet
