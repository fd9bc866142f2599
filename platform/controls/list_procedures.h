// The window procedures of the list controls, and the link between a combo box and its list.
#pragma once

#include "windows.h"

namespace controls_detail {

LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT TabControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A combo box creates its popup list with a ComboLink as the creation parameter; the list then
// sends its notifications and colour requests to the box, and tells it when the user chose.
struct ComboLink {
  static constexpr DWORD kMagic = 0x4B434C42;
  DWORD magic = kMagic;
  HWND combo = nullptr;
};

// From the dropped list to its box: close the list, choosing (wParam TRUE) or cancelling (FALSE).
// Below WM_USER, so no program message shares the number.
constexpr UINT kComboListClose = 0x03F0;

}  // namespace controls_detail
