// The shell's image loaders: bitmaps from image files (PNG, JPEG, GIF, BMP) on the device.
#pragma once

#include "base/types.h"

// A 32-bit bitmap of the image file at `path`; null when the file cannot be read or is no image.
HBITMAP SHLoadImageFile(LPCWSTR path);
// The same loader under its older name.
HBITMAP SHLoadDIBitmap(LPCWSTR path);
