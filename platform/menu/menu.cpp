// Menu objects and their items: creation, destruction with submenus, items by position or by
// command, texts, states and item information.
#include "menu_store.h"

#include <set>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/handle_table.h"

namespace user_menu {

std::mutex& MenuLock()
{
  static std::mutex* lock = new std::mutex;
  return *lock;
}

std::shared_ptr<Menu> FindMenu(HMENU menu)
{
  auto found = std::dynamic_pointer_cast<Menu>(kernel::LookupHandle(reinterpret_cast<HANDLE>(menu)));
  if (!found)
    SetLastError(ERROR_INVALID_MENU_HANDLE);
  return found;
}

bool SnapshotItems(HMENU menu, std::vector<MenuItem>& items)
{
  std::lock_guard lock(MenuLock());
  auto found = FindMenu(menu);
  if (!found)
    return false;
  items = found->items;
  return true;
}

}  // namespace user_menu

using namespace user_menu;

namespace {

using Guard = std::lock_guard<std::mutex>;

struct ItemRef {
  std::shared_ptr<Menu> menu;
  size_t index = 0;
  MenuItem& item() const { return menu->items[index]; }
};

// An item by position, or by command in the menu and its submenus (depth first).
bool FindByCommand(const std::shared_ptr<Menu>& menu, UINT id, ItemRef& ref, std::set<Menu*>& seen)
{
  if (!seen.insert(menu.get()).second)
    return false;
  for (size_t i = 0; i < menu->items.size(); ++i) {
    const MenuItem& item = menu->items[i];
    if (!item.submenu && item.id == id) {
      ref = {menu, i};
      return true;
    }
    if (item.submenu) {
      auto sub = std::dynamic_pointer_cast<Menu>(kernel::LookupHandle(reinterpret_cast<HANDLE>(item.submenu)));
      if (sub && FindByCommand(sub, id, ref, seen))
        return true;
    }
  }
  return false;
}

bool FindItem(HMENU handle, UINT position, UINT flags, ItemRef& ref)
{
  auto menu = FindMenu(handle);
  if (!menu)
    return false;
  if (flags & MF_BYPOSITION) {
    if (position >= menu->items.size())
      return false;
    ref = {menu, position};
    return true;
  }
  std::set<Menu*> seen;
  return FindByCommand(menu, position, ref, seen);
}

// The item that AppendMenu, InsertMenu and ModifyMenu describe.
bool MakeItem(UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem, MenuItem& item)
{
  if (flags & MF_BITMAP) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  item = {};
  item.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED);
  if (flags & MF_POPUP) {
    item.submenu = reinterpret_cast<HMENU>(idOrSubmenu);
    if (!FindMenu(item.submenu))
      return false;
  } else {
    item.id = static_cast<UINT>(idOrSubmenu);
  }
  if (flags & MF_SEPARATOR) {
    item.type = MFT_SEPARATOR;
  } else if (flags & MF_OWNERDRAW) {
    item.type = MFT_OWNERDRAW;
    item.data = reinterpret_cast<ULONG_PTR>(newItem);
  } else if (newItem) {
    item.text = newItem;
  }
  return true;
}

void DestroyTree(HMENU handle, std::set<HMENU>& seen)
{
  if (!seen.insert(handle).second)
    return;
  auto menu = std::dynamic_pointer_cast<Menu>(kernel::RemoveHandle(reinterpret_cast<HANDLE>(handle)));
  if (!menu)
    return;
  for (const MenuItem& item : menu->items)
    if (item.submenu)
      DestroyTree(item.submenu, seen);
}

HMENU NewMenu()
{
  return static_cast<HMENU>(kernel::InsertHandle(std::make_shared<Menu>()));
}

}  // namespace

HMENU CreateMenu()
{
  return NewMenu();
}

HMENU CreatePopupMenu()
{
  return NewMenu();
}

BOOL DestroyMenu(HMENU menu)
{
  Guard lock(MenuLock());
  if (!FindMenu(menu))
    return FALSE;
  std::set<HMENU> seen;
  DestroyTree(menu, seen);
  return TRUE;
}

BOOL IsMenu(HMENU menu)
{
  Guard lock(MenuLock());
  return FindMenu(menu) != nullptr;
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem)
{
  return InsertMenuW(menu, 0xFFFFFFFF, flags | MF_BYPOSITION, idOrSubmenu, newItem);
}

BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem)
{
  Guard lock(MenuLock());
  auto target = FindMenu(menu);
  MenuItem item;
  if (!target || !MakeItem(flags, idOrSubmenu, newItem, item))
    return FALSE;
  if ((flags & MF_BYPOSITION) && position >= target->items.size()) {
    target->items.push_back(std::move(item));
    return TRUE;
  }
  ItemRef ref;
  if (!FindItem(menu, position, flags, ref)) {
    SetLastError(ERROR_NOT_FOUND);
    return FALSE;
  }
  ref.menu->items.insert(ref.menu->items.begin() + static_cast<ptrdiff_t>(ref.index), std::move(item));
  return TRUE;
}

BOOL ModifyMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubmenu, LPCWSTR newItem)
{
  Guard lock(MenuLock());
  ItemRef ref;
  MenuItem item;
  if (!FindItem(menu, position, flags, ref) || !MakeItem(flags, idOrSubmenu, newItem, item))
    return FALSE;
  // A popup item changed into another item keeps no hold on its old submenu, as on the device.
  ref.item() = std::move(item);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT position, UINT flags)
{
  Guard lock(MenuLock());
  ItemRef ref;
  if (!FindItem(menu, position, flags, ref))
    return FALSE;
  HMENU submenu = ref.item().submenu;
  ref.menu->items.erase(ref.menu->items.begin() + static_cast<ptrdiff_t>(ref.index));
  if (submenu) {
    std::set<HMENU> seen{menu};
    DestroyTree(submenu, seen);
  }
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT position, UINT flags)
{
  Guard lock(MenuLock());
  ItemRef ref;
  if (!FindItem(menu, position, flags, ref))
    return FALSE;
  ref.menu->items.erase(ref.menu->items.begin() + static_cast<ptrdiff_t>(ref.index));
  return TRUE;
}

int GetMenuItemCount(HMENU menu)
{
  Guard lock(MenuLock());
  auto found = FindMenu(menu);
  return found ? static_cast<int>(found->items.size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position)
{
  Guard lock(MenuLock());
  ItemRef ref;
  if (position < 0 || !FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION, ref) || ref.item().submenu)
    return 0xFFFFFFFF;
  return ref.item().id;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int maxChars, UINT flags)
{
  Guard lock(MenuLock());
  ItemRef ref;
  if (!FindItem(menu, item, flags, ref)) {
    if (buffer && maxChars > 0)
      buffer[0] = u'\0';
    return 0;
  }
  const std::u16string& text = ref.item().text;
  if (!buffer)
    return static_cast<int>(text.size());
  if (maxChars <= 0)
    return 0;
  size_t count = std::min(text.size(), static_cast<size_t>(maxChars - 1));
  text.copy(buffer, count);
  buffer[count] = u'\0';
  return static_cast<int>(count);
}

HMENU GetSubMenu(HMENU menu, int position)
{
  Guard lock(MenuLock());
  ItemRef ref;
  if (position < 0 || !FindItem(menu, static_cast<UINT>(position), MF_BYPOSITION, ref))
    return nullptr;
  return ref.item().submenu;
}

BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, LPMENUITEMINFOW info)
{
  Guard lock(MenuLock());
  if (!info || info->cbSize < sizeof(MENUITEMINFOW)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  ItemRef ref;
  if (!FindItem(menu, item, byPosition ? MF_BYPOSITION : MF_BYCOMMAND, ref))
    return FALSE;
  const MenuItem& found = ref.item();
  if (info->fMask & MIIM_STATE)
    info->fState = found.state;
  if (info->fMask & MIIM_ID)
    info->wID = found.submenu ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(found.submenu)) : found.id;
  if (info->fMask & MIIM_SUBMENU)
    info->hSubMenu = found.submenu;
  if (info->fMask & MIIM_CHECKMARKS) {
    info->hbmpChecked = nullptr;
    info->hbmpUnchecked = nullptr;
  }
  if (info->fMask & MIIM_DATA)
    info->dwItemData = found.data;
  if (info->fMask & MIIM_TYPE) {
    info->fType = found.type;
    if (found.type == MFT_STRING) {
      // The text is cut to the buffer (cch characters with the terminator); cch gets the length.
      if (info->dwTypeData && info->cch > 0) {
        size_t count = std::min(found.text.size(), static_cast<size_t>(info->cch - 1));
        found.text.copy(info->dwTypeData, count);
        info->dwTypeData[count] = u'\0';
        info->cch = static_cast<UINT>(count);
      } else {
        info->cch = static_cast<UINT>(found.text.size());
      }
    } else {
      info->cch = 0;
    }
  }
  return TRUE;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags)
{
  Guard lock(MenuLock());
  ItemRef ref;
  if (!FindItem(menu, item, flags, ref))
    return 0xFFFFFFFF;
  UINT& state = ref.item().state;
  DWORD previous = state & MF_CHECKED;
  state = (state & ~MF_CHECKED) | (flags & MF_CHECKED);
  return previous;
}

UINT EnableMenuItem(HMENU menu, UINT item, UINT flags)
{
  Guard lock(MenuLock());
  ItemRef ref;
  if (!FindItem(menu, item, flags, ref))
    return 0xFFFFFFFF;
  UINT& state = ref.item().state;
  UINT previous = state & (MF_GRAYED | MF_DISABLED);
  state = (state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return previous;
}
