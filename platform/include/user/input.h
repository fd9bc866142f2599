// Key and pointer input: virtual keys, key state, double taps.
//
// Key messages carry in lParam: bits 0-15 the repeat count (1), bits 16-23 the scan code,
// bit 24 the extended-key flag, bit 30 the previous key state and bit 31 the transition
// state (WM_KEYDOWN 0x00000001, WM_KEYUP 0xC0000001, plus the scan code and extended flag).
// Pointer messages carry the client coordinates as signed 16-bit values (GET_X_LPARAM).
// Classes with CS_DBLCLKS get WM_LBUTTONDBLCLK for a second tap on the same window within
// the double-tap time and distance.
#pragma once

#include "base/types.h"

#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SELECT 0x29
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
#define VK_LWIN 0x5B
#define VK_NUMPAD0 0x60
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_OEM_1 0xBA
#define VK_OEM_PLUS 0xBB
#define VK_OEM_COMMA 0xBC
#define VK_OEM_MINUS 0xBD
#define VK_OEM_PERIOD 0xBE
#define VK_OEM_2 0xBF
#define VK_PROCESSKEY 0xE5
// A key that carries one character of text: the character is the high word of wParam.
#define VK_PACKET 0xE7

// The phone's keys.
#define VK_TSOFT1 VK_F1
#define VK_TSOFT2 VK_F2
#define VK_TTALK VK_F3
#define VK_TEND VK_F4
#define VK_TUP VK_UP
#define VK_TDOWN VK_DOWN
#define VK_TLEFT VK_LEFT
#define VK_TRIGHT VK_RIGHT
#define VK_TACTION VK_RETURN
#define VK_TBACK VK_ESCAPE

// Bit 15 set: the key is down; bit 0: toggled (for the shift toggle kept by some edits).
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);
UINT GetDoubleClickTime();
