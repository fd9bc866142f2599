// Conversions between UTF-16 and the device's ANSI code page (936) for the layer's own use (the
// string class and formatting). Invalid or unmappable input is replaced, never an error.
#pragma once

#include <string>
#include <string_view>

namespace kv::text {

void AppendAnsiAsWide(std::u16string& out, std::string_view ansi);
void AppendWideAsAnsi(std::string& out, std::u16string_view wide);

// The length of the longest prefix of ansi, at most maxBytes, that ends on a character boundary.
size_t AnsiPrefixLength(std::string_view ansi, size_t maxBytes);

}  // namespace kv::text
