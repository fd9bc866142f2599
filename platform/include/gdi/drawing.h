// Drawing through a device context: fills, frames, lines, pixels and block transfers.
// Colours are COLORREF values, 0x00BBGGRR. Everything is clipped by the device context.
#pragma once

#include "base/types.h"

// Raster operations of the block transfers.
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define PATCOPY 0x00F00021
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062
#define DSTINVERT 0x00550009

// AlphaBlend.
#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01
struct BLENDFUNCTION {
  BYTE BlendOp;
  BYTE BlendFlags;
  BYTE SourceConstantAlpha;
  BYTE AlphaFormat;
};

// Fills with the brush, the right and bottom edges excluded.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// A one-pixel frame inside the rectangle in the brush.
int FrameRect(HDC dc, const RECT* rect, HBRUSH brush);
// Frames with the selected pen and fills the inside with the selected brush.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
// A line in the selected pen from the current position up to (not including) the end point,
// which becomes the current position.
BOOL LineTo(HDC dc, int x, int y);
// Returns the colour set (the nearest the surface holds); CLR_INVALID outside the clip.
COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);
// A dotted frame inverted into the surface; drawing it twice restores the pixels.
BOOL DrawFocusRect(HDC dc, const RECT* rect);
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
// Stretches by nearest pixel; negative sizes mirror.
BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, DWORD rop);
// Blends the source over the destination with the constant alpha, and with each source pixel's
// own alpha (premultiplied colours) under AC_SRC_ALPHA.
BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                int sourceWidth, int sourceHeight, BLENDFUNCTION blend);
// Copies (stretching when the sizes differ) every source pixel except those of the key colour.
BOOL TransparentImage(HDC dest, int x, int y, int width, int height, HANDLE source, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF transparent);
BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, UINT transparent);
