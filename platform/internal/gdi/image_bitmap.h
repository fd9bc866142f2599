// Bitmaps from image files, for the pieces that hold image bytes (the resource loader, the
// shell's image loaders).
#pragma once

#include "base/types.h"

#include <cstdint>
#include <span>

namespace kv::images {

// A 32-bit bitmap of the PNG, JPEG, GIF or BMP file in `bytes`; null when it is no image these
// decoders read. The caller owns the bitmap (DeleteObject).
HBITMAP CreateBitmapFromImageFile(std::span<const uint8_t> bytes);

}  // namespace kv::images
