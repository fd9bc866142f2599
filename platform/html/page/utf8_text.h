// UTF-8 and UTF-16 for the HTML pieces: the layout works in UTF-8, the device in UTF-16.
#pragma once

#include <string>
#include <string_view>

namespace kv::html {

// Invalid sequences become U+FFFD.
std::u16string Wide(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string Narrow(std::u16string_view text);

}  // namespace kv::html
