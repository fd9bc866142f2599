// Keyboard focus, activation, the foreground window, pointer capture and hit testing.
#pragma once

#include "base/types.h"

// The calling thread's focus window. SetFocus moves it first, then sends WM_KILLFOCUS to
// the old window (so GetFocus already names the new one) and WM_SETFOCUS to the new one;
// it activates the new window's top-level window when that is not active.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
// The calling thread's active top-level window. Activation sends WM_NCACTIVATE and
// WM_ACTIVATE, first to the window losing activation, then to the one gaining it; a window
// of another thread gets its notifications queued, handled when its thread takes messages.
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
// Any thread's window, or another process's window of the device.
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
// The deepest visible, enabled window under a screen point, topmost first.
HWND WindowFromPoint(POINT point);
// The child (or the window itself) under a point in the window's client coordinates.
HWND ChildWindowFromPoint(HWND parent, POINT point);
BOOL GetCursorPos(LPPOINT point);
