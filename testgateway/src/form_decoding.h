// Decoding what a browser or the device client puts in a request: form bodies and cookies.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace testgateway::detail {

// "%XX" becomes the byte, "+" a space; a "%" without two hexadecimal digits stays as it is.
std::string decodeFormComponent(std::string_view text);

// "a=1&b=2" into its decoded fields, in order; a field without "=" has an empty value.
std::vector<std::pair<std::string, std::string>> decodeForm(std::string_view body);

// "a=1; b=2" (a Cookie header) into its cookies; a later one of the same name wins.
void addCookies(std::string_view header, std::map<std::string, std::string>& cookies);

}  // namespace testgateway::detail
