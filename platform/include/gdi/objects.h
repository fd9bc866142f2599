// Drawing objects: bitmaps, brushes, pens and fonts, selected into device contexts.
// SelectObject returns the object it replaced. DeleteObject fails (FALSE) for a stale handle
// and for an object selected into a device context, which it never frees; stock objects are
// never freed and deleting them succeeds without effect.
#pragma once

#include "base/types.h"

// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// GetCurrentObject kinds and GetObjectType results.
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// Brush styles.
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_PATTERN 3
#define BS_DIBPATTERN 5
#define BS_DIBPATTERNPT 6

// Pen styles.
#define PS_SOLID 0
#define PS_DASH 1
#define PS_NULL 5

struct LOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  ULONG_PTR lbHatch;
};

struct LOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
};

HGDIOBJ GetStockObject(int object);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
// Copies the object's record (BITMAP, LOGBRUSH, LOGPEN, LOGFONTW, DIBSECTION) into buffer;
// returns the bytes copied, or the record's size for a null buffer; 0 for a bad handle.
int GetObjectW(HGDIOBJ object, int bufferBytes, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT kind);

HBRUSH CreateSolidBrush(COLORREF color);
// A brush that tiles the bitmap (copied when the brush is made), aligned to the brush origin
// of the device context it paints in (SetBrushOrgEx; the origin of the DC by default).
HBRUSH CreatePatternBrush(HBITMAP bitmap);
HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* pen);

inline int GetObject(HGDIOBJ object, int bufferBytes, LPVOID buffer) { return GetObjectW(object, bufferBytes, buffer); }
