// The window tree: parents, owners, children in z-order, look-up by id, class or title.
#pragma once

#include "base/types.h"

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

// The parent of a child window; the owner of a top-level WS_POPUP window; else null.
HWND GetParent(HWND hwnd);
// Moves the window under a new parent (null: top-level), at the top of its siblings.
// Returns the former parent.
HWND SetParent(HWND hwnd, HWND newParent);
// Siblings in z-order (GW_HWNDNEXT goes down), the topmost child, the owner.
HWND GetWindow(HWND hwnd, UINT relation);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
HWND GetDesktopWindow();
// A top-level window by class and/or title (either may be null; both compared without case),
// in this process first, then in the other processes of the device.
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
// Calls the function with each top-level window of the device, this process's first, then those
// of the other processes, until it returns FALSE (EnumWindows then returns FALSE too). The list
// is taken before the first call, so windows may go or come meanwhile.
typedef BOOL (*WNDENUMPROC)(HWND hwnd, LPARAM lParam);
BOOL EnumWindows(WNDENUMPROC lpEnumFunc, LPARAM lParam);
// The window's thread id; the process id through processId when not null. 0 for no window.
DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);

inline HWND FindWindow(LPCWSTR className, LPCWSTR windowName) { return FindWindowW(className, windowName); }
