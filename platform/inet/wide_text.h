// Text from the network as device text.
#pragma once

#include <string>
#include <string_view>

namespace inet {

// UTF-8 bytes as UTF-16; each invalid sequence becomes U+FFFD.
std::u16string WideFromUtf8(std::string_view utf8);

}  // namespace inet
