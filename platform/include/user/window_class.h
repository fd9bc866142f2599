// Window classes: registration, look-up (for superclassing) and class data.
#pragma once

#include "base/types.h"
#include "user/messages.h"

struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
};
typedef WNDCLASSW WNDCLASS;
typedef WNDCLASSW* LPWNDCLASSW;
typedef WNDCLASSW* LPWNDCLASS;

// A class name may be given as an atom: MAKEINTATOM(atom) in place of the name.
#define MAKEINTATOM(i) (reinterpret_cast<LPCWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(r) ((reinterpret_cast<ULONG_PTR>(r) >> 16) == 0)

// GetClassLong / GetClassLongPtr indexes.
#define GCL_MENUNAME (-8)
#define GCLP_HBRBACKGROUND (-10)
#define GCL_HBRBACKGROUND GCLP_HBRBACKGROUND
#define GCLP_HCURSOR (-12)
#define GCLP_HICON (-14)
#define GCLP_HMODULE (-16)
#define GCL_CBWNDEXTRA (-18)
#define GCL_CBCLSEXTRA (-20)
#define GCLP_WNDPROC (-24)
#define GCL_WNDPROC GCLP_WNDPROC
#define GCL_STYLE (-26)
#define GCW_ATOM (-32)

// Registers a class of this process. Fails with ERROR_CLASS_ALREADY_EXISTS for a name in use.
ATOM RegisterClassW(const WNDCLASSW* wc);
// Fails with ERROR_CLASS_HAS_WINDOWS while windows of the class exist.
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
// Fills the class's registration record (the base of a superclass).
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc);
int GetClassNameW(HWND hwnd, LPWSTR buffer, int bufferChars);
DWORD GetClassLongW(HWND hwnd, int index);
ULONG_PTR GetClassLongPtrW(HWND hwnd, int index);
ULONG_PTR SetClassLongPtrW(HWND hwnd, int index, LONG_PTR value);

inline ATOM RegisterClass(const WNDCLASSW* wc) { return RegisterClassW(wc); }
inline BOOL UnregisterClass(LPCWSTR className, HINSTANCE instance) { return UnregisterClassW(className, instance); }
inline BOOL GetClassInfo(HINSTANCE instance, LPCWSTR className, WNDCLASSW* wc)
{
  return GetClassInfoW(instance, className, wc);
}
inline int GetClassName(HWND hwnd, LPWSTR buffer, int bufferChars) { return GetClassNameW(hwnd, buffer, bufferChars); }
inline DWORD GetClassLong(HWND hwnd, int index) { return GetClassLongW(hwnd, index); }
inline ULONG_PTR GetClassLongPtr(HWND hwnd, int index) { return GetClassLongPtrW(hwnd, index); }
inline ULONG_PTR SetClassLongPtr(HWND hwnd, int index, LONG_PTR value) { return SetClassLongPtrW(hwnd, index, value); }
