// Window geometry: rectangles, coordinate mapping, placement, visibility and enabling.
#pragma once

#include "base/types.h"
#include "user/messages.h"

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_DRAWFRAME SWP_FRAMECHANGED
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOREPOSITION SWP_NOOWNERZORDER
#define SWP_NOSENDCHANGING 0x0400
// Set by the system in WM_WINDOWPOSCHANGED when the client area kept its size or place.
#define SWP_NOCLIENTSIZE 0x0800
#define SWP_NOCLIENTMOVE 0x1000
#define SWP_DEFERERASE 0x2000
#define SWP_ASYNCWINDOWPOS 0x4000

#define HWND_TOP (reinterpret_cast<HWND>(0))
#define HWND_BOTTOM (reinterpret_cast<HWND>(1))
#define HWND_TOPMOST (reinterpret_cast<HWND>(-1))
#define HWND_NOTOPMOST (reinterpret_cast<HWND>(-2))

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// Window rectangle in screen coordinates.
BOOL GetWindowRect(HWND hwnd, LPRECT rect);
// Client rectangle: (0, 0, client width, client height). The client area is the window less
// the insets of its border, client edge and scroll bars.
BOOL GetClientRect(HWND hwnd, LPRECT rect);
BOOL ClientToScreen(HWND hwnd, LPPOINT point);
BOOL ScreenToClient(HWND hwnd, LPPOINT point);
// Maps points from one window's client coordinates to another's (null: the screen).
// Returns the horizontal offset in the low word and the vertical in the high word.
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);

// Sends WM_WINDOWPOSCHANGING, applies the change, sends WM_WINDOWPOSCHANGED (whose default
// handling sends WM_MOVE and WM_SIZE when the client area moved or changed size).
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
// WM_SHOWWINDOW, then the placement messages. Returns whether the window was visible before.
BOOL ShowWindow(HWND hwnd, int command);
// Visible when it and every ancestor have WS_VISIBLE.
BOOL IsWindowVisible(HWND hwnd);
BOOL IsWindowEnabled(HWND hwnd);
// Sends WM_ENABLE when the state changes. Returns whether the window was disabled before.
BOOL EnableWindow(HWND hwnd, BOOL enable);
