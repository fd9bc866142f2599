// The shell's image loaders: bitmaps from image files (PNG, JPEG, GIF, BMP) on the device or in
// a resource library.
#pragma once

#include "base/types.h"

// A 32-bit bitmap of the image file at `path`; null when the file cannot be read or is no image.
HBITMAP SHLoadImageFile(LPCWSTR path);
// The same loader under its older name.
HBITMAP SHLoadDIBitmap(LPCWSTR path);
// The BITMAP resource `id` of the resource library `module`, as LoadBitmap gives it; null when the
// library has no such bitmap or its file is no image.
HBITMAP SHLoadImageResource(HINSTANCE module, UINT id);
