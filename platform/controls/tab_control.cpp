// The tab control: one row of tabs sized by their texts, along the top or the bottom.
#include <algorithm>
#include <string>
#include <vector>

#include "control_painting.h"
#include "control_support.h"
#include "item_painting.h"
#include "list_procedures.h"

namespace controls_detail {

namespace {

struct Tab {
  std::u16string text;
  int image = -1;
  LPARAM param = 0;
};

struct TabRecord {
  std::vector<Tab> tabs;
  int selected = -1;
  HFONT font = nullptr;
  HIMAGELIST images = nullptr;
};

constexpr int kPadX = 6;
constexpr int kPadY = 3;
constexpr int kImageGap = 3;

TabRecord* Record(HWND hwnd)
{
  return RecordOf<TabRecord>(hwnd);
}

int Count(HWND hwnd)
{
  return static_cast<int>(Record(hwnd)->tabs.size());
}

bool Valid(HWND hwnd, WPARAM index)
{
  return static_cast<int>(index) >= 0 && static_cast<int>(index) < Count(hwnd);
}

SIZE ImageSize(HWND hwnd, const Tab& tab)
{
  int cx = 0, cy = 0;
  if (tab.image >= 0 && ImageList_GetIconSize(Record(hwnd)->images, &cx, &cy))
    return SIZE{cx, cy};
  return SIZE{0, 0};
}

int TabHeight(HWND hwnd)
{
  int height = LineHeightOf(hwnd, Record(hwnd)->font);
  for (const Tab& tab : Record(hwnd)->tabs)
    height = std::max(height, static_cast<int>(ImageSize(hwnd, tab).cy));
  return height + 2 * kPadY;
}

// The tabs' rectangles, left to right in one row.
std::vector<RECT> Layout(HWND hwnd)
{
  RECT client;
  GetClientRect(hwnd, &client);
  int height = TabHeight(hwnd);
  int top = (StyleOf(hwnd) & TCS_BOTTOM) ? client.bottom - height : 0;
  std::vector<RECT> rects;
  int x = 0;
  for (const Tab& tab : Record(hwnd)->tabs) {
    SIZE image = ImageSize(hwnd, tab);
    int width = TextWidthOf(hwnd, Record(hwnd)->font, tab.text) + 2 * kPadX;
    if (image.cx > 0)
      width += image.cx + (tab.text.empty() ? 0 : kImageGap);
    rects.push_back(RECT{x, top, x + width, top + height});
    x += width;
  }
  return rects;
}

int TabAt(HWND hwnd, POINT point)
{
  std::vector<RECT> rects = Layout(hwnd);
  for (size_t i = 0; i < rects.size(); ++i)
    if (PtInRect(&rects[i], point))
      return static_cast<int>(i);
  return -1;
}

// Sets the parts the item's mask names.
void Apply(Tab& tab, const TCITEMW& item)
{
  if ((item.mask & TCIF_TEXT) && item.pszText)
    tab.text = item.pszText;
  if (item.mask & TCIF_IMAGE)
    tab.image = item.iImage;
  if (item.mask & TCIF_PARAM)
    tab.param = item.lParam;
}

LRESULT Insert(HWND hwnd, WPARAM index, const TCITEMW* item)
{
  if (!item)
    return -1;
  TabRecord* record = Record(hwnd);
  // An index past the end (0x8000 by custom) appends.
  int at = std::min(static_cast<int>(index), Count(hwnd));
  if (at < 0)
    return -1;
  Tab tab;
  Apply(tab, *item);
  record->tabs.insert(record->tabs.begin() + at, std::move(tab));
  if (record->selected >= at)
    ++record->selected;
  if (record->selected < 0)
    record->selected = 0;
  Redraw(hwnd);
  return at;
}

LRESULT Delete(HWND hwnd, WPARAM index)
{
  if (!Valid(hwnd, index))
    return FALSE;
  TabRecord* record = Record(hwnd);
  int at = static_cast<int>(index);
  record->tabs.erase(record->tabs.begin() + at);
  if (record->selected == at)
    record->selected = -1;
  else if (record->selected > at)
    --record->selected;
  Redraw(hwnd);
  return TRUE;
}

LRESULT GetItem(HWND hwnd, WPARAM index, TCITEMW* item)
{
  if (!Valid(hwnd, index) || !item)
    return FALSE;
  const Tab& tab = Record(hwnd)->tabs[index];
  if ((item->mask & TCIF_TEXT) && item->pszText && item->cchTextMax > 0) {
    size_t copied = std::min(tab.text.size(), static_cast<size_t>(item->cchTextMax - 1));
    std::copy_n(tab.text.begin(), copied, item->pszText);
    item->pszText[copied] = u'\0';
  }
  if (item->mask & TCIF_IMAGE)
    item->iImage = tab.image;
  if (item->mask & TCIF_PARAM)
    item->lParam = tab.param;
  return TRUE;
}

void Tap(HWND hwnd, LPARAM lParam)
{
  int tab = TabAt(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
  if (tab < 0 || tab == Record(hwnd)->selected)
    return;
  NMHDR header{};
  if (NotifyParent(hwnd, TCN_SELCHANGING, &header) || !IsWindow(hwnd))
    return;
  Record(hwnd)->selected = tab;
  Redraw(hwnd);
  NotifyParent(hwnd, TCN_SELCHANGE, &header);
}

void Paint(HWND hwnd, HDC dc)
{
  const TabRecord* record = Record(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  std::vector<RECT> rects = Layout(hwnd);
  bool bottom = StyleOf(hwnd) & TCS_BOTTOM;
  int height = TabHeight(hwnd);
  // The edge between the tabs and the page area.
  RECT edge{0, bottom ? client.bottom - height - 1 : height, client.right, 0};
  edge.bottom = edge.top + 1;
  FillRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
  COLORREF textColor = GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  for (size_t i = 0; i < rects.size(); ++i) {
    const Tab& tab = record->tabs[i];
    RECT rect = rects[i];
    bool current = static_cast<int>(i) == record->selected;
    if (current) {
      // The current tab joins the page area across the edge.
      RECT joined = rect;
      if (bottom)
        joined.top -= 1;
      else
        joined.bottom += 1;
      FillRect(dc, &joined, GetSysColorBrush(COLOR_WINDOW));
    }
    FrameColor(dc, rect, GetSysColor(COLOR_BTNSHADOW));
    RECT inside = rect;
    inside.left += kPadX;
    SIZE image = ImageSize(hwnd, tab);
    if (image.cx > 0) {
      ImageList_Draw(record->images, tab.image, dc, inside.left, rect.top + (rect.bottom - rect.top - image.cy) / 2,
                     ILD_TRANSPARENT);
      inside.left += image.cx + kImageGap;
    }
    DrawLine(dc, tab.text, inside, textColor, DT_LEFT);
  }
}

LRESULT HandleTabControl(HWND hwnd, TabRecord& held, UINT message, WPARAM wParam, LPARAM lParam)
{
  TabRecord* record = &held;
  switch (message) {
  case TCM_INSERTITEMW: return Insert(hwnd, wParam, reinterpret_cast<const TCITEMW*>(lParam));
  case TCM_DELETEITEM: return Delete(hwnd, wParam);
  case TCM_GETITEMCOUNT: return Count(hwnd);
  case TCM_GETITEMW: return GetItem(hwnd, wParam, reinterpret_cast<TCITEMW*>(lParam));
  case TCM_SETITEMW:
    if (!Valid(hwnd, wParam) || !lParam)
      return FALSE;
    Apply(record->tabs[wParam], *reinterpret_cast<const TCITEMW*>(lParam));
    Redraw(hwnd);
    return TRUE;
  case TCM_GETCURSEL: return record->selected;
  case TCM_SETCURSEL: {
    if (!Valid(hwnd, wParam))
      return -1;
    int previous = record->selected;
    record->selected = static_cast<int>(wParam);
    if (previous != record->selected)
      Redraw(hwnd);
    return previous;
  }
  case TCM_GETITEMRECT:
    if (!Valid(hwnd, wParam) || !lParam)
      return FALSE;
    *reinterpret_cast<RECT*>(lParam) = Layout(hwnd)[wParam];
    return TRUE;
  case TCM_GETROWCOUNT: return 1;
  case TCM_GETIMAGELIST: return reinterpret_cast<LRESULT>(record->images);
  case TCM_SETIMAGELIST: {
    HIMAGELIST previous = record->images;
    record->images = reinterpret_cast<HIMAGELIST>(lParam);
    Redraw(hwnd);
    return reinterpret_cast<LRESULT>(previous);
  }
  case WM_SETFONT:
  case WM_GETFONT: return FontMessage(hwnd, message, wParam, lParam, record->font);
  case WM_LBUTTONDOWN: Tap(hwnd, lParam); return 0;
  case WM_SIZE:
    Redraw(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  case WM_ENABLE: Redraw(hwnd); return 0;
  case WM_ERASEBKGND: return 1;
  case WM_PAINT:
  case WM_PRINTCLIENT:
    return PaintInFont(hwnd, message, wParam, record->font, Paint);
  default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT TabControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return WithRecord<TabRecord>(hwnd, message, wParam, lParam, HandleTabControl);
}

}  // namespace controls_detail
