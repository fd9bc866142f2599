// Images received from the gateway shown as bitmaps, through a temporary file.
#pragma once

#include "base/types.h"

// Writes the bytes to the file of that name in the temporary folder (replacing an older file)
// and loads it with the shell's image loader. Null for null bytes, a file that cannot be created
// or written whole, or bytes that are no image.
HBITMAP SaveTempImageFile(const BYTE* bytes, DWORD length, const WCHAR* fileName = u"KorvexImage.jpg");
