// URLs as the browser meets them in pages: references resolved against the page's address, the
// schemes it follows, fragments and queries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kv::html {

// The reference resolved against an absolute base URL (RFC 3986), with the blanks a page may
// leave around it removed; nothing when it cannot be resolved.
std::optional<std::u16string> ResolveUrl(std::u16string_view base, std::u16string_view reference);
// The scheme, lower case; empty when the URL has none.
std::u16string SchemeOf(std::u16string_view url);
// An absolute http or https URL with a host.
bool IsWebUrl(std::u16string_view url);
// The URL without its fragment ("#..."), and the fragment without its "#" (nothing without one).
std::u16string_view WithoutFragment(std::u16string_view url);
std::optional<std::u16string> FragmentOf(std::u16string_view url);
// The URL with its query replaced (fragment dropped), as a form sent with GET makes it.
std::u16string WithQuery(std::u16string_view url, std::u16string_view query);

// Where an http or https URL leads: the server and the object asked of it (path and query).
struct WebAddress {
  bool secure = false;
  std::u16string host;
  uint16_t port = 0;
  std::u16string object;
};
std::optional<WebAddress> WebAddressOf(std::u16string_view url);

}  // namespace kv::html
