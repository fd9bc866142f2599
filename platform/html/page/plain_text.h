// Plain text as HTML that shows it as it is: markup characters escaped, line breaks kept.
#pragma once

#include <string>
#include <string_view>

namespace kv::html {

std::u16string HtmlOfPlainText(std::u16string_view text);

}  // namespace kv::html
