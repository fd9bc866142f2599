// What the common controls (list view, tab control) share: the common notification codes and the
// start-up call of the common controls.
//
// WM_NOTIFY goes to the control's parent with the control id in wParam and a pointer to a record
// that begins with an NMHDR (user/messages.h) in lParam; the record is valid during the call.
#pragma once

#include "base/types.h"
#include "user/messages.h"

#define NM_FIRST 0U
#define NM_OUTOFMEMORY (NM_FIRST - 1)
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)
#define NM_SETFOCUS (NM_FIRST - 7)
#define NM_KILLFOCUS (NM_FIRST - 8)

// The kinds of owner-drawn items beyond those of the window manager.
#define ODT_LISTVIEW 102
#define ODT_TAB 101

#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TAB_CLASSES 0x00000008
#define ICC_BAR_CLASSES 0x00000004
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_DATE_CLASSES 0x00000100
#define ICC_WIN95_CLASSES 0x000000FF

struct INITCOMMONCONTROLSEX {
  DWORD dwSize;
  DWORD dwICC;
};
typedef INITCOMMONCONTROLSEX* LPINITCOMMONCONTROLSEX;

// The common controls are registered when the layer loads; these confirm it.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
void InitCommonControls();
