// Finds the device's CJK font file on the host.
#pragma once

#include <span>
#include <string>

namespace kv::fonts {

// Path of the font file, or empty when none is installed. Known install paths first, then
// fontconfig by family name.
std::string FindCjkFontFile();

// The file mapped read-only for the rest of the process, so its pages are read as FreeType
// touches them rather than all at the start; empty when it cannot be opened or is empty.
std::span<const unsigned char> MapFontFile(const std::string& path);

}  // namespace kv::fonts
