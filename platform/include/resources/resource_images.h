// Bitmaps out of resource libraries: BITMAP resources (PNG, BMP, JPEG or GIF files) decoded into
// 32-bit bitmaps the caller owns (DeleteObject).
#pragma once

#include "base/types.h"

#define IMAGE_BITMAP 0
#define LR_DEFAULTCOLOR 0x0000
#define LR_DEFAULTSIZE 0x0040

// NULL when the library has no such bitmap or its file cannot be decoded.
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);
// IMAGE_BITMAP only. A width or height of 0 keeps the bitmap's own; others stretch it to them.
HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags);

inline HBITMAP LoadBitmap(HINSTANCE instance, LPCWSTR name) { return LoadBitmapW(instance, name); }
inline HANDLE LoadImage(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT flags)
{
  return LoadImageW(instance, name, type, width, height, flags);
}
