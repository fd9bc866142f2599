// The tab control (SysTabControl32): one row of tabs, each as wide as its text (and image),
// along the top, or along the bottom with TCS_BOTTOM. A tap on a tab other than the current one
// sends WM_NOTIFY to the parent: TCN_SELCHANGING (a non-zero answer keeps the current tab), then
// the tab becomes current and TCN_SELCHANGE follows. Selecting by message (TCM_SETCURSEL) never
// notifies. The first tab inserted becomes the current one.
#pragma once

#include "controls/common_notify.h"
#include "controls/image_list.h"

#define TCS_TABS 0x0000
#define TCS_SINGLELINE 0x0000
#define TCS_BOTTOM 0x0002
#define TCS_RIGHT 0x0002
#define TCS_VERTICAL 0x0080
#define TCS_BUTTONS 0x0100
#define TCS_MULTILINE 0x0200
#define TCS_FIXEDWIDTH 0x0400
#define TCS_FOCUSNEVER 0x8000

#define TCM_FIRST 0x1300
#define TCM_GETIMAGELIST (TCM_FIRST + 2)
#define TCM_SETIMAGELIST (TCM_FIRST + 3)
#define TCM_GETITEMCOUNT (TCM_FIRST + 4)
#define TCM_DELETEITEM (TCM_FIRST + 8)
#define TCM_GETITEMRECT (TCM_FIRST + 10)
#define TCM_GETCURSEL (TCM_FIRST + 11)
#define TCM_SETCURSEL (TCM_FIRST + 12)
#define TCM_GETROWCOUNT (TCM_FIRST + 44)
#define TCM_GETITEMW (TCM_FIRST + 60)
#define TCM_SETITEMW (TCM_FIRST + 61)
#define TCM_INSERTITEMW (TCM_FIRST + 62)
#define TCM_GETITEM TCM_GETITEMW
#define TCM_SETITEM TCM_SETITEMW
#define TCM_INSERTITEM TCM_INSERTITEMW

// TCITEM masks.
#define TCIF_TEXT 0x0001
#define TCIF_IMAGE 0x0002
#define TCIF_PARAM 0x0008
#define TCIF_STATE 0x0010

struct TCITEMW {
  UINT mask;
  DWORD dwState;
  DWORD dwStateMask;
  LPWSTR pszText;  // TCM_GETITEM copies at most cchTextMax - 1 characters and a terminator
  int cchTextMax;
  int iImage;
  LPARAM lParam;
};
typedef TCITEMW TCITEM;
typedef TCITEMW* LPTCITEMW;
typedef TCITEMW* LPTCITEM;

#define TCN_FIRST (0U - 550U)
#define TCN_KEYDOWN (TCN_FIRST - 0)
#define TCN_SELCHANGE (TCN_FIRST - 1)
#define TCN_SELCHANGING (TCN_FIRST - 2)

#define WC_TABCONTROLW u"SysTabControl32"
