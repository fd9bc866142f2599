// Text output and measurement in a device context's selected font, colours and modes.
// Made by the text engine; the device context keeps the state it reads.
#pragma once

#include "base/types.h"
#include "gdi/fonts.h"

typedef int* LPINT;

// DrawText formats.
#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_EDITCONTROL 0x00002000
#define DT_PATH_ELLIPSIS 0x00004000
#define DT_END_ELLIPSIS 0x00008000
#define DT_MODIFYSTRING 0x00010000
#define DT_RTLREADING 0x00020000
#define DT_WORD_ELLIPSIS 0x00040000

// ExtTextOut options.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

// SetTextAlign.
#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx);
// Returns the height of the text drawn (or measured, with DT_CALCRECT); 0 on failure.
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size);
BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);

inline BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx)
{
  return ExtTextOutW(dc, x, y, options, rect, text, count, dx);
}
inline int DrawText(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
  return DrawTextW(dc, text, count, rect, format);
}
inline BOOL GetTextExtentPoint32(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
  return GetTextExtentPoint32W(dc, text, count, size);
}
inline BOOL GetTextExtentExPoint(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size)
{
  return GetTextExtentExPointW(dc, text, count, maxExtent, fit, dx, size);
}
inline BOOL GetTextMetrics(HDC dc, LPTEXTMETRICW metrics) { return GetTextMetricsW(dc, metrics); }
