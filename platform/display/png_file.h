// Writing 32-bit pixels (0xAARRGGBB, rows top-down) as an opaque RGB PNG file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace display {

bool WritePng(const std::string& hostPath, int width, int height, const std::vector<uint32_t>& pixels);

}  // namespace display
