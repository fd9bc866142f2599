// The BUTTON control: push and default push buttons, check boxes, radio buttons (with automatic
// groups), group boxes and owner-drawn buttons.
//
// A button reports a click (BN_CLICKED) only when its pressed state took effect: a tap or the
// space key sends BM_SETSTATE(TRUE) to the button itself, and the release clicks only when the
// button is still pushed then and the pointer is still over it. A subclass that keeps
// BM_SETSTATE from the button therefore suppresses the click.
// Painting asks the parent for colours with WM_CTLCOLORBTN; BS_OWNERDRAW buttons are drawn by
// the parent on WM_DRAWITEM (ODT_BUTTON, with ODS_SELECTED, ODS_FOCUS and ODS_DISABLED).
#pragma once

#define BS_PUSHBUTTON 0x00000000
#define BS_DEFPUSHBUTTON 0x00000001
#define BS_CHECKBOX 0x00000002
#define BS_AUTOCHECKBOX 0x00000003
#define BS_RADIOBUTTON 0x00000004
#define BS_3STATE 0x00000005
#define BS_AUTO3STATE 0x00000006
#define BS_GROUPBOX 0x00000007
#define BS_AUTORADIOBUTTON 0x00000009
#define BS_OWNERDRAW 0x0000000B
#define BS_TYPEMASK 0x0000000F
#define BS_LEFTTEXT 0x00000020
#define BS_LEFT 0x00000100
#define BS_RIGHT 0x00000200
#define BS_CENTER 0x00000300
#define BS_TOP 0x00000400
#define BS_BOTTOM 0x00000800
#define BS_VCENTER 0x00000C00
#define BS_PUSHLIKE 0x00001000
#define BS_MULTILINE 0x00002000
#define BS_NOTIFY 0x00004000
#define BS_FLAT 0x00008000

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK 0x00F5

// Check and state values (BM_GETCHECK, BM_SETCHECK, BM_GETSTATE).
#define BST_UNCHECKED 0x0000
#define BST_CHECKED 0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED 0x0004
#define BST_FOCUS 0x0008

// Notification codes (the high word of WM_COMMAND's wParam). BN_SETFOCUS and BN_KILLFOCUS
// only with BS_NOTIFY.
#define BN_CLICKED 0
#define BN_PAINT 1
#define BN_HILITE 2
#define BN_UNHILITE 3
#define BN_DISABLE 4
#define BN_DOUBLECLICKED 5
#define BN_SETFOCUS 6
#define BN_KILLFOCUS 7

#define WC_BUTTONW u"BUTTON"
