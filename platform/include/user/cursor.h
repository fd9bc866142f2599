// The cursor: the device shows one for the whole screen, the wait cursor while a program works.
// The system's cursors are shared (never destroyed); the display for people shows the one that
// is set over its window, and a headless device shows none.
#pragma once

#include "base/types.h"

#define IDC_ARROW (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(32512)))
#define IDC_WAIT (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(32514)))

// A system cursor (hInstance null): IDC_ARROW or IDC_WAIT. Anything else fails with
// ERROR_RESOURCE_NAME_NOT_FOUND (programs have no cursor resources).
HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName);
// Sets the cursor (null: none) and answers the one set before. A value that is not a cursor is
// refused (null, ERROR_INVALID_PARAMETER) and changes nothing.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();

inline HCURSOR LoadCursor(HINSTANCE hInstance, LPCWSTR lpCursorName) { return LoadCursorW(hInstance, lpCursorName); }
