#include "url_text.h"

#include <vector>

namespace kv::html {
namespace {

struct Parts {
  std::u16string_view scheme;
  std::optional<std::u16string_view> authority;
  std::u16string_view path;
  std::optional<std::u16string_view> query;
  std::optional<std::u16string_view> fragment;
};

bool IsSchemeChar(char16_t c, bool first)
{
  const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
  return letter || (!first && ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.'));
}

Parts Split(std::u16string_view url)
{
  Parts parts;
  if (size_t hash = url.find(u'#'); hash != std::u16string_view::npos) {
    parts.fragment = url.substr(hash + 1);
    url = url.substr(0, hash);
  }
  if (size_t question = url.find(u'?'); question != std::u16string_view::npos) {
    parts.query = url.substr(question + 1);
    url = url.substr(0, question);
  }
  size_t colon = url.find(u':');
  bool scheme = colon != std::u16string_view::npos && colon > 0;
  for (size_t i = 0; scheme && i < colon; ++i)
    scheme = IsSchemeChar(url[i], i == 0);
  if (scheme) {
    parts.scheme = url.substr(0, colon);
    url = url.substr(colon + 1);
  }
  if (url.substr(0, 2) == u"//") {
    url = url.substr(2);
    const size_t slash = url.find(u'/');
    parts.authority = url.substr(0, slash);
    url = slash == std::u16string_view::npos ? std::u16string_view() : url.substr(slash);
  }
  parts.path = url;
  return parts;
}

// The path with its "." and ".." segments taken out.
std::u16string RemoveDots(std::u16string_view path)
{
  std::vector<std::u16string_view> out;
  const bool absolute = !path.empty() && path.front() == u'/';
  size_t start = absolute ? 1 : 0;
  bool trailing = false;
  while (start <= path.size()) {
    size_t end = path.find(u'/', start);
    if (end == std::u16string_view::npos)
      end = path.size();
    const std::u16string_view segment = path.substr(start, end - start);
    trailing = false;
    if (segment == u"..") {
      if (!out.empty())
        out.pop_back();
      trailing = true;
    } else if (segment == u".") {
      trailing = true;
    } else {
      out.push_back(segment);
    }
    start = end + 1;
  }
  std::u16string joined = absolute ? u"/" : u"";
  for (size_t i = 0; i < out.size(); ++i) {
    if (i > 0)
      joined += u'/';
    joined += out[i];
  }
  if (trailing && !joined.empty() && joined.back() != u'/')
    joined += u'/';
  return joined;
}

std::u16string Join(std::u16string_view scheme, const std::optional<std::u16string>& authority, std::u16string_view path,
                    const std::optional<std::u16string_view>& query, const std::optional<std::u16string_view>& fragment)
{
  std::u16string url(scheme);
  url += u':';
  if (authority) {
    url += u"//";
    url += *authority;
  }
  url += path;
  if (query) {
    url += u'?';
    url += *query;
  }
  if (fragment) {
    url += u'#';
    url += *fragment;
  }
  return url;
}

std::u16string Lower(std::u16string_view text)
{
  std::u16string out(text);
  for (char16_t& c : out)
    if (c >= u'A' && c <= u'Z')
      c = static_cast<char16_t>(c - u'A' + u'a');
  return out;
}

// A reference as written in a page: blanks around it cut, tabs and line breaks inside dropped.
std::u16string Cleaned(std::u16string_view reference)
{
  auto blank = [](char16_t c) { return c <= u' '; };
  while (!reference.empty() && blank(reference.front()))
    reference.remove_prefix(1);
  while (!reference.empty() && blank(reference.back()))
    reference.remove_suffix(1);
  std::u16string out;
  for (char16_t c : reference)
    if (c != u'\t' && c != u'\n' && c != u'\r')
      out += c;
  return out;
}

}  // namespace

std::u16string SchemeOf(std::u16string_view url)
{
  return Lower(Split(url).scheme);
}

bool IsWebUrl(std::u16string_view url)
{
  const Parts parts = Split(url);
  const std::u16string scheme = Lower(parts.scheme);
  return (scheme == u"http" || scheme == u"https") && parts.authority && !parts.authority->empty();
}

std::optional<std::u16string> ResolveUrl(std::u16string_view base, std::u16string_view written)
{
  const std::u16string reference = Cleaned(written);
  const Parts r = Split(reference);
  if (!r.scheme.empty()) {
    const std::u16string scheme = Lower(r.scheme);
    std::optional<std::u16string> authority;
    if (r.authority)
      authority = std::u16string(*r.authority);
    const bool hierarchical = r.authority.has_value();
    return Join(scheme, authority, hierarchical ? RemoveDots(r.path) : std::u16string(r.path), r.query, r.fragment);
  }
  const Parts b = Split(base);
  if (b.scheme.empty() || !b.authority)
    return std::nullopt;
  const std::u16string scheme = Lower(b.scheme);
  if (r.authority)
    return Join(scheme, std::u16string(*r.authority), RemoveDots(r.path), r.query, r.fragment);
  const std::u16string authority(*b.authority);
  if (r.path.empty())
    return Join(scheme, authority, b.path, r.query ? r.query : b.query, r.fragment);
  if (r.path.front() == u'/')
    return Join(scheme, authority, RemoveDots(r.path), r.query, r.fragment);
  std::u16string merged;
  if (b.path.empty()) {
    merged = u"/";
  } else {
    merged = std::u16string(b.path.substr(0, b.path.rfind(u'/') + 1));
  }
  merged += r.path;
  return Join(scheme, authority, RemoveDots(merged), r.query, r.fragment);
}

std::u16string_view WithoutFragment(std::u16string_view url)
{
  return url.substr(0, url.find(u'#'));
}

std::optional<std::u16string> FragmentOf(std::u16string_view url)
{
  const size_t hash = url.find(u'#');
  return hash == std::u16string_view::npos ? std::nullopt : std::optional<std::u16string>(url.substr(hash + 1));
}

std::optional<WebAddress> WebAddressOf(std::u16string_view url)
{
  if (!IsWebUrl(url))
    return std::nullopt;
  const Parts parts = Split(url);
  WebAddress address;
  address.secure = Lower(parts.scheme) == u"https";
  std::u16string_view authority = *parts.authority;
  authority = authority.substr(authority.rfind(u'@') == std::u16string_view::npos ? 0 : authority.rfind(u'@') + 1);
  const size_t bracket = authority.rfind(u']');
  const size_t colon = authority.rfind(u':');
  address.port = address.secure ? 443 : 80;
  if (colon != std::u16string_view::npos && (bracket == std::u16string_view::npos || colon > bracket)) {
    const std::u16string_view digits = authority.substr(colon + 1);
    authority = authority.substr(0, colon);
    if (!digits.empty()) {
      unsigned long port = 0;
      for (char16_t c : digits) {
        if (c < u'0' || c > u'9' || port > 65535)
          return std::nullopt;
        port = port * 10 + (c - u'0');
      }
      if (port == 0 || port > 65535)
        return std::nullopt;
      address.port = static_cast<uint16_t>(port);
    }
  }
  if (authority.empty())
    return std::nullopt;
  address.host = Lower(authority);
  address.object = parts.path.empty() ? u"/" : std::u16string(parts.path);
  if (parts.query) {
    address.object += u'?';
    address.object += *parts.query;
  }
  return address;
}

std::u16string WithQuery(std::u16string_view url, std::u16string_view query)
{
  std::u16string_view base = WithoutFragment(url);
  base = base.substr(0, base.find(u'?'));
  std::u16string out(base);
  out += u'?';
  out += query;
  return out;
}

}  // namespace kv::html
