// Text for the HTML pieces: UTF-8 and UTF-16 (the layout works in UTF-8, the device in UTF-16),
// and the case and white space rules of HTML.
#pragma once

#include <string>
#include <string_view>

namespace kv::html {

// Invalid sequences become U+FFFD.
std::u16string Wide(std::string_view utf8);
// Lone surrogates become U+FFFD.
std::string Narrow(std::u16string_view text);

// ASCII letters made lower case; other bytes as they are.
std::string LowerAscii(std::string_view text);
// The text with its runs of HTML white space (space, tab, line feed, carriage return, form
// feed) made one space, and none at its ends.
std::string CollapseBlanks(std::string_view text);

}  // namespace kv::html
