// The COMBOBOX control, as a drop-down list (CBS_DROPDOWNLIST: the box shows the selected item)
// or a drop-down (CBS_DROPDOWN: an EDIT child shows and takes the text).
//
// The list is a popup LISTBOX owned by the box: its notifications (WM_COMMAND with LBN_*) and its
// colour requests (WM_CTLCOLORLISTBOX) go to the box's procedure first, so a subclass of the box
// sees them before the box handles them; the box passes colour requests on to its parent. The
// box's selection is the list's selection.
//
// The height the box is created (or later sized) with is the height of the box and its dropped
// list together; the box itself keeps the height of its selection field.
//
// Notifications to the parent (the high word of WM_COMMAND's wParam):
// - opening (a tap on the box, F4, CB_SHOWDROPDOWN TRUE): CBN_DROPDOWN, then the list shows;
// - a change of the selection by a tap or key: CBN_SELCHANGE;
// - closing by choosing (a tap on an item, Enter): CBN_SELENDOK, the list hides, CBN_CLOSEUP;
// - closing otherwise (Escape, a tap outside, focus lost, CB_SHOWDROPDOWN FALSE): CBN_SELENDCANCEL,
//   the list hides, CBN_CLOSEUP;
// - CBN_SETFOCUS and CBN_KILLFOCUS as the box (or its edit) gains and loses the focus;
// - CBN_EDITUPDATE and CBN_EDITCHANGE as the user changes the edit's text.
// The edit of a drop-down passes the arrows and F4 (and Enter and Escape while the list is dropped)
// to the box; a choice shows in the edit all selected.
// CBS_SORT is read at each CB_ADDSTRING, so clearing the style later stops the sorting.
#pragma once

#define CBS_SIMPLE 0x0001
#define CBS_DROPDOWN 0x0002
#define CBS_DROPDOWNLIST 0x0003
#define CBS_TYPEMASK 0x0003
#define CBS_OWNERDRAWFIXED 0x0010
#define CBS_AUTOHSCROLL 0x0040
#define CBS_SORT 0x0100
#define CBS_HASSTRINGS 0x0200
#define CBS_NOINTEGRALHEIGHT 0x0400
#define CBS_DISABLENOSCROLL 0x0800

#define CB_ADDSTRING 0x0143
#define CB_DELETESTRING 0x0144
#define CB_GETCOUNT 0x0146
#define CB_GETCURSEL 0x0147
#define CB_GETLBTEXT 0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_INSERTSTRING 0x014A
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL 0x014E
#define CB_SHOWDROPDOWN 0x014F
#define CB_GETITEMDATA 0x0150
#define CB_SETITEMDATA 0x0151
#define CB_GETDROPPEDCONTROLRECT 0x0152
#define CB_SETITEMHEIGHT 0x0153
#define CB_GETITEMHEIGHT 0x0154
#define CB_GETDROPPEDSTATE 0x0157
#define CB_FINDSTRINGEXACT 0x0158

#define CB_OKAY 0
#define CB_ERR (-1)
#define CB_ERRSPACE (-2)

#define CBN_ERRSPACE (-1)
#define CBN_SELCHANGE 1
#define CBN_DBLCLK 2
#define CBN_SETFOCUS 3
#define CBN_KILLFOCUS 4
#define CBN_EDITCHANGE 5
#define CBN_EDITUPDATE 6
#define CBN_DROPDOWN 7
#define CBN_CLOSEUP 8
#define CBN_SELENDOK 9
#define CBN_SELENDCANCEL 10

// The ids of the box's parts.
#define CB_LIST_ID 1000
#define CB_EDIT_ID 1001

#define WC_COMBOBOXW u"COMBOBOX"
