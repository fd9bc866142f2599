// The system's message box: a text, a caption, one of the device's sets of buttons and an icon,
// answered with the button chosen. On a device with a screen it is a small modal dialog over the
// screen; a program without a screen (the service host) writes the box to its log (standard
// error) and takes the default button. A device set up for unattended runs ([messagebox] in the
// device settings) answers every box at once and logs it the same way.
#pragma once

#include "base/types.h"

// Buttons (the low four bits).
#define MB_OK 0x00000000
#define MB_OKCANCEL 0x00000001
#define MB_ABORTRETRYIGNORE 0x00000002
#define MB_YESNOCANCEL 0x00000003
#define MB_YESNO 0x00000004
#define MB_RETRYCANCEL 0x00000005
#define MB_TYPEMASK 0x0000000F

// Icons.
#define MB_ICONHAND 0x00000010
#define MB_ICONQUESTION 0x00000020
#define MB_ICONEXCLAMATION 0x00000030
#define MB_ICONASTERISK 0x00000040
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0

// Which button is the default (Enter, and the answer of an unattended box).
#define MB_DEFBUTTON1 0x00000000
#define MB_DEFBUTTON2 0x00000100
#define MB_DEFBUTTON3 0x00000200
#define MB_DEFMASK 0x00000F00

// Accepted; the box is always modal to its owner, brought to the front and topmost.
#define MB_APPLMODAL 0x00000000
#define MB_SETFOREGROUND 0x00010000
#define MB_TOPMOST 0x00040000

// Shows the box, with hWnd (when it is a window) disabled meanwhile, and answers the button
// chosen: IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES or IDNO. Closing a box that has a
// Cancel button (or only OK) answers that button. A null caption is "错误". 0 with
// ERROR_INVALID_MSGBOX_STYLE for a button set or icon that does not exist.
int MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
inline int MessageBox(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType)
{
  return MessageBoxW(hWnd, lpText, lpCaption, uType);
}
