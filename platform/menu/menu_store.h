// Menu objects and their items, shared by the menu calls and the popup tracking loop. Menus
// are kernel objects in the process's handle table (a handle is a slot and a generation), so a
// destroyed menu's handle never reaches a later menu. One lock guards every menu.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "base/types.h"
#include "kernel/object.h"
#include "user/menu.h"

namespace user_menu {

struct MenuItem {
  UINT type = MFT_STRING;  // MFT_STRING, MFT_OWNERDRAW or MFT_SEPARATOR
  UINT state = 0;          // MF_GRAYED, MF_DISABLED, MF_CHECKED
  UINT id = 0;
  HMENU submenu = nullptr;  // the menu a popup item opens
  std::u16string text;
  ULONG_PTR data = 0;  // an owner-drawn item's data
};

class Menu : public kernel::Object {
 public:
  bool ClosedByCloseHandle() const override { return false; }
  std::vector<MenuItem> items;
};

std::mutex& MenuLock();
// The menu a handle names, or null (ERROR_INVALID_MENU_HANDLE). Call with the lock held.
std::shared_ptr<Menu> FindMenu(HMENU menu);

// A copy of a menu's items, for the tracking loop to show while the owner may change the menu.
bool SnapshotItems(HMENU menu, std::vector<MenuItem>& items);

}  // namespace user_menu
