// Windows: creation and destruction, window data, procedures and subclassing, window text.
#pragma once

#include <functional>

#include "base/types.h"
#include "user/messages.h"
#include "user/window_styles.h"

#define CW_USEDEFAULT (static_cast<int>(0x80000000))

// GetWindowLong / GetWindowLongPtr indexes. Non-negative indexes address the window's
// extra bytes (the class's cbWndExtra).
#define GWL_WNDPROC (-4)
#define GWLP_WNDPROC GWL_WNDPROC
#define GWL_HINSTANCE (-6)
#define GWLP_HINSTANCE GWL_HINSTANCE
#define GWL_HWNDPARENT (-8)
#define GWLP_HWNDPARENT GWL_HWNDPARENT
#define GWL_ID (-12)
#define GWLP_ID GWL_ID
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWLP_USERDATA GWL_USERDATA

// The extra bytes of dialog windows, pointer-sized slots.
#define DWLP_MSGRESULT 0
#define DWL_MSGRESULT DWLP_MSGRESULT
#define DWLP_DLGPROC (DWLP_MSGRESULT + static_cast<int>(sizeof(LRESULT)))
#define DWL_DLGPROC DWLP_DLGPROC
#define DWLP_USER (DWLP_DLGPROC + static_cast<int>(sizeof(LONG_PTR)))
#define DWL_USER DWLP_USER
#define DLGWINDOWEXTRA (DWLP_USER + static_cast<int>(sizeof(LONG_PTR)))

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);
// Destroys a window of the calling thread with its children and owned windows:
// hide, WM_DESTROY parent first then children, WM_NCDESTROY children first then parent.
BOOL DestroyWindow(HWND hwnd);
// TRUE exactly while the handle names a window that exists, in this process or another
// process of the device.
BOOL IsWindow(HWND hwnd);

LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);

// Window procedures as closures. A closure gets a WNDPROC value that can be stored as a
// window's or class's procedure (SetWindowLongPtr GWLP_WNDPROC, WNDCLASS::lpfnWndProc) and
// called through CallWindowProc; it lives until FreeWindowProc.
using WindowProcFunction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
WNDPROC MakeWindowProc(WindowProcFunction function);
void FreeWindowProc(WNDPROC proc);
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Window text goes through the window's procedure (WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH).
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int bufferChars);
int GetWindowTextLengthW(HWND hwnd);

inline HWND CreateWindowEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                           int width, int height, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param)
{
  return CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, menuOrId, instance,
                         param);
}
inline HWND CreateWindowW(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width, int height,
                          HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param)
{
  return CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menuOrId, instance, param);
}
inline HWND CreateWindow(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width, int height,
                         HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param)
{
  return CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menuOrId, instance, param);
}
inline LONG GetWindowLong(HWND hwnd, int index) { return GetWindowLongW(hwnd, index); }
inline LONG SetWindowLong(HWND hwnd, int index, LONG value) { return SetWindowLongW(hwnd, index, value); }
inline LONG_PTR GetWindowLongPtr(HWND hwnd, int index) { return GetWindowLongPtrW(hwnd, index); }
inline LONG_PTR SetWindowLongPtr(HWND hwnd, int index, LONG_PTR value)
{
  return SetWindowLongPtrW(hwnd, index, value);
}
inline LRESULT CallWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return CallWindowProcW(proc, hwnd, message, wParam, lParam);
}
inline LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefWindowProcW(hwnd, message, wParam, lParam);
}
inline BOOL SetWindowText(HWND hwnd, LPCWSTR text) { return SetWindowTextW(hwnd, text); }
inline int GetWindowText(HWND hwnd, LPWSTR buffer, int bufferChars)
{
  return GetWindowTextW(hwnd, buffer, bufferChars);
}
inline int GetWindowTextLength(HWND hwnd) { return GetWindowTextLengthW(hwnd); }
