// The character set of a fetched page and its text in UTF-8. The reply's Content-Type decides,
// then a <meta> near the start of the page; without either the page is read as UTF-8 when it is
// valid UTF-8, else as GBK. The sets read: UTF-8, and GBK under all its names (GB2312, GB18030).
#pragma once

#include <string>
#include <string_view>

namespace kv::html {

struct PageText {
  std::string utf8;
  std::string charset;  // "utf-8" or "gbk"
};

PageText DecodePage(std::string_view bytes, std::string_view contentType);

// The charset parameter of a Content-Type or of a <meta> element's content; empty when none.
std::string CharsetParameter(std::string_view contentType);

}  // namespace kv::html
