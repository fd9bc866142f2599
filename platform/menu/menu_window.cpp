// The popup menu's window (class "MNU", empty title, topmost): item layout and painting.
#include <algorithm>
#include <mutex>

#include "internal/user/paint_link.h"
#include "menu_popup.h"

namespace user_menu {
namespace {

constexpr LPCWSTR kClassName = u"MNU";

int Scale()
{
  return std::max(1, GetSystemMetrics(SM_CXSCREEN) / 240);
}

// Text items: a line of the menu font (12 pixels at 240 wide) with room around it.
int TextItemHeight() { return 22 * Scale(); }
int SeparatorHeight() { return 6 * Scale(); }
int TextItemWidth(const std::u16string& text)
{
  return (12 * static_cast<int>(text.size()) + 24) * Scale();
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  auto* popup = reinterpret_cast<Popup*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_PAINT && popup) {
    PaintPopup(*popup);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool RegisterMenuClass()
{
  static std::once_flag once;
  static bool registered = false;
  std::call_once(once, [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = MenuWindowProc;
    wc.lpszClassName = kClassName;
    registered = RegisterClassW(&wc) != 0;
  });
  return registered;
}

}  // namespace

bool IsChoosable(const MenuItem& item)
{
  return item.type != MFT_SEPARATOR && !item.submenu && !(item.state & (MF_GRAYED | MF_DISABLED));
}

void LayOutItems(Popup& popup)
{
  int width = 0;
  int top = 0;
  for (PopupItem& entry : popup.items) {
    int itemWidth = 0;
    int itemHeight = 0;
    const MenuItem& item = entry.item;
    if (item.type == MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT measure{ODT_MENU, 0, item.id, 0, static_cast<UINT>(TextItemHeight()), item.data};
      SendMessageW(popup.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
      itemWidth = static_cast<int>(std::min<UINT>(measure.itemWidth, 0x7FFF));
      itemHeight = static_cast<int>(std::min<UINT>(measure.itemHeight, 0x7FFF));
    } else if (item.type == MFT_SEPARATOR) {
      itemHeight = SeparatorHeight();
    } else {
      itemWidth = TextItemWidth(item.text);
      itemHeight = TextItemHeight();
    }
    entry.rect = {0, top, 0, top + itemHeight};
    top += itemHeight;
    width = std::max(width, itemWidth);
  }
  for (PopupItem& entry : popup.items)
    entry.rect.right = width;
  popup.client = {width, top};
}

bool CreatePopupWindow(Popup& popup, UINT flags, int x, int y)
{
  if (!RegisterMenuClass())
    return false;
  // One pixel of border on each side.
  int width = popup.client.cx + 2;
  int height = popup.client.cy + 2;
  int left = (flags & TPM_RIGHTALIGN) ? x - width : (flags & TPM_CENTERALIGN) ? x - width / 2 : x;
  int top = (flags & TPM_BOTTOMALIGN) ? y - height : (flags & TPM_VCENTERALIGN) ? y - height / 2 : y;
  left = std::max(0, std::min(left, GetSystemMetrics(SM_CXSCREEN) - width));
  top = std::max(0, std::min(top, GetSystemMetrics(SM_CYSCREEN) - height));
  popup.window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kClassName, u"", WS_POPUP | WS_BORDER, left, top,
                                 width, height, popup.owner, nullptr, nullptr, nullptr);
  if (!popup.window)
    return false;
  SetWindowLongPtrW(popup.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&popup));
  return true;
}

int ItemAt(const Popup& popup, POINT client)
{
  for (size_t i = 0; i < popup.items.size(); ++i) {
    const RECT& r = popup.items[i].rect;
    if (client.x >= r.left && client.x < r.right && client.y >= r.top && client.y < r.bottom)
      return static_cast<int>(i);
  }
  return -1;
}

void Repaint(Popup& popup)
{
  user_paint::SetNeedsPaint(popup.window, true);
}

void PaintPopup(Popup& popup)
{
  user_paint::SetNeedsPaint(popup.window, false);
  for (size_t i = 0; i < popup.items.size(); ++i) {
    const PopupItem& entry = popup.items[i];
    if (entry.item.type != MFT_OWNERDRAW)
      continue;
    UINT state = 0;
    if (static_cast<int>(i) == popup.selected)
      state |= ODS_SELECTED;
    if (entry.item.state & MF_GRAYED)
      state |= ODS_GRAYED;
    if (entry.item.state & MF_DISABLED)
      state |= ODS_DISABLED;
    if (entry.item.state & MF_CHECKED)
      state |= ODS_CHECKED;
    DRAWITEMSTRUCT draw{ODT_MENU, 0, entry.item.id, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(popup.menu),
                        nullptr, entry.rect, entry.item.data};
    SendMessageW(popup.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  }
}

}  // namespace user_menu
