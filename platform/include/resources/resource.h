// Resources of resource libraries: finding them by type and name, and their bytes.
//
// A resource library is a folder ("WidgetRes.dll") that LoadLibrary loads (kernel/module.h).
// Its resources are written as resource scripts ("*.rc" in the folder, with #include'd headers
// of #define'd ids) and the files they name; the layer compiles them when the library is first
// asked for a resource. The bytes are those the platform's calls expect: RT_DIALOG a dialog
// template (user/dialog_template.h), RT_MENU a menu template (user/menu.h), RT_STRING blocks of
// sixteen counted strings, RT_BITMAP and RT_HTML the named file as it is (PNG or BMP; HTML).
#pragma once

#include "base/types.h"
#include "user/window_class.h"

#ifndef MAKEINTRESOURCEW
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#endif
#ifndef MAKEINTRESOURCE
#define MAKEINTRESOURCE MAKEINTRESOURCEW
#endif

#define RT_BITMAP MAKEINTRESOURCE(2)
#define RT_MENU MAKEINTRESOURCE(4)
#define RT_DIALOG MAKEINTRESOURCE(5)
#define RT_STRING MAKEINTRESOURCE(6)
#define RT_HTML MAKEINTRESOURCE(23)

// name and type are ordinals (MAKEINTRESOURCE), "#123", or names compared without case. NULL
// with ERROR_RESOURCE_DATA_NOT_FOUND for a module that is no resource library, and
// ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_NAME_NOT_FOUND otherwise.
HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
// The resource's bytes stay valid while the process runs.
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL loaded);
DWORD SizeofResource(HMODULE module, HRSRC resource);

inline HRSRC FindResource(HMODULE module, LPCWSTR name, LPCWSTR type) { return FindResourceW(module, name, type); }
