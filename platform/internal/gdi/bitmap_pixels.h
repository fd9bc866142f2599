// For the image decoders: bitmaps made from decoded pixels.
#pragma once

#include <cstdint>

#include "base/types.h"

namespace gdi_bitmap {

// A 32-bit bitmap (a DIB section) of width x height from rows top-down, each pixel four bytes
// blue, green, red, alpha, rows `stride` bytes apart. The alpha byte is kept as given. Null for
// a size of zero or less or a null buffer.
HBITMAP CreateFromBgra(int width, int height, const uint8_t* pixels, int stride);

}  // namespace gdi_bitmap
