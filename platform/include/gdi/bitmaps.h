// Bitmaps: 32-bit surfaces (blue, green, red and a fourth byte, in that order in memory).
#pragma once

#include "base/types.h"

#define BI_RGB 0
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};
typedef BITMAP* PBITMAP;
typedef BITMAP* LPBITMAP;

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // positive: rows bottom-up; negative: top-down
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
};

// A bitmap the size given, in the format of the device context's surface (32 bits), cleared
// to black. Null for a size of zero or less.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A 32-bit bitmap from the bits given (rows top-down, each a multiple of 2 bytes), or cleared.
// Only 32 bits per pixel are made; other depths fail (ERROR_INVALID_PARAMETER).
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// A 32-bit bitmap whose pixels the caller reaches through *bits, in the row order that
// biHeight gives. Only 32 bits per pixel with BI_RGB or BI_BITFIELDS.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD offset);
