// Device contexts: a surface (the screen or a bitmap), its clip and origin, the selected
// objects, colours and modes. A window's device context draws into the process's screen
// surface, clipped to what is visible of the window: its ancestors clip it, and siblings above
// it and its own children are left out. GetDC works on any window of the process, including
// one of another thread; drawing and reading back meet the same pixels.
#pragma once

#include "base/types.h"

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// The client area's device context (null: the screen). Release it with ReleaseDC.
HDC GetDC(HWND hwnd);
// The whole window's device context, its origin at the window's top-left corner.
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);
HWND WindowFromDC(HDC dc);
// A memory device context with a 1x1 bitmap selected; select a bitmap to draw into it.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);

// Colours and modes; each returns the former value (CLR_INVALID, or 0, on a bad DC).
#define CLR_INVALID 0xFFFFFFFF
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);
// The brush origin, in device units: pattern brushes tile from it.
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetBrushOrgEx(HDC dc, LPPOINT origin);
// Shifts logical coordinates: logical (0, 0) lands on device point (x, y).
BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);

// The clip. Region results.
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
// The smallest rectangle around the clip, in logical coordinates.
int GetClipBox(HDC dc, LPRECT rect);

// SaveDC returns a level (> 0) that RestoreDC takes back to; -1 restores the last one.
int SaveDC(HDC dc);
BOOL RestoreDC(HDC dc, int savedLevel);
