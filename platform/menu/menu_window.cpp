// The popup menu's window (class "MNU", empty title, topmost): item layout and painting.
#include <algorithm>
#include <mutex>

#include "gdi/gdi.h"
#include "menu_popup.h"

namespace user_menu {
namespace {

constexpr LPCWSTR kClassName = u"MNU";

int Scale()
{
  return std::max(1, GetSystemMetrics(SM_CXSCREEN) / 240);
}

// Text items: a line of the menu font with room for a check mark before it and a margin after.
struct TextMeasure {
  TextMeasure() : dc(CreateCompatibleDC(nullptr))
  {
    previous = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    lineHeight = metrics.tmHeight;
  }
  ~TextMeasure()
  {
    SelectObject(dc, previous);
    DeleteDC(dc);
  }
  int Width(const std::u16string& text) const
  {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }
  HDC dc;
  HGDIOBJ previous;
  int lineHeight = 0;
};

int CheckWidth() { return 16 * Scale(); }
int TextItemHeight(const TextMeasure& measure) { return measure.lineHeight + 8 * Scale(); }
int SeparatorHeight() { return 6 * Scale(); }

void DrawTextItem(HDC dc, const PopupItem& entry, bool selected)
{
  const MenuItem& item = entry.item;
  RECT rect = entry.rect;
  if (selected)
    FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
  bool grey = item.state & (MF_GRAYED | MF_DISABLED);
  SetTextColor(dc, GetSysColor(grey ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  SetBkMode(dc, TRANSPARENT);
  if (item.state & MF_CHECKED) {
    RECT check{rect.left, rect.top, rect.left + CheckWidth(), rect.bottom};
    DrawTextW(dc, u"\u221A", 1, &check, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  }
  RECT text{rect.left + CheckWidth(), rect.top, rect.right, rect.bottom};
  DrawTextW(dc, item.text.c_str(), static_cast<int>(item.text.size()), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void DrawSeparator(HDC dc, const RECT& rect)
{
  int middle = (rect.top + rect.bottom) / 2;
  RECT line{rect.left + 2 * Scale(), middle, rect.right - 2 * Scale(), middle + 1};
  FillRect(dc, &line, GetSysColorBrush(COLOR_GRAYTEXT));
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
  TextMeasure measure;
  int width = 0;
  int top = 0;
  for (PopupItem& entry : popup.items) {
    int itemWidth = 0;
    int itemHeight = 0;
    const MenuItem& item = entry.item;
    if (item.type == MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT asked{ODT_MENU, 0, item.id, 0, static_cast<UINT>(TextItemHeight(measure)), item.data};
      SendMessageW(popup.owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&asked));
      itemWidth = static_cast<int>(std::min<UINT>(asked.itemWidth, 0x7FFF));
      itemHeight = static_cast<int>(std::min<UINT>(asked.itemHeight, 0x7FFF));
    } else if (item.type == MFT_SEPARATOR) {
      itemHeight = SeparatorHeight();
    } else {
      itemWidth = CheckWidth() + measure.Width(item.text) + 8 * Scale();
      itemHeight = TextItemHeight(measure);
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
  InvalidateRect(popup.window, nullptr, TRUE);
}

void PaintPopup(Popup& popup)
{
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(popup.window, &paint);
  if (!dc)
    return;
  RECT client{0, 0, popup.client.cx, popup.client.cy};
  FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
  HGDIOBJ previousFont = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  for (size_t i = 0; i < popup.items.size(); ++i) {
    const PopupItem& entry = popup.items[i];
    bool selected = static_cast<int>(i) == popup.selected;
    if (entry.item.type == MFT_SEPARATOR) {
      DrawSeparator(dc, entry.rect);
    } else if (entry.item.type == MFT_OWNERDRAW) {
      UINT state = selected ? ODS_SELECTED : 0;
      if (entry.item.state & MF_GRAYED)
        state |= ODS_GRAYED;
      if (entry.item.state & MF_DISABLED)
        state |= ODS_DISABLED;
      if (entry.item.state & MF_CHECKED)
        state |= ODS_CHECKED;
      DRAWITEMSTRUCT draw{ODT_MENU, 0, entry.item.id, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(popup.menu),
                          dc, entry.rect, entry.item.data};
      int saved = SaveDC(dc);
      SendMessageW(popup.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
      RestoreDC(dc, saved);
    } else {
      DrawTextItem(dc, entry, selected);
    }
  }
  SelectObject(dc, previousFont);
  EndPaint(popup.window, &paint);
}

}  // namespace user_menu
