// Strings and menus out of resource libraries (resources/resource.h).
#pragma once

#include "base/types.h"

// Copies string id into the buffer, cut to maxChars - 1 characters and terminated; returns the
// number copied. A missing string gives 0 and an empty text. With maxChars 0 the buffer
// receives a pointer to the library's own (unterminated) text and the length is returned.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int maxChars);
// The menu of a MENU resource (FindResource and LoadMenuIndirect); NULL when there is none.
HMENU LoadMenuW(HINSTANCE instance, LPCWSTR name);

inline int LoadString(HINSTANCE instance, UINT id, LPWSTR buffer, int maxChars)
{
  return LoadStringW(instance, id, buffer, maxChars);
}
inline HMENU LoadMenu(HINSTANCE instance, LPCWSTR name) { return LoadMenuW(instance, name); }
