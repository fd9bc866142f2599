// The paint cycle. A window's update region collects what must be redrawn (invalidation,
// exposure when windows move, hide or are destroyed); while it is not empty the window's
// thread gets WM_PAINT after its posted and input messages and before timers. BeginPaint
// sends WM_ERASEBKGND with the paint DC when an erase is pending, validates the window and
// gives a DC clipped to the update region. A WM_PAINT handler that leaves the window invalid
// is taken as painted after dispatch (with a log line), never asked again and again.
#pragma once

#include "base/types.h"

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;  // the background still needs erasing (WM_ERASEBKGND returned 0)
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
// Adds a rectangle of the client area (null: all of it) to the update region; erase marks
// the background for erasing. A null window invalidates every window of the process.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
// Sends WM_PAINT at once when the window's update region is not empty.
BOOL UpdateWindow(HWND hwnd);
// The update region's bounds in client coordinates; FALSE when it is empty.
BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);

// RedrawWindow flags.
#define RDW_INVALIDATE 0x0001
#define RDW_ERASE 0x0004
#define RDW_VALIDATE 0x0008
#define RDW_ALLCHILDREN 0x0080
#define RDW_UPDATENOW 0x0100
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
