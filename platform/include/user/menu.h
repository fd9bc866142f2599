// Menus: menu objects (handles with generations, so a destroyed menu's handle stays dead),
// their items, menu templates, and popup menus tracked in a loop of their own.
#pragma once

#include "base/types.h"
#include "user/owner_draw.h"

// Item flags of AppendMenu, InsertMenu, ModifyMenu and the state calls.
#define MF_INSERT 0x0000
#define MF_BYCOMMAND 0x0000
#define MF_BYPOSITION 0x0400
#define MF_STRING 0x0000
#define MF_BITMAP 0x0004
#define MF_OWNERDRAW 0x0100
#define MF_POPUP 0x0010
#define MF_SEPARATOR 0x0800
#define MF_ENABLED 0x0000
#define MF_GRAYED 0x0001
#define MF_DISABLED 0x0002
#define MF_UNCHECKED 0x0000
#define MF_CHECKED 0x0008
#define MF_MENUBARBREAK 0x0020
#define MF_MENUBREAK 0x0040
#define MF_HILITE 0x0080
#define MF_UNHILITE 0x0000
// In a menu template: the last item of its level.
#define MF_END 0x0080

// MENUITEMINFO.
#define MIIM_STATE 0x0001
#define MIIM_ID 0x0002
#define MIIM_SUBMENU 0x0004
#define MIIM_CHECKMARKS 0x0008
#define MIIM_TYPE 0x0010
#define MIIM_DATA 0x0020

#define MFT_STRING MF_STRING
#define MFT_OWNERDRAW MF_OWNERDRAW
#define MFT_SEPARATOR MF_SEPARATOR
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK MF_MENUBREAK
#define MFT_RADIOCHECK 0x0200

#define MFS_ENABLED MF_ENABLED
#define MFS_GRAYED 0x0003
#define MFS_DISABLED MFS_GRAYED
#define MFS_UNCHECKED MF_UNCHECKED
#define MFS_CHECKED MF_CHECKED
#define MFS_HILITE MF_HILITE
#define MFS_UNHILITE MF_UNHILITE

struct MENUITEMINFOW {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPWSTR dwTypeData;
  UINT cch;
};
typedef MENUITEMINFOW MENUITEMINFO;
typedef MENUITEMINFOW* LPMENUITEMINFOW;
typedef MENUITEMINFOW* LPMENUITEMINFO;
typedef const MENUITEMINFOW* LPCMENUITEMINFOW;

// Menu templates (what a MENU resource holds): a header of WORD version 0 and WORD offset 0,
// then the items, each WORD-aligned: WORD flags (MF_POPUP, MF_END on the last item of its level,
// MF_GRAYED, MF_DISABLED, MF_CHECKED, MF_SEPARATOR, MF_OWNERDRAW), a WORD command id for items
// that are not popups, and the terminated UTF-16 text. A popup's items follow it directly. An
// item with flags 0, id 0 and an empty text is a separator too.
struct MENUITEMTEMPLATEHEADER {
  WORD versionNumber;
  WORD offset;
};
typedef void MENUTEMPLATEW;
typedef void MENUTEMPLATE;
typedef const void* LPCMENUTEMPLATEW;
typedef const void* LPCMENUTEMPLATE;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Destroys the menu and the submenus it opens. FALSE (ERROR_INVALID_MENU_HANDLE) for a handle
// that names no menu, a destroyed one included.
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);

// newItem is the text for MF_STRING and the item data for MF_OWNERDRAW; idOrSubmenu is the
// submenu handle for MF_POPUP. MF_BYCOMMAND looks for the command in submenus too.
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem);
// position 0xFFFFFFFF by position appends.
BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem);
BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem);
// Removes the item and destroys the submenu it opens.
BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
// Removes the item and keeps the submenu.
BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);

// -1 for a handle that names no menu.
int GetMenuItemCount(HMENU menu);
// The command id of the item at the position; 0xFFFFFFFF for a popup item or no item.
UINT GetMenuItemID(HMENU menu, int position);
// The text of an item; returns its length copied (cut to maxChars - 1 and terminated), or
// the whole length when buffer is null. 0 for no item.
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxChars, UINT flags);
HMENU GetSubMenu(HMENU menu, int position);
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info);
// Return the previous state (MF_CHECKED or MF_UNCHECKED; MF_ENABLED, MF_GRAYED or MF_DISABLED),
// or 0xFFFFFFFF when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
UINT EnableMenuItem(HMENU menu, UINT item, UINT flags);

// Builds a menu from a template; its popups become submenus. NULL for a malformed template.
HMENU LoadMenuIndirectW(LPCMENUTEMPLATEW menuTemplate);

// TrackPopupMenuEx: alignment of the menu to (x, y) and how the choice is returned.
#define TPM_LEFTBUTTON 0x0000
#define TPM_LEFTALIGN 0x0000
#define TPM_CENTERALIGN 0x0004
#define TPM_RIGHTALIGN 0x0008
#define TPM_TOPALIGN 0x0000
#define TPM_VCENTERALIGN 0x0010
#define TPM_BOTTOMALIGN 0x0020
#define TPM_HORIZONTAL 0x0000
#define TPM_VERTICAL 0x0040
#define TPM_NONOTIFY 0x0080
#define TPM_RETURNCMD 0x0100

struct TPMPARAMS {
  UINT cbSize;
  RECT rcExclude;
};
typedef TPMPARAMS* LPTPMPARAMS;

// Shows the menu in a topmost window of class "MNU" with an empty title, owned by owner, and
// runs its own message loop until an item is chosen or the menu is dismissed (Esc, a tap
// outside it, the owner's end). Owner-drawn items are measured (WM_MEASUREITEM) when the menu
// opens and drawn (WM_DRAWITEM) by the owner. Grey and disabled items cannot be chosen. With
// TPM_RETURNCMD the chosen command id is returned (0 for none); without it the choice is posted
// to the owner as WM_COMMAND and the result is TRUE. The release of the tap that opened the menu
// does not close it. params (the rectangle to keep clear) is not used.
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);

inline BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem)
{
  return AppendMenuW(menu, flags, idOrSubmenu, newItem);
}
inline BOOL InsertMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem)
{
  return InsertMenuW(menu, position, flags, idOrSubmenu, newItem);
}
inline BOOL ModifyMenu(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem)
{
  return ModifyMenuW(menu, position, flags, idOrSubmenu, newItem);
}
inline int GetMenuString(HMENU menu, UINT item, LPWSTR buffer, int maxChars, UINT flags)
{
  return GetMenuStringW(menu, item, buffer, maxChars, flags);
}
inline BOOL GetMenuItemInfo(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info)
{
  return GetMenuItemInfoW(menu, item, byPosition, info);
}
inline HMENU LoadMenuIndirect(LPCMENUTEMPLATEW menuTemplate) { return LoadMenuIndirectW(menuTemplate); }
