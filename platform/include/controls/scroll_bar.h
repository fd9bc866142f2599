// Scroll bars: the ScrollBar control (SB_CTL) and the vertical and horizontal scroll bars of any
// window with WS_VSCROLL or WS_HSCROLL (SB_VERT, SB_HORZ), which take their room from the
// window's non-client insets.
//
// A scroll bar never moves its own position on input: it sends WM_VSCROLL or WM_HSCROLL (the
// code in the low word of wParam, the thumb position in the high word for SB_THUMBTRACK and
// SB_THUMBPOSITION; lParam the control, or null for a window's own bar) to its owner, and the
// owner sets the new position. The owner of the control is its parent; a window's own bar is
// owned by the window, which hears a tap on the bar as WM_NCHITTEST (HTVSCROLL, HTHSCROLL) and
// WM_NCLBUTTONDOWN before the codes come.
#pragma once

#include "base/types.h"

// ScrollBar control styles.
#define SBS_HORZ 0x0000
#define SBS_VERT 0x0001

// Which bar.
#define SB_HORZ 0
#define SB_VERT 1
#define SB_CTL 2
#define SB_BOTH 3

// Scroll codes.
#define SB_LINEUP 0
#define SB_LINELEFT 0
#define SB_LINEDOWN 1
#define SB_LINERIGHT 1
#define SB_PAGEUP 2
#define SB_PAGELEFT 2
#define SB_PAGEDOWN 3
#define SB_PAGERIGHT 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define SB_TOP 6
#define SB_LEFT 6
#define SB_BOTTOM 7
#define SB_RIGHT 7
#define SB_ENDSCROLL 8

#define SBM_SETPOS 0x00E0
#define SBM_GETPOS 0x00E1
#define SBM_SETRANGE 0x00E2
#define SBM_GETRANGE 0x00E3
#define SBM_SETRANGEREDRAW 0x00E6
#define SBM_SETSCROLLINFO 0x00E9
#define SBM_GETSCROLLINFO 0x00EA

#define SIF_RANGE 0x0001
#define SIF_PAGE 0x0002
#define SIF_POS 0x0004
#define SIF_DISABLENOSCROLL 0x0008
#define SIF_TRACKPOS 0x0010
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;
typedef const SCROLLINFO* LPCSCROLLINFO;

// Sets the parts named by fMask. The page is kept within the range's size and the position
// within [nMin, nMax - nPage + 1]. For SB_VERT and SB_HORZ the bar is shown when the range
// allows scrolling and hidden when it does not, unless SIF_DISABLENOSCROLL keeps it shown.
// Returns the new position.
int SetScrollInfo(HWND hwnd, int bar, LPCSCROLLINFO info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, LPSCROLLINFO info);
// Returns the former position.
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
// Adds or removes WS_VSCROLL / WS_HSCROLL (SB_BOTH: both), so the client area shrinks or grows
// by the bar; for SB_CTL it shows or hides the control.
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);

#define WC_SCROLLBARW u"ScrollBar"
