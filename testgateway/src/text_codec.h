// Text and byte conversions the gateway needs: GBK through iconv, Base64 through OpenSSL.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace testgateway::detail {

// nullopt when the text cannot be converted.
std::optional<std::string> utf8ToGbk(std::string_view utf8);
std::optional<std::string> gbkToUtf8(std::string_view gbk);

// Standard alphabet with "=" padding, no line breaks.
std::string base64Encode(std::string_view bytes);
// nullopt unless the text is Base64 of that form (no white space).
std::optional<std::string> base64Decode(std::string_view text);

}  // namespace testgateway::detail
