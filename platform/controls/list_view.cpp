// The list view: messages, keys, taps, notifications and painting; geometry is the layout's.
#include <algorithm>

#include "control_painting.h"
#include "control_support.h"
#include "item_painting.h"
#include "list_procedures.h"
#include "list_view_model.h"

namespace controls_detail {

namespace {

ListViewRecord* Record(HWND hwnd)
{
  return RecordOf<ListViewRecord>(hwnd);
}

ListViewLayout Layout(HWND hwnd)
{
  RECT client;
  GetClientRect(hwnd, &client);
  return ListViewLayout(*Record(hwnd), StyleOf(hwnd), client);
}

// The window the list reports to: the parent it was made in, as on the device, so a list moved
// into another window (a scroll panel's viewport) still reports to its dialog; its present
// parent once that window is gone.
HWND NotifyTarget(HWND hwnd)
{
  HWND notify = Record(hwnd)->notify;
  return notify && IsWindow(notify) ? notify : GetParent(hwnd);
}

bool IsReport(HWND hwnd)
{
  return (StyleOf(hwnd) & LVS_TYPEMASK) == LVS_REPORT;
}

bool OwnerDrawn(HWND hwnd)
{
  return IsReport(hwnd) && (StyleOf(hwnd) & LVS_OWNERDRAWFIXED);
}

int Count(HWND hwnd)
{
  return static_cast<int>(Record(hwnd)->items.size());
}

bool Valid(HWND hwnd, int index)
{
  return index >= 0 && index < Count(hwnd);
}

void UpdateScrollBar(HWND hwnd)
{
  DWORD style = StyleOf(hwnd);
  if (style & LVS_NOSCROLL) {
    if (style & WS_VSCROLL)
      ShowScrollBar(hwnd, SB_VERT, FALSE);
    return;
  }
  ListViewLayout layout = Layout(hwnd);
  const ListViewRecord* record = Record(hwnd);
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  if (layout.IsReport()) {
    int row = std::max(1, record->rowHeight);
    info.nMax = std::max(0, Count(hwnd) - 1);
    info.nPage = static_cast<UINT>(std::max(1, layout.CountPerPage()));
    info.nPos = record->origin.y / row;
  } else {
    RECT client;
    GetClientRect(hwnd, &client);
    info.nMax = std::max(0, static_cast<int>(layout.Extent().cy) - 1);
    info.nPage = static_cast<UINT>(client.bottom);
    info.nPos = record->origin.y;
  }
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void SetOrigin(HWND hwnd, POINT origin)
{
  ListViewRecord* record = Record(hwnd);
  origin = Layout(hwnd).ClampOrigin(origin);
  if (origin.x != record->origin.x || origin.y != record->origin.y) {
    record->origin = origin;
    Redraw(hwnd);
  }
  UpdateScrollBar(hwnd);
}

// Any change of the items: the view stays within them, and shows them again.
void ItemsChanged(HWND hwnd)
{
  SetOrigin(hwnd, Record(hwnd)->origin);
  Redraw(hwnd);
}

bool EnsureVisible(HWND hwnd, int index, bool partial)
{
  if (!Valid(hwnd, index))
    return false;
  SetOrigin(hwnd, Layout(hwnd).OriginShowing(index, partial));
  return true;
}

// Sets the masked state bits of one item; one item at most is focused, and one selected in a
// single-selection list.
void SetState(HWND hwnd, int index, UINT state, UINT mask)
{
  ListViewRecord* record = Record(hwnd);
  ListViewItem& item = record->items[static_cast<size_t>(index)];
  UINT updated = (item.state & ~mask) | (state & mask);
  if ((updated & LVIS_FOCUSED) && !(item.state & LVIS_FOCUSED))
    for (ListViewItem& other : record->items)
      other.state &= ~static_cast<UINT>(LVIS_FOCUSED);
  if ((updated & LVIS_SELECTED) && !(item.state & LVIS_SELECTED) && (StyleOf(hwnd) & LVS_SINGLESEL))
    for (ListViewItem& other : record->items)
      other.state &= ~static_cast<UINT>(LVIS_SELECTED);
  if (updated != item.state) {
    item.state = updated;
    Redraw(hwnd);
  }
}

LRESULT SetItemState(HWND hwnd, int index, const LVITEMW* item)
{
  if (!item)
    return FALSE;
  if (index == -1) {
    for (int i = 0; i < Count(hwnd); ++i)
      SetState(hwnd, i, item->state, item->stateMask);
    return TRUE;
  }
  if (!Valid(hwnd, index))
    return FALSE;
  SetState(hwnd, index, item->state, item->stateMask);
  return TRUE;
}

int NextItem(HWND hwnd, int start, UINT flags)
{
  UINT wanted = ((flags & LVNI_SELECTED) ? LVIS_SELECTED : 0u) | ((flags & LVNI_FOCUSED) ? LVIS_FOCUSED : 0u);
  for (int i = std::max(start + 1, 0); i < Count(hwnd); ++i)
    if ((Record(hwnd)->items[static_cast<size_t>(i)].state & wanted) == wanted)
      return i;
  return -1;
}

// What a user's choice does: this item alone selected and focused, and shown.
void Choose(HWND hwnd, int index)
{
  for (int i = 0; i < Count(hwnd); ++i)
    if (i != index)
      SetState(hwnd, i, 0, LVIS_SELECTED);
  SetState(hwnd, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EnsureVisible(hwnd, index, false);
}

void Apply(HWND hwnd, ListViewItem& item, const LVITEMW& from)
{
  size_t sub = static_cast<size_t>(std::max(from.iSubItem, 0));
  if ((from.mask & LVIF_TEXT)) {
    if (item.texts.size() <= sub)
      item.texts.resize(sub + 1);
    item.texts[sub] = from.pszText ? from.pszText : u"";
  }
  if (sub != 0)
    return;
  if (from.mask & LVIF_PARAM)
    item.param = from.lParam;
  if (from.mask & LVIF_IMAGE)
    item.image = from.iImage;
  (void)hwnd;
}

LRESULT InsertItem(HWND hwnd, const LVITEMW* from)
{
  if (!from || from->iSubItem != 0 || from->iItem < 0)
    return -1;
  ListViewRecord* record = Record(hwnd);
  int at = std::min(from->iItem, Count(hwnd));
  ListViewItem item;
  item.texts.resize(1);
  Apply(hwnd, item, *from);
  record->items.insert(record->items.begin() + at, std::move(item));
  if (from->mask & LVIF_STATE)
    SetState(hwnd, at, from->state, from->stateMask);
  ItemsChanged(hwnd);
  return at;
}

LRESULT SetItem(HWND hwnd, const LVITEMW* from)
{
  if (!from || !Valid(hwnd, from->iItem) || from->iSubItem < 0)
    return FALSE;
  Apply(hwnd, Record(hwnd)->items[static_cast<size_t>(from->iItem)], *from);
  if ((from->mask & LVIF_STATE) && from->iSubItem == 0)
    SetState(hwnd, from->iItem, from->state, from->stateMask);
  Redraw(hwnd);
  return TRUE;
}

void CopyText(const std::u16string& text, LPWSTR buffer, int room)
{
  if (!buffer || room <= 0)
    return;
  size_t copied = std::min(text.size(), static_cast<size_t>(room - 1));
  std::copy_n(text.begin(), copied, buffer);
  buffer[copied] = u'\0';
}

LRESULT GetItem(HWND hwnd, LVITEMW* to)
{
  if (!to || !Valid(hwnd, to->iItem) || to->iSubItem < 0)
    return FALSE;
  const ListViewItem& item = Record(hwnd)->items[static_cast<size_t>(to->iItem)];
  size_t sub = static_cast<size_t>(to->iSubItem);
  if (to->mask & LVIF_TEXT)
    CopyText(sub < item.texts.size() ? item.texts[sub] : std::u16string(), to->pszText, to->cchTextMax);
  if (to->mask & LVIF_PARAM)
    to->lParam = item.param;
  if (to->mask & LVIF_IMAGE)
    to->iImage = item.image;
  if (to->mask & LVIF_STATE)
    to->state = item.state & to->stateMask;
  return TRUE;
}

LRESULT DeleteItem(HWND hwnd, int index)
{
  if (!Valid(hwnd, index))
    return FALSE;
  ListViewRecord* record = Record(hwnd);
  record->items.erase(record->items.begin() + index);
  record->pressed = -1;
  ItemsChanged(hwnd);
  return TRUE;
}

LRESULT InsertColumn(HWND hwnd, int index, const LVCOLUMNW* from)
{
  if (!from || index < 0)
    return -1;
  ListViewRecord* record = Record(hwnd);
  int at = std::min(index, static_cast<int>(record->columns.size()));
  ListViewColumn column;
  column.subItem = (from->mask & LVCF_SUBITEM) ? from->iSubItem : at;
  if (from->mask & LVCF_FMT)
    column.format = from->fmt;
  if (from->mask & LVCF_WIDTH)
    column.width = std::max(0, from->cx);
  if ((from->mask & LVCF_TEXT) && from->pszText)
    column.text = from->pszText;
  record->columns.insert(record->columns.begin() + at, std::move(column));
  ItemsChanged(hwnd);
  return at;
}

LRESULT GetColumn(HWND hwnd, int index, LVCOLUMNW* to)
{
  const ListViewRecord* record = Record(hwnd);
  if (!to || index < 0 || index >= static_cast<int>(record->columns.size()))
    return FALSE;
  const ListViewColumn& column = record->columns[static_cast<size_t>(index)];
  if (to->mask & LVCF_FMT)
    to->fmt = column.format;
  if (to->mask & LVCF_WIDTH)
    to->cx = column.width;
  if (to->mask & LVCF_TEXT)
    CopyText(column.text, to->pszText, to->cchTextMax);
  if (to->mask & LVCF_SUBITEM)
    to->iSubItem = column.subItem;
  return TRUE;
}

LRESULT DeleteColumn(HWND hwnd, int index)
{
  ListViewRecord* record = Record(hwnd);
  if (index < 0 || index >= static_cast<int>(record->columns.size()))
    return FALSE;
  record->columns.erase(record->columns.begin() + index);
  ItemsChanged(hwnd);
  return TRUE;
}

LRESULT SetIconSpacing(HWND hwnd, LPARAM lParam)
{
  ListViewRecord* record = Record(hwnd);
  SIZE previous = Layout(hwnd).Spacing();
  int cx = static_cast<SHORT>(LOWORD(lParam));
  int cy = static_cast<SHORT>(HIWORD(lParam));
  // -1 (or nothing sensible) goes back to the default.
  record->spacing = cx > 0 && cy > 0 ? SIZE{cx, cy} : SIZE{0, 0};
  ItemsChanged(hwnd);
  return MAKELONG(previous.cx, previous.cy);
}

LRESULT SetImageList(HWND hwnd, WPARAM kind, HIMAGELIST list)
{
  ListViewRecord* record = Record(hwnd);
  HIMAGELIST* slot = kind == LVSIL_NORMAL  ? &record->normalImages
                     : kind == LVSIL_SMALL ? &record->smallImages
                     : kind == LVSIL_STATE ? &record->stateImages
                                           : nullptr;
  if (!slot)
    return 0;
  HIMAGELIST previous = *slot;
  *slot = list;
  ItemsChanged(hwnd);
  return reinterpret_cast<LRESULT>(previous);
}

void Activate(HWND hwnd, UINT code, int index, POINT point)
{
  NMITEMACTIVATE activate{};
  activate.iItem = index;
  activate.ptAction = point;
  if (Valid(hwnd, index))
    activate.lParam = Record(hwnd)->items[static_cast<size_t>(index)].param;
  NotifyWindow(NotifyTarget(hwnd), hwnd, code, &activate.hdr);
}

void NotifyCode(HWND hwnd, UINT code)
{
  NMHDR header{};
  NotifyWindow(NotifyTarget(hwnd), hwnd, code, &header);
}

int Current(HWND hwnd)
{
  int focused = NextItem(hwnd, -1, LVNI_FOCUSED);
  return focused >= 0 ? focused : NextItem(hwnd, -1, LVNI_SELECTED);
}

void KeyDown(HWND hwnd, UINT key)
{
  int count = Count(hwnd);
  if (key == VK_RETURN) {
    Activate(hwnd, NM_RETURN, Current(hwnd), POINT{0, 0});
    return;
  }
  if (count == 0)
    return;
  int current = Current(hwnd);
  ListViewLayout layout = Layout(hwnd);
  int target = -1;
  switch (key) {
  case VK_HOME: target = 0; break;
  case VK_END: target = count - 1; break;
  case VK_UP:
  case VK_DOWN:
  case VK_LEFT:
  case VK_RIGHT:
    if (current < 0)
      target = 0;
    else if (layout.IsReport())
      target = key == VK_UP ? current - 1 : key == VK_DOWN ? current + 1 : -1;
    else
      target = layout.Nearest(current, key);
    break;
  case VK_PRIOR:
  case VK_NEXT:
    if (layout.IsReport()) {
      int page = std::max(1, layout.CountPerPage());
      target = std::clamp(current + (key == VK_NEXT ? page : -page), 0, count - 1);
    }
    break;
  default: return;
  }
  if (target >= 0 && target < count)
    Choose(hwnd, target);
}

void PointerDown(HWND hwnd, LPARAM lParam, bool second)
{
  if (GetFocus() != hwnd)
    SetFocus(hwnd);
  if (!IsWindow(hwnd))
    return;
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  int index = Layout(hwnd).ItemAt(point);
  if (index >= 0)
    Choose(hwnd, index);
  else
    for (int i = 0; i < Count(hwnd); ++i)
      SetState(hwnd, i, 0, LVIS_SELECTED);
  if (second) {
    Activate(hwnd, NM_DBLCLK, index, point);
    return;
  }
  ListViewRecord* record = Record(hwnd);
  record->pressed = index;
  record->tracking = true;
  SetCapture(hwnd);
}

// The click is reported when the tap ends on the list.
void PointerUp(HWND hwnd, LPARAM lParam)
{
  ListViewRecord* record = Record(hwnd);
  if (!record->tracking)
    return;
  record->tracking = false;
  if (GetCapture() == hwnd)
    ReleaseCapture();
  if (PointInClient(hwnd, lParam))
    Activate(hwnd, NM_CLICK, record->pressed, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void Scroll(HWND hwnd, WPARAM wParam)
{
  ListViewRecord* record = Record(hwnd);
  ListViewLayout layout = Layout(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  int line = layout.IsReport() ? record->rowHeight : layout.Spacing().cy;
  int page = layout.IsReport() ? std::max(1, layout.CountPerPage()) * record->rowHeight : client.bottom;
  POINT origin = record->origin;
  switch (LOWORD(wParam)) {
  case SB_LINEUP: origin.y -= line; break;
  case SB_LINEDOWN: origin.y += line; break;
  case SB_PAGEUP: origin.y -= page; break;
  case SB_PAGEDOWN: origin.y += page; break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION:
    origin.y = static_cast<SHORT>(HIWORD(wParam)) * (layout.IsReport() ? record->rowHeight : 1);
    break;
  case SB_TOP: origin.y = 0; break;
  case SB_BOTTOM: origin.y = layout.Extent().cy; break;
  default: return;
  }
  SetOrigin(hwnd, origin);
}

void MeasureRows(HWND hwnd)
{
  ListViewRecord* record = Record(hwnd);
  record->lineHeight = LineHeightOf(hwnd, record->font);
  record->rowHeight = record->lineHeight + 4;
  if (!OwnerDrawn(hwnd))
    return;
  RECT client;
  GetClientRect(hwnd, &client);
  MEASUREITEMSTRUCT measure{ODT_LISTVIEW, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, static_cast<UINT>(client.right),
                            static_cast<UINT>(record->rowHeight), 0};
  if (HWND parent = NotifyTarget(hwnd))
    SendMessageW(parent, WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
  if (IsWindow(hwnd) && measure.itemHeight > 0)
    Record(hwnd)->rowHeight = static_cast<int>(measure.itemHeight);
}

bool ShowsSelection(HWND hwnd)
{
  return HasFocus(hwnd) || (StyleOf(hwnd) & LVS_SHOWSELALWAYS);
}

void DrawOwnerRows(HWND hwnd, HDC dc, const RECT& client)
{
  HWND parent = NotifyTarget(hwnd);
  if (!parent)
    return;
  bool focused = HasFocus(hwnd);
  int count = Count(hwnd);
  for (int i = 0; i < count; ++i) {
    if (!IsWindow(hwnd) || Count(hwnd) != count)
      return;  // the parent changed the list while drawing
    ListViewLayout layout = Layout(hwnd);
    RECT bounds = layout.Bounds(i);
    if (bounds.bottom <= client.top || bounds.top >= client.bottom)
      continue;
    const ListViewItem& item = Record(hwnd)->items[static_cast<size_t>(i)];
    DRAWITEMSTRUCT draw{ODT_LISTVIEW, static_cast<UINT>(GetDlgCtrlID(hwnd)), static_cast<UINT>(i), ODA_DRAWENTIRE,
                        ((item.state & LVIS_SELECTED) ? static_cast<UINT>(ODS_SELECTED) : 0u) |
                            ((item.state & LVIS_FOCUSED) && focused ? static_cast<UINT>(ODS_FOCUS) : 0u),
                        hwnd, dc, bounds, static_cast<ULONG_PTR>(item.param)};
    SendMessageW(parent, WM_DRAWITEM, draw.CtlID, reinterpret_cast<LPARAM>(&draw));
  }
}

void DrawReportRow(HWND hwnd, HDC dc, const ListViewLayout& layout, int index)
{
  const ListViewRecord* record = Record(hwnd);
  const ListViewItem& item = record->items[static_cast<size_t>(index)];
  COLORREF color = record->textColor;
  if ((item.state & LVIS_SELECTED) && ShowsSelection(hwnd)) {
    RECT selected{};
    layout.ItemRect(index, (record->extendedStyle & LVS_EX_FULLROWSELECT) ? LVIR_BOUNDS : LVIR_LABEL, &selected);
    FillRect(dc, &selected, GetSysColorBrush(HasFocus(hwnd) ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    if (HasFocus(hwnd))
      color = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  RECT icon{};
  layout.ItemRect(index, LVIR_ICON, &icon);
  if (item.image >= 0 && icon.right > icon.left)
    ImageList_Draw(record->smallImages, item.image, dc, icon.left, icon.top, ILD_TRANSPARENT);
  for (size_t c = 0; c < record->columns.size(); ++c) {
    RECT cell{};
    layout.SubItemRect(index, static_cast<int>(c), c == 0 ? LVIR_LABEL : LVIR_BOUNDS, &cell);
    size_t sub = static_cast<size_t>(record->columns[c].subItem);
    if (sub >= item.texts.size())
      continue;
    InflateRect(&cell, -2, 0);
    int format = record->columns[c].format;
    DrawLine(dc, item.texts[sub], cell, color,
             format == LVCFMT_RIGHT ? DT_RIGHT : format == LVCFMT_CENTER ? DT_CENTER : DT_LEFT);
  }
}

void DrawIcon(HWND hwnd, HDC dc, const ListViewLayout& layout, int index)
{
  const ListViewRecord* record = Record(hwnd);
  const ListViewItem& item = record->items[static_cast<size_t>(index)];
  RECT icon{}, label{};
  layout.ItemRect(index, LVIR_ICON, &icon);
  layout.ItemRect(index, LVIR_LABEL, &label);
  if (item.image >= 0)
    ImageList_Draw(record->normalImages, item.image, dc, icon.left, icon.top, ILD_TRANSPARENT);
  bool selected = (item.state & LVIS_SELECTED) && ShowsSelection(hwnd);
  COLORREF color = record->textColor;
  const std::u16string& text = item.texts.empty() ? std::u16string() : item.texts[0];
  if (selected) {
    if (text.empty()) {
      FrameColor(dc, layout.Bounds(index), GetSysColor(COLOR_HIGHLIGHT));
    } else {
      FillRect(dc, &label, GetSysColorBrush(COLOR_HIGHLIGHT));
      color = GetSysColor(COLOR_HIGHLIGHTTEXT);
    }
  }
  DrawLine(dc, text, label, color, DT_CENTER);
}

void Paint(HWND hwnd, HDC dc)
{
  RECT client;
  GetClientRect(hwnd, &client);
  if (OwnerDrawn(hwnd)) {
    DrawOwnerRows(hwnd, dc, client);
    return;
  }
  ListViewLayout layout = Layout(hwnd);
  for (int i = 0; i < layout.Count(); ++i) {
    RECT bounds = layout.Bounds(i);
    RECT shown{};
    if (!IntersectRect(&shown, &bounds, &client))
      continue;
    if (layout.IsReport())
      DrawReportRow(hwnd, dc, layout, i);
    else
      DrawIcon(hwnd, dc, layout, i);
  }
}

void DestroyImageLists(HWND hwnd)
{
  ListViewRecord* record = Record(hwnd);
  if (!(StyleOf(hwnd) & LVS_SHAREIMAGELISTS))
    for (HIMAGELIST list : {record->normalImages, record->smallImages, record->stateImages})
      if (list)
        ImageList_Destroy(list);
  record->normalImages = record->smallImages = record->stateImages = nullptr;
}

LRESULT DialogCode(LPARAM lParam)
{
  // Enter reaches the list in a dialog, for NM_RETURN.
  auto* message = reinterpret_cast<const MSG*>(lParam);
  bool enter = message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN;
  return DLGC_WANTARROWS | DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
}

LRESULT HandleListView(HWND hwnd, ListViewRecord& held, UINT message, WPARAM wParam, LPARAM lParam)
{
  ListViewRecord* record = &held;
  switch (message) {
  case WM_NCCREATE: {
    record->textColor = GetSysColor(COLOR_WINDOWTEXT);
    if (auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam))
      record->notify = create->hwndParent;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  case WM_CREATE:
    MeasureRows(hwnd);
    if (IsWindow(hwnd))
      UpdateScrollBar(hwnd);
    return 0;
  case WM_DESTROY:
    DestroyImageLists(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  case LVM_INSERTITEMW: return InsertItem(hwnd, reinterpret_cast<const LVITEMW*>(lParam));
  case LVM_SETITEMW: return SetItem(hwnd, reinterpret_cast<const LVITEMW*>(lParam));
  case LVM_GETITEMW: return GetItem(hwnd, reinterpret_cast<LVITEMW*>(lParam));
  case LVM_DELETEITEM: return DeleteItem(hwnd, static_cast<int>(wParam));
  case LVM_DELETEALLITEMS:
    record->items.clear();
    record->pressed = -1;
    ItemsChanged(hwnd);
    return TRUE;
  case LVM_GETITEMCOUNT: return Count(hwnd);
  case LVM_SETITEMSTATE: return SetItemState(hwnd, static_cast<int>(wParam), reinterpret_cast<const LVITEMW*>(lParam));
  case LVM_GETITEMSTATE:
    return Valid(hwnd, static_cast<int>(wParam)) ? record->items[wParam].state & static_cast<UINT>(lParam) : 0;
  case LVM_GETNEXTITEM: return NextItem(hwnd, static_cast<int>(wParam), LOWORD(lParam));
  case LVM_GETITEMRECT: {
    auto* rect = reinterpret_cast<RECT*>(lParam);
    return rect && Layout(hwnd).ItemRect(static_cast<int>(wParam), rect->left, rect);
  }
  case LVM_GETSUBITEMRECT: {
    auto* rect = reinterpret_cast<RECT*>(lParam);
    return rect && Layout(hwnd).SubItemRect(static_cast<int>(wParam), rect->top, rect->left, rect);
  }
  case LVM_GETITEMPOSITION:
    if (!Valid(hwnd, static_cast<int>(wParam)) || !lParam)
      return FALSE;
    *reinterpret_cast<POINT*>(lParam) = Layout(hwnd).Position(static_cast<int>(wParam));
    return TRUE;
  case LVM_SETITEMPOSITION:
    if (!Valid(hwnd, static_cast<int>(wParam)) || IsReport(hwnd))
      return FALSE;
    record->items[wParam].position = POINT{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    ItemsChanged(hwnd);
    return TRUE;
  case LVM_SETICONSPACING: return SetIconSpacing(hwnd, lParam);
  case LVM_SETIMAGELIST: return SetImageList(hwnd, wParam, reinterpret_cast<HIMAGELIST>(lParam));
  case LVM_GETCOUNTPERPAGE: return Layout(hwnd).CountPerPage();
  case LVM_GETTOPINDEX:
    return IsReport(hwnd) ? record->origin.y / std::max(1, record->rowHeight) : 0;
  case LVM_GETORIGIN:
    if (!lParam || IsReport(hwnd))
      return FALSE;
    *reinterpret_cast<POINT*>(lParam) = record->origin;
    return TRUE;
  case LVM_ENSUREVISIBLE: return EnsureVisible(hwnd, static_cast<int>(wParam), lParam != 0);
  case LVM_SCROLL:
    SetOrigin(hwnd, POINT{record->origin.x + static_cast<int>(wParam), record->origin.y + static_cast<int>(lParam)});
    return TRUE;
  case LVM_GETTEXTCOLOR: return record->textColor;
  case LVM_SETEXTENDEDLISTVIEWSTYLE: {
    DWORD previous = record->extendedStyle;
    DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFF;
    record->extendedStyle = (previous & ~mask) | (static_cast<DWORD>(lParam) & mask);
    Redraw(hwnd);
    return previous;
  }
  case LVM_GETEXTENDEDLISTVIEWSTYLE: return record->extendedStyle;
  case LVM_INSERTCOLUMNW:
    return InsertColumn(hwnd, static_cast<int>(wParam), reinterpret_cast<const LVCOLUMNW*>(lParam));
  case LVM_GETCOLUMNW: return GetColumn(hwnd, static_cast<int>(wParam), reinterpret_cast<LVCOLUMNW*>(lParam));
  case LVM_DELETECOLUMN: return DeleteColumn(hwnd, static_cast<int>(wParam));
  case WM_SETFONT:
    record->font = reinterpret_cast<HFONT>(wParam);
    record->lineHeight = LineHeightOf(hwnd, record->font);
    if (!OwnerDrawn(hwnd))
      record->rowHeight = record->lineHeight + 4;
    ItemsChanged(hwnd);
    return 0;
  case WM_GETFONT: return reinterpret_cast<LRESULT>(record->font);
  case WM_SIZE:
  case WM_STYLECHANGED:
    ItemsChanged(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  case WM_VSCROLL: Scroll(hwnd, wParam); return 0;
  case WM_KEYDOWN: KeyDown(hwnd, static_cast<UINT>(wParam)); return 0;
  case WM_LBUTTONDOWN: PointerDown(hwnd, lParam, false); return 0;
  case WM_LBUTTONDBLCLK: PointerDown(hwnd, lParam, true); return 0;
  case WM_LBUTTONUP: PointerUp(hwnd, lParam); return 0;
  case WM_CAPTURECHANGED: record->tracking = false; return 0;
  case WM_SETFOCUS:
    Redraw(hwnd);
    NotifyCode(hwnd, NM_SETFOCUS);
    return 0;
  case WM_KILLFOCUS:
    Redraw(hwnd);
    NotifyCode(hwnd, NM_KILLFOCUS);
    return 0;
  case WM_GETDLGCODE: return DialogCode(lParam);
  case WM_ERASEBKGND: {
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_WINDOW));
    return 1;
  }
  case WM_PAINT:
  case WM_PRINTCLIENT:
    return PaintInFont(hwnd, message, wParam, record->font, Paint);
  default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT ListViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return WithRecord<ListViewRecord>(hwnd, message, wParam, lParam, HandleListView);
}

}  // namespace controls_detail
