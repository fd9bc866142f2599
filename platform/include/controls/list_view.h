// The list view (SysListView32) in its report view (LVS_REPORT: rows of columns) and icon view
// (LVS_ICON: items placed on a grid of the icon spacing, or where they were put).
//
// Report view with LVS_OWNERDRAWFIXED: the list sends WM_MEASUREITEM (ODT_LISTVIEW) to its parent
// once at creation and takes the row height it answers; each paint sends WM_DRAWITEM
// (ODT_LISTVIEW, item id the index, item data the item's lParam, ODS_SELECTED and ODS_FOCUS from
// the item's state) for every visible row.
//
// Keys: the arrows move the selection and focus, in report view one row at a time, in icon view
// to the nearest item in that direction by position; Home and End go to the first and last item.
// Enter sends NM_RETURN. A tap selects the item under it (or clears the selection on empty space)
// and sends NM_CLICK. NM_CLICK and NM_RETURN carry an NMITEMACTIVATE with the item (-1 for none).
// LVS_NOSCROLL leaves the list without scroll bars; LVM_SCROLL and LVM_ENSUREVISIBLE still move
// the view.
#pragma once

#include "controls/common_notify.h"
#include "controls/image_list.h"

#define LVS_ICON 0x0000
#define LVS_REPORT 0x0001
#define LVS_SMALLICON 0x0002
#define LVS_LIST 0x0003
#define LVS_TYPEMASK 0x0003
#define LVS_SINGLESEL 0x0004
#define LVS_SHOWSELALWAYS 0x0008
#define LVS_SHAREIMAGELISTS 0x0040
#define LVS_NOLABELWRAP 0x0080
#define LVS_AUTOARRANGE 0x0100
#define LVS_OWNERDRAWFIXED 0x0400
#define LVS_ALIGNLEFT 0x0800
#define LVS_NOSCROLL 0x2000
#define LVS_NOCOLUMNHEADER 0x4000
#define LVS_NOSORTHEADER 0x8000

// Extended list-view styles (LVM_SETEXTENDEDLISTVIEWSTYLE).
#define LVS_EX_GRIDLINES 0x00000001
#define LVS_EX_CHECKBOXES 0x00000004
#define LVS_EX_FULLROWSELECT 0x00000020
#define LVS_EX_ONECLICKACTIVATE 0x00000040

#define LVM_FIRST 0x1000
#define LVM_SETIMAGELIST (LVM_FIRST + 3)
#define LVM_GETITEMCOUNT (LVM_FIRST + 4)
#define LVM_DELETEITEM (LVM_FIRST + 8)
#define LVM_DELETEALLITEMS (LVM_FIRST + 9)
#define LVM_GETNEXTITEM (LVM_FIRST + 12)
#define LVM_GETITEMRECT (LVM_FIRST + 14)
#define LVM_SETITEMPOSITION (LVM_FIRST + 15)
#define LVM_GETITEMPOSITION (LVM_FIRST + 16)
#define LVM_ENSUREVISIBLE (LVM_FIRST + 19)
#define LVM_SCROLL (LVM_FIRST + 20)
#define LVM_DELETECOLUMN (LVM_FIRST + 28)
#define LVM_GETTEXTCOLOR (LVM_FIRST + 35)
#define LVM_GETTOPINDEX (LVM_FIRST + 39)
#define LVM_GETCOUNTPERPAGE (LVM_FIRST + 40)
#define LVM_GETORIGIN (LVM_FIRST + 41)
#define LVM_SETITEMSTATE (LVM_FIRST + 43)
#define LVM_GETITEMSTATE (LVM_FIRST + 44)
#define LVM_SETICONSPACING (LVM_FIRST + 53)
#define LVM_SETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 54)
#define LVM_GETEXTENDEDLISTVIEWSTYLE (LVM_FIRST + 55)
#define LVM_GETSUBITEMRECT (LVM_FIRST + 56)
#define LVM_GETITEMW (LVM_FIRST + 75)
#define LVM_SETITEMW (LVM_FIRST + 76)
#define LVM_INSERTITEMW (LVM_FIRST + 77)
#define LVM_GETCOLUMNW (LVM_FIRST + 95)
#define LVM_INSERTCOLUMNW (LVM_FIRST + 97)
#define LVM_GETITEM LVM_GETITEMW
#define LVM_SETITEM LVM_SETITEMW
#define LVM_INSERTITEM LVM_INSERTITEMW
#define LVM_GETCOLUMN LVM_GETCOLUMNW
#define LVM_INSERTCOLUMN LVM_INSERTCOLUMNW

// Image lists of LVM_SETIMAGELIST (wParam).
#define LVSIL_NORMAL 0
#define LVSIL_SMALL 1
#define LVSIL_STATE 2

// LVITEM masks and item states.
#define LVIF_TEXT 0x0001
#define LVIF_IMAGE 0x0002
#define LVIF_PARAM 0x0004
#define LVIF_STATE 0x0008
#define LVIS_FOCUSED 0x0001
#define LVIS_SELECTED 0x0002

struct LVITEMW {
  UINT mask;
  int iItem;
  int iSubItem;
  UINT state;
  UINT stateMask;
  LPWSTR pszText;  // LVM_GETITEM copies at most cchTextMax - 1 characters and a terminator
  int cchTextMax;
  int iImage;
  LPARAM lParam;
  int iIndent;
};
typedef LVITEMW LVITEM;
typedef LVITEMW* LPLVITEMW;
typedef LVITEMW* LPLVITEM;

// LVCOLUMN masks and formats.
#define LVCF_FMT 0x0001
#define LVCF_WIDTH 0x0002
#define LVCF_TEXT 0x0004
#define LVCF_SUBITEM 0x0008
#define LVCFMT_LEFT 0x0000
#define LVCFMT_RIGHT 0x0001
#define LVCFMT_CENTER 0x0002

struct LVCOLUMNW {
  UINT mask;
  int fmt;
  int cx;
  LPWSTR pszText;
  int cchTextMax;
  int iSubItem;
  int iImage;
  int iOrder;
};
typedef LVCOLUMNW LVCOLUMN;
typedef LVCOLUMNW* LPLVCOLUMNW;
typedef LVCOLUMNW* LPLVCOLUMN;

// LVM_GETNEXTITEM flags.
#define LVNI_ALL 0x0000
#define LVNI_FOCUSED 0x0001
#define LVNI_SELECTED 0x0002

// LVM_GETITEMRECT / LVM_GETSUBITEMRECT portions (in the rectangle's left on the way in).
#define LVIR_BOUNDS 0
#define LVIR_ICON 1
#define LVIR_LABEL 2
#define LVIR_SELECTBOUNDS 3

struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem;
  int iSubItem;
  UINT uNewState;
  UINT uOldState;
  UINT uChanged;
  POINT ptAction;
  LPARAM lParam;
  UINT uKeyFlags;
};
typedef NMITEMACTIVATE* LPNMITEMACTIVATE;

#define WC_LISTVIEWW u"SysListView32"
