// The check-code picture of a reply: Base64 text of image bytes made into a bitmap through the
// temporary image file.
#pragma once

#include "text/cstring.h"
#include "windows.h"

// The bitmap (the caller deletes it); null when the text is no Base64 of an image.
HBITMAP CheckCodeBitmapFromBase64(const CStringW& base64);
