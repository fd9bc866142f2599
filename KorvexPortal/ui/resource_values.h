// Strings, integers and bitmaps of the application's screen-size resource library.
#pragma once

#include "text/cstring.h"
#include "windows.h"

// The application's resource library; null when there is no application object or library.
HMODULE AppResourceLibrary();
// The string resource; empty when the library has none.
CStringW LoadResourceString(UINT id);
// The string resource read as a decimal integer; `missing` when the library has no such string.
int LoadResourceInt(UINT id, int missing);
// A bitmap of the library (the caller deletes it); null when it has none.
HBITMAP LoadResourceBitmap(UINT id);

// The title strip's height in pixels: the integer of string resource 133 (0 when missing).
int LoadIntResource();
