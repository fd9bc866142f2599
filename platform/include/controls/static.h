// The STATIC control: a text label. It asks its parent for colours with WM_CTLCOLORSTATIC
// (wParam the device context, lParam the control; the answer is the background brush), draws
// its text left, centred or right, and with SS_NOTIFY reports taps as WM_COMMAND to its parent.
// Without SS_NOTIFY a tap passes through it to the window below.
#pragma once

#define SS_LEFT 0x00000000
#define SS_CENTER 0x00000001
#define SS_RIGHT 0x00000002
#define SS_LEFTNOWORDWRAP 0x0000000C
#define SS_TYPEMASK 0x0000001F
#define SS_NOPREFIX 0x00000080
#define SS_NOTIFY 0x00000100
#define SS_CENTERIMAGE 0x00000200

// Notification codes (the high word of WM_COMMAND's wParam).
#define STN_CLICKED 0
#define STN_DBLCLK 1
#define STN_ENABLE 2
#define STN_DISABLE 3

#define WC_STATICW u"STATIC"
