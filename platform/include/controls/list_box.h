// The LISTBOX control: a single-selection list of strings (or of item data for owner-drawn
// lists without LBS_HASSTRINGS), each with its item data.
//
// It asks its owner for colours with WM_CTLCOLORLISTBOX (wParam the device context, lParam the
// list; the answer is the background brush). Owner-drawn fixed lists send WM_MEASUREITEM
// (ODT_LISTBOX) once at creation and WM_DRAWITEM per visible item. With LBS_NOTIFY a change of
// the selection by a tap or a key sends LBN_SELCHANGE; selecting by message (LB_SETCURSEL) never
// notifies. LBS_SORT is read at each LB_ADDSTRING, so clearing the style later stops the sorting.
#pragma once

#define LBS_NOTIFY 0x0001
#define LBS_SORT 0x0002
#define LBS_NOREDRAW 0x0004
#define LBS_OWNERDRAWFIXED 0x0010
#define LBS_OWNERDRAWVARIABLE 0x0020
#define LBS_HASSTRINGS 0x0040
#define LBS_NOINTEGRALHEIGHT 0x0100
#define LBS_WANTKEYBOARDINPUT 0x0400
#define LBS_DISABLENOSCROLL 0x1000
#define LBS_STANDARD (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define LB_ADDSTRING 0x0180
#define LB_INSERTSTRING 0x0181
#define LB_DELETESTRING 0x0182
#define LB_RESETCONTENT 0x0184
#define LB_SETCURSEL 0x0186
#define LB_GETCURSEL 0x0188
#define LB_GETTEXT 0x0189
#define LB_GETTEXTLEN 0x018A
#define LB_GETCOUNT 0x018B
#define LB_GETTOPINDEX 0x018E
#define LB_SETTOPINDEX 0x0197
#define LB_GETITEMRECT 0x0198
#define LB_GETITEMDATA 0x0199
#define LB_SETITEMDATA 0x019A
#define LB_SETITEMHEIGHT 0x01A0
#define LB_GETITEMHEIGHT 0x01A1
#define LB_FINDSTRINGEXACT 0x01A2

#define LB_OKAY 0
#define LB_ERR (-1)
#define LB_ERRSPACE (-2)

// Notification codes (the high word of WM_COMMAND's wParam), with LBS_NOTIFY.
#define LBN_ERRSPACE (-2)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK 2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS 4
#define LBN_KILLFOCUS 5

#define WC_LISTBOXW u"LISTBOX"
