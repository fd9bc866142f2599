// The LISTBOX control, also serving as the dropped list of a combo box.
#include <algorithm>
#include <string>
#include <vector>

#include "control_painting.h"
#include "control_support.h"
#include "item_painting.h"
#include "list_procedures.h"
#include "text/widechar.h"

namespace controls_detail {

namespace {

struct ListItem {
  std::u16string text;
  ULONG_PTR data = 0;
};

struct ListBoxRecord {
  std::vector<ListItem> items;
  int selected = -1;
  int top = 0;
  int itemHeight = 16;
  HFONT font = nullptr;
  HWND combo = nullptr;  // the box this list drops from, or null
  bool scrolls = false;  // created with WS_VSCROLL: the bar comes and goes with the items
  bool tracking = false;  // a tap is held on the list
};

ListBoxRecord* Record(HWND hwnd)
{
  return RecordOf<ListBoxRecord>(hwnd);
}

bool OwnerDrawn(HWND hwnd)
{
  return StyleOf(hwnd) & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE);
}

// Owner-drawn lists without LBS_HASSTRINGS keep the item data the caller gives in place of text.
bool KeepsStrings(HWND hwnd)
{
  return !OwnerDrawn(hwnd) || (StyleOf(hwnd) & LBS_HASSTRINGS);
}

// Where notifications and colour requests go: the combo box for a dropped list, else the parent.
HWND OwnerOf(HWND hwnd)
{
  const ListBoxRecord* record = Record(hwnd);
  return record->combo ? record->combo : GetParent(hwnd);
}

void Notify(HWND hwnd, WORD code)
{
  if (!(StyleOf(hwnd) & LBS_NOTIFY))
    return;
  if (HWND owner = OwnerOf(hwnd))
    SendMessageW(owner, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

int Count(HWND hwnd)
{
  return static_cast<int>(Record(hwnd)->items.size());
}

int VisibleRows(HWND hwnd)
{
  RECT client;
  GetClientRect(hwnd, &client);
  return std::max(1, static_cast<int>(client.bottom / std::max(1, Record(hwnd)->itemHeight)));
}

int MaxTop(HWND hwnd)
{
  return std::max(0, Count(hwnd) - VisibleRows(hwnd));
}

void UpdateScrollBar(HWND hwnd)
{
  if (!Record(hwnd)->scrolls)
    return;
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(0, Count(hwnd) - 1),
                  static_cast<UINT>(VisibleRows(hwnd)), Record(hwnd)->top, 0};
  if (StyleOf(hwnd) & LBS_DISABLENOSCROLL)
    info.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void SetTop(HWND hwnd, int top)
{
  ListBoxRecord* record = Record(hwnd);
  top = std::clamp(top, 0, MaxTop(hwnd));
  if (top != record->top) {
    record->top = top;
    Redraw(hwnd);
  }
  UpdateScrollBar(hwnd);
}

void MakeVisible(HWND hwnd, int index)
{
  const ListBoxRecord* record = Record(hwnd);
  if (index < record->top)
    SetTop(hwnd, index);
  else if (index >= record->top + VisibleRows(hwnd))
    SetTop(hwnd, index - VisibleRows(hwnd) + 1);
}

bool ValidIndex(HWND hwnd, WPARAM index)
{
  return static_cast<int>(index) >= 0 && static_cast<int>(index) < Count(hwnd);
}

std::u16string TextOf(LPARAM lParam)
{
  auto text = reinterpret_cast<LPCWSTR>(lParam);
  return text ? std::u16string(text) : std::u16string();
}

int CompareNoCase(const std::u16string& a, const std::u16string& b)
{
  return _wcsicmp(a.c_str(), b.c_str());
}

// Inserts at index (-1: the end); the selection stays on its item.
LRESULT Insert(HWND hwnd, int index, LPARAM lParam)
{
  ListBoxRecord* record = Record(hwnd);
  if (index < -1 || index > Count(hwnd))
    return LB_ERR;
  if (index == -1)
    index = Count(hwnd);
  ListItem item;
  if (KeepsStrings(hwnd))
    item.text = TextOf(lParam);
  else
    item.data = static_cast<ULONG_PTR>(lParam);
  record->items.insert(record->items.begin() + index, std::move(item));
  if (record->selected >= index)
    ++record->selected;
  UpdateScrollBar(hwnd);
  Redraw(hwnd);
  return index;
}

LRESULT Add(HWND hwnd, LPARAM lParam)
{
  const ListBoxRecord* record = Record(hwnd);
  if (!(StyleOf(hwnd) & LBS_SORT) || !KeepsStrings(hwnd))
    return Insert(hwnd, -1, lParam);
  std::u16string text = TextOf(lParam);
  auto place = std::upper_bound(record->items.begin(), record->items.end(), text,
                                [](const std::u16string& t, const ListItem& item) { return CompareNoCase(t, item.text) < 0; });
  return Insert(hwnd, static_cast<int>(place - record->items.begin()), lParam);
}

LRESULT Delete(HWND hwnd, WPARAM index)
{
  if (!ValidIndex(hwnd, index))
    return LB_ERR;
  ListBoxRecord* record = Record(hwnd);
  int i = static_cast<int>(index);
  record->items.erase(record->items.begin() + i);
  if (record->selected == i)
    record->selected = -1;
  else if (record->selected > i)
    --record->selected;
  SetTop(hwnd, record->top);
  Redraw(hwnd);
  return Count(hwnd);
}

void Reset(HWND hwnd)
{
  ListBoxRecord* record = Record(hwnd);
  record->items.clear();
  record->selected = -1;
  record->top = 0;
  UpdateScrollBar(hwnd);
  Redraw(hwnd);
}

// Selects an item (-1: none) and shows it; returns whether the selection changed.
bool Select(HWND hwnd, int index)
{
  ListBoxRecord* record = Record(hwnd);
  bool changed = record->selected != index;
  record->selected = index;
  if (index >= 0)
    MakeVisible(hwnd, index);
  if (changed)
    Redraw(hwnd);
  return changed;
}

void SelectByUser(HWND hwnd, int index)
{
  if (Select(hwnd, index))
    Notify(hwnd, LBN_SELCHANGE);
}

RECT ItemRect(HWND hwnd, int index)
{
  const ListBoxRecord* record = Record(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  int top = (index - record->top) * record->itemHeight;
  return RECT{0, top, client.right, top + record->itemHeight};
}

// The item under a client point, or -1.
int ItemAt(HWND hwnd, LPARAM point)
{
  if (!PointInClient(hwnd, point))
    return -1;
  int index = Record(hwnd)->top + GET_Y_LPARAM(point) / std::max(1, Record(hwnd)->itemHeight);
  return index < Count(hwnd) ? index : -1;
}

LRESULT GetText(HWND hwnd, WPARAM index, LPARAM buffer)
{
  if (!ValidIndex(hwnd, index) || !buffer)
    return LB_ERR;
  const ListItem& item = Record(hwnd)->items[index];
  if (!KeepsStrings(hwnd)) {
    *reinterpret_cast<ULONG_PTR*>(buffer) = item.data;
    return sizeof(ULONG_PTR);
  }
  auto* out = reinterpret_cast<LPWSTR>(buffer);
  std::copy(item.text.begin(), item.text.end(), out);
  out[item.text.size()] = u'\0';
  return static_cast<LRESULT>(item.text.size());
}

LRESULT FindExact(HWND hwnd, WPARAM start, LPARAM text)
{
  int count = Count(hwnd);
  if (!KeepsStrings(hwnd) || count == 0)
    return LB_ERR;
  std::u16string wanted = TextOf(text);
  int first = static_cast<int>(start) >= 0 && static_cast<int>(start) < count ? static_cast<int>(start) + 1 : 0;
  for (int n = 0; n < count; ++n) {
    int i = (first + n) % count;
    if (CompareNoCase(Record(hwnd)->items[i].text, wanted) == 0)
      return i;
  }
  return LB_ERR;
}

void MeasureOwnerDrawn(HWND hwnd)
{
  if (!(StyleOf(hwnd) & LBS_OWNERDRAWFIXED))
    return;
  RECT client;
  GetClientRect(hwnd, &client);
  MEASUREITEMSTRUCT measure{ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0,
                            static_cast<UINT>(client.right), static_cast<UINT>(Record(hwnd)->itemHeight), 0};
  if (HWND owner = OwnerOf(hwnd))
    SendMessageW(owner, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
  if (measure.itemHeight > 0)
    Record(hwnd)->itemHeight = static_cast<int>(measure.itemHeight);
}

void Paint(HWND hwnd, HDC dc)
{
  const ListBoxRecord* record = Record(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  HWND owner = OwnerOf(hwnd);
  HBRUSH brush = owner ? AsBrush(SendMessageW(owner, WM_CTLCOLORLISTBOX, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(hwnd)))
                       : nullptr;
  FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
  // A colour request may destroy the list or empty it; read the record again.
  if (!IsWindow(hwnd) || !Record(hwnd))
    return;
  bool focused = HasFocus(hwnd) || (record->combo && HasFocus(record->combo));
  bool enabled = IsWindowEnabled(hwnd);
  for (int i = record->top; i < Count(hwnd) && ItemRect(hwnd, i).top < client.bottom; ++i) {
    RECT rect = ItemRect(hwnd, i);
    bool selected = i == record->selected;
    if (OwnerDrawn(hwnd)) {
      DRAWITEMSTRUCT item{ODT_LISTBOX, static_cast<UINT>(GetDlgCtrlID(hwnd)), static_cast<UINT>(i), ODA_DRAWENTIRE,
                          (selected ? static_cast<UINT>(ODS_SELECTED) : 0u) |
                              (selected && focused ? static_cast<UINT>(ODS_FOCUS) : 0u) |
                              (enabled ? 0u : static_cast<UINT>(ODS_DISABLED)),
                          hwnd, dc, rect, record->items[i].data};
      if (owner)
        SendMessageW(owner, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
      if (!IsWindow(hwnd) || !Record(hwnd))
        return;
      continue;
    }
    COLORREF color = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    if (selected) {
      FillRect(dc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
      color = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
    RECT text = rect;
    text.left += 2;
    DrawLine(dc, record->items[i].text, text, color, DT_LEFT);
  }
}

void MoveByKey(HWND hwnd, UINT key)
{
  int count = Count(hwnd);
  if (count == 0)
    return;
  int current = Record(hwnd)->selected;
  int page = VisibleRows(hwnd);
  int target = current;
  switch (key) {
  case VK_UP: target = current < 0 ? 0 : current - 1; break;
  case VK_DOWN: target = current < 0 ? 0 : current + 1; break;
  case VK_PRIOR: target = current - page + 1; break;
  case VK_NEXT: target = current + page - 1; break;
  case VK_HOME: target = 0; break;
  case VK_END: target = count - 1; break;
  default: return;
  }
  SelectByUser(hwnd, std::clamp(target, 0, count - 1));
}

void Scroll(HWND hwnd, WPARAM wParam)
{
  int top = Record(hwnd)->top;
  switch (LOWORD(wParam)) {
  case SB_LINEUP: --top; break;
  case SB_LINEDOWN: ++top; break;
  case SB_PAGEUP: top -= VisibleRows(hwnd); break;
  case SB_PAGEDOWN: top += VisibleRows(hwnd); break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION: top = static_cast<SHORT>(HIWORD(wParam)); break;
  case SB_TOP: top = 0; break;
  case SB_BOTTOM: top = Count(hwnd); break;
  default: return;
  }
  SetTop(hwnd, top);
}

// A tap that a dropped list takes through its capture on its own scroll bar starts the bar's
// gesture, as a tap on the bar of a window without the capture does; true when it was one.
bool PressedOwnScrollBar(HWND hwnd, LPARAM point)
{
  POINT screen{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
  ClientToScreen(hwnd, &screen);
  LPARAM at = MAKELPARAM(screen.x, screen.y);
  LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0, at);
  if (hit != HTVSCROLL && hit != HTHSCROLL)
    return false;
  SendMessageW(hwnd, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit), at);
  return true;
}

void CloseCombo(HWND hwnd, bool choose)
{
  if (HWND combo = Record(hwnd)->combo; combo && IsWindow(combo))
    SendMessageW(combo, kComboListClose, choose, 0);
}

void PointerDown(HWND hwnd, LPARAM point)
{
  ListBoxRecord* record = Record(hwnd);
  if (record->combo) {
    // A dropped list holds the capture: a tap outside it closes it without choosing.
    int index = ItemAt(hwnd, point);
    if (!PointInClient(hwnd, point)) {
      if (!PressedOwnScrollBar(hwnd, point))
        CloseCombo(hwnd, false);
      return;
    }
    record->tracking = true;
    if (index >= 0)
      SelectByUser(hwnd, index);
    return;
  }
  if (GetFocus() != hwnd)
    SetFocus(hwnd);
  if (!IsWindow(hwnd))
    return;
  record->tracking = true;
  SetCapture(hwnd);
  int index = ItemAt(hwnd, point);
  if (index >= 0)
    SelectByUser(hwnd, index);
}

void PointerMove(HWND hwnd, LPARAM point)
{
  if (!Record(hwnd)->tracking)
    return;
  int index = ItemAt(hwnd, point);
  if (index >= 0)
    SelectByUser(hwnd, index);
}

void PointerUp(HWND hwnd, LPARAM point)
{
  ListBoxRecord* record = Record(hwnd);
  if (!record->tracking)
    return;
  record->tracking = false;
  if (record->combo) {
    if (ItemAt(hwnd, point) >= 0)
      CloseCombo(hwnd, true);
    return;
  }
  if (GetCapture() == hwnd)
    ReleaseCapture();
}

LRESULT HandleListBox(HWND hwnd, ListBoxRecord& held, UINT message, WPARAM wParam, LPARAM lParam)
{
  ListBoxRecord* record = &held;
  switch (message) {
  case WM_NCCREATE: {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    record->scrolls = create && (create->style & WS_VSCROLL);
    auto* link = create ? static_cast<const ComboLink*>(create->lpCreateParams) : nullptr;
    if (link && (create->style & WS_POPUP) && link->magic == ComboLink::kMagic)
      record->combo = link->combo;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  case WM_CREATE:
    record->itemHeight = LineHeightOf(hwnd, nullptr);
    MeasureOwnerDrawn(hwnd);
    UpdateScrollBar(hwnd);
    return 0;
  case LB_ADDSTRING: return Add(hwnd, lParam);
  case LB_INSERTSTRING: return Insert(hwnd, static_cast<int>(wParam), lParam);
  case LB_DELETESTRING: return Delete(hwnd, wParam);
  case LB_RESETCONTENT: Reset(hwnd); return LB_OKAY;
  case LB_GETCOUNT: return Count(hwnd);
  case LB_GETCURSEL: return record->selected;
  case LB_SETCURSEL:
    // -1 clears the selection and, like an index out of range, answers LB_ERR.
    if (!ValidIndex(hwnd, wParam)) {
      Select(hwnd, -1);
      return LB_ERR;
    }
    Select(hwnd, static_cast<int>(wParam));
    return static_cast<LRESULT>(wParam);
  case LB_GETTEXT: return GetText(hwnd, wParam, lParam);
  case LB_GETTEXTLEN:
    if (!ValidIndex(hwnd, wParam))
      return LB_ERR;
    return KeepsStrings(hwnd) ? static_cast<LRESULT>(record->items[wParam].text.size()) : sizeof(ULONG_PTR);
  case LB_GETITEMDATA:
    return ValidIndex(hwnd, wParam) ? static_cast<LRESULT>(record->items[wParam].data) : LB_ERR;
  case LB_SETITEMDATA:
    if (!ValidIndex(hwnd, wParam))
      return LB_ERR;
    record->items[wParam].data = static_cast<ULONG_PTR>(lParam);
    return TRUE;
  case LB_GETITEMRECT:
    if (!ValidIndex(hwnd, wParam) || !lParam)
      return LB_ERR;
    *reinterpret_cast<RECT*>(lParam) = ItemRect(hwnd, static_cast<int>(wParam));
    return 1;
  case LB_SETITEMHEIGHT: {
    int height = LOWORD(lParam);
    if (height <= 0 || height > 255)
      return LB_ERR;
    // Owners that set the height on every paint of their own must not cause another one.
    if (height == record->itemHeight)
      return LB_OKAY;
    record->itemHeight = height;
    SetTop(hwnd, record->top);
    Redraw(hwnd);
    return LB_OKAY;
  }
  case LB_GETITEMHEIGHT: return record->itemHeight;
  case LB_GETTOPINDEX: return record->top;
  case LB_SETTOPINDEX:
    if (!ValidIndex(hwnd, wParam) && wParam != 0)
      return LB_ERR;
    SetTop(hwnd, static_cast<int>(wParam));
    return LB_OKAY;
  case LB_FINDSTRINGEXACT: return FindExact(hwnd, wParam, lParam);
  case WM_SETFONT:
    record->font = reinterpret_cast<HFONT>(wParam);
    if (!OwnerDrawn(hwnd))
      record->itemHeight = LineHeightOf(hwnd, record->font);
    SetTop(hwnd, record->top);
    if (LOWORD(lParam))
      Redraw(hwnd);
    return 0;
  case WM_GETFONT: return reinterpret_cast<LRESULT>(record->font);
  case WM_SIZE:
    SetTop(hwnd, record->top);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  case WM_VSCROLL: Scroll(hwnd, wParam); return 0;
  case WM_KEYDOWN: MoveByKey(hwnd, static_cast<UINT>(wParam)); return 0;
  case WM_LBUTTONDOWN: PointerDown(hwnd, lParam); return 0;
  case WM_MOUSEMOVE: PointerMove(hwnd, lParam); return 0;
  case WM_LBUTTONUP: PointerUp(hwnd, lParam); return 0;
  case WM_CAPTURECHANGED: record->tracking = false; return 0;
  case WM_LBUTTONDBLCLK:
    // A second quick tap on a dropped list's bar is a tap on the bar.
    if (record->combo && !PointInClient(hwnd, lParam)) {
      PointerDown(hwnd, lParam);
      return 0;
    }
    if (ItemAt(hwnd, lParam) >= 0)
      Notify(hwnd, LBN_DBLCLK);
    return 0;
  case WM_SETFOCUS:
    Redraw(hwnd);
    Notify(hwnd, LBN_SETFOCUS);
    return 0;
  case WM_KILLFOCUS:
    Redraw(hwnd);
    Notify(hwnd, LBN_KILLFOCUS);
    return 0;
  case WM_ENABLE: Redraw(hwnd); return 0;
  case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
  case WM_ERASEBKGND: return 1;
  case WM_PAINT:
  case WM_PRINTCLIENT:
    return PaintInFont(hwnd, message, wParam, record->font, Paint);
  default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return WithRecord<ListBoxRecord>(hwnd, message, wParam, lParam, HandleListBox);
}

}  // namespace controls_detail
