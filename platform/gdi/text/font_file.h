// Finds the device's CJK font file on the host.
#pragma once

#include <string>

namespace kv::fonts {

// Path of the font file, or empty when none is installed. Known install paths first, then
// fontconfig by family name.
std::string FindCjkFontFile();

}  // namespace kv::fonts
