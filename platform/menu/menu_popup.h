// A popup menu on screen: its items laid out in the "MNU" window, the selection, and painting.
// The tracking loop (menu_tracking.cpp) owns one while a menu is tracked.
#pragma once

#include <vector>

#include "menu_store.h"
#include "user/user.h"

namespace user_menu {

struct PopupItem {
  MenuItem item;
  RECT rect{};  // in the menu window's client area
};

struct Popup {
  HMENU menu = nullptr;
  HWND owner = nullptr;
  HWND window = nullptr;
  std::vector<PopupItem> items;
  SIZE client{};
  int selected = -1;
};

// Measures the items (owner-drawn ones through WM_MEASUREITEM to the owner) and stacks them.
void LayOutItems(Popup& popup);
// Creates the menu window, hidden, with the popup's client size at (x, y) aligned by the
// TPM_ flags and kept on the screen.
bool CreatePopupWindow(Popup& popup, UINT flags, int x, int y);
// Draws the items: owner-drawn ones through WM_DRAWITEM to the owner.
void PaintPopup(Popup& popup);
void Repaint(Popup& popup);

// The item under a client point, or -1.
int ItemAt(const Popup& popup, POINT client);
// Whether an item can be chosen: not a separator, not grey or disabled, opens no submenu.
bool IsChoosable(const MenuItem& item);

}  // namespace user_menu
