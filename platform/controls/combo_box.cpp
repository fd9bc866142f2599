// The COMBOBOX control: a selection field with a drop-down button, and a popup LISTBOX below it.
#include <algorithm>
#include <string>

#include "control_painting.h"
#include "control_support.h"
#include "item_painting.h"
#include "list_procedures.h"

namespace controls_detail {

namespace {

struct ComboRecord {
  HWND list = nullptr;
  HWND edit = nullptr;
  WNDPROC editProc = nullptr;      // the edit's own procedure
  WNDPROC editSubclass = nullptr;  // the box's procedure in front of it
  int dropHeight = 0;   // the box and its dropped list together
  int fieldHeight = 16; // the selection field's item height
  bool dropped = false;
  bool showing = false;  // the box is setting the edit's text itself
  HFONT font = nullptr;
  ComboLink link;
};

ComboRecord* Record(HWND hwnd)
{
  return RecordOf<ComboRecord>(hwnd);
}

bool IsDropDownList(HWND hwnd)
{
  return (StyleOf(hwnd) & CBS_TYPEMASK) == CBS_DROPDOWNLIST;
}

// The box keeps the height of its field plus its frame.
int BoxHeight(HWND hwnd)
{
  return Record(hwnd)->fieldHeight + 6;
}

int ButtonWidth()
{
  return GetSystemMetrics(SM_CXVSCROLL);
}

LRESULT ToList(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
  HWND list = Record(hwnd)->list;
  return list ? SendMessageW(list, message, wParam, lParam) : CB_ERR;
}

std::u16string ItemText(HWND hwnd, int index)
{
  LRESULT length = ToList(hwnd, LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (length < 0)
    return {};
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  ToList(hwnd, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

int Selected(HWND hwnd)
{
  return static_cast<int>(ToList(hwnd, LB_GETCURSEL));
}

// The field shows the selection: the edit of a drop-down takes its text.
void ShowSelection(HWND hwnd)
{
  ComboRecord* record = Record(hwnd);
  if (record->edit) {
    // The text shown for a choice is all selected, so typing replaces it; the edit's change
    // notifications are the box's own doing and not the user's.
    int selected = Selected(hwnd);
    record->showing = true;
    SetWindowTextW(record->edit, selected >= 0 ? ItemText(hwnd, selected).c_str() : u"");
    SendMessageW(record->edit, EM_SETSEL, 0, -1);
    record->showing = false;
  }
  Redraw(hwnd);
}

void Notify(HWND hwnd, WORD code)
{
  NotifyParent(hwnd, code);
}

void PlaceEdit(HWND hwnd)
{
  ComboRecord* record = Record(hwnd);
  if (!record->edit)
    return;
  RECT client;
  GetClientRect(hwnd, &client);
  MoveWindow(record->edit, 2, 2, std::max(0, static_cast<int>(client.right) - ButtonWidth() - 3),
             std::max(0, static_cast<int>(client.bottom) - 4), TRUE);
}

// The list drops below the box, or above it when the screen ends first; it is as high as the
// creation height leaves, less when its items need less, and at least one item high.
void PlaceList(HWND hwnd)
{
  ComboRecord* record = Record(hwnd);
  RECT box;
  GetWindowRect(hwnd, &box);
  int itemHeight = static_cast<int>(ToList(hwnd, LB_GETITEMHEIGHT));
  int count = static_cast<int>(ToList(hwnd, LB_GETCOUNT));
  int room = std::max(record->dropHeight - (box.bottom - box.top), itemHeight + 2);
  int height = std::clamp(count * itemHeight + 2, itemHeight + 2, room);
  int y = box.bottom;
  if (y + height > GetSystemMetrics(SM_CYSCREEN) && box.top - height >= 0)
    y = box.top - height;
  SetWindowPos(record->list, HWND_TOP, box.left, y, box.right - box.left, height, SWP_NOACTIVATE);
}

void Open(HWND hwnd)
{
  ComboRecord* record = Record(hwnd);
  if (record->dropped || !record->list)
    return;
  Notify(hwnd, CBN_DROPDOWN);
  if (!IsWindow(hwnd) || record->dropped)
    return;
  record->dropped = true;
  PlaceList(hwnd);
  ShowWindow(record->list, SW_SHOWNA);
  int selected = Selected(hwnd);
  if (selected >= 0)
    ToList(hwnd, LB_SETCURSEL, static_cast<WPARAM>(selected));
  SetCapture(record->list);
  Redraw(hwnd);
}

void Close(HWND hwnd, bool chosen)
{
  ComboRecord* record = Record(hwnd);
  if (!record->dropped)
    return;
  record->dropped = false;
  Notify(hwnd, chosen ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (!IsWindow(hwnd))
    return;
  if (GetCapture() == record->list)
    ReleaseCapture();
  ShowWindow(record->list, SW_HIDE);
  Notify(hwnd, CBN_CLOSEUP);
  // A subclass may have kept the list's LBN_SELCHANGE from the box: the field catches up here.
  if (IsWindow(hwnd))
    ShowSelection(hwnd);
}

// The closed box moves its selection with the arrows itself.
void StepSelection(HWND hwnd, UINT key)
{
  int count = static_cast<int>(ToList(hwnd, LB_GETCOUNT));
  if (count <= 0)
    return;
  int current = Selected(hwnd);
  int target = current;
  switch (key) {
  case VK_UP: target = current < 0 ? 0 : current - 1; break;
  case VK_DOWN: target = current + 1; break;
  case VK_HOME: target = 0; break;
  case VK_END: target = count - 1; break;
  default: return;
  }
  target = std::clamp(target, 0, count - 1);
  if (target == current)
    return;
  ToList(hwnd, LB_SETCURSEL, static_cast<WPARAM>(target));
  ShowSelection(hwnd);
  Notify(hwnd, CBN_SELCHANGE);
}

void KeyDown(HWND hwnd, UINT key)
{
  ComboRecord* record = Record(hwnd);
  if (key == VK_F4) {
    if (record->dropped)
      Close(hwnd, true);
    else
      Open(hwnd);
    return;
  }
  if (!record->dropped) {
    StepSelection(hwnd, key);
    return;
  }
  switch (key) {
  case VK_RETURN: Close(hwnd, true); return;
  case VK_ESCAPE: Close(hwnd, false); return;
  default: ToList(hwnd, WM_KEYDOWN, key, 0); return;
  }
}

void Paint(HWND hwnd, HDC dc)
{
  ComboRecord* record = Record(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  bool enabled = IsWindowEnabled(hwnd);
  HWND parent = GetParent(hwnd);
  HBRUSH brush = parent ? AsBrush(SendMessageW(parent, enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC,
                                               reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)))
                        : nullptr;
  if (!IsWindow(hwnd))
    return;
  FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_WINDOW));
  FrameColor(dc, client, GetSysColor(COLOR_WINDOWFRAME));
  RECT button{client.right - ButtonWidth() - 1, client.top + 1, client.right - 1, client.bottom - 1};
  FillRect(dc, &button, GetSysColorBrush(COLOR_BTNFACE));
  int cx = (button.left + button.right) / 2;
  int cy = (button.top + button.bottom) / 2;
  POINT arrow[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
  HBRUSH arrowBrush = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  HGDIOBJ oldBrush = SelectObject(dc, arrowBrush);
  HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
  Polygon(dc, arrow, 3);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  if (!IsDropDownList(hwnd))
    return;
  RECT field{client.left + 2, client.top + 2, button.left - 1, client.bottom - 2};
  COLORREF color = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
  if (HasFocus(hwnd) && !record->dropped) {
    FillRect(dc, &field, GetSysColorBrush(COLOR_HIGHLIGHT));
    color = GetSysColor(COLOR_HIGHLIGHTTEXT);
  }
  int selected = Selected(hwnd);
  if (selected >= 0) {
    field.left += 2;
    DrawLine(dc, ItemText(hwnd, selected), field, color, DT_LEFT);
  }
}

bool IsPartOfBox(HWND hwnd, HWND other)
{
  return other && (other == hwnd || other == Record(hwnd)->edit);
}

void FocusCame(HWND hwnd, HWND previous)
{
  if (IsPartOfBox(hwnd, previous))
    return;
  Redraw(hwnd);
  Notify(hwnd, CBN_SETFOCUS);
}

void FocusLeft(HWND hwnd, HWND next)
{
  if (IsPartOfBox(hwnd, next))
    return;
  Close(hwnd, false);
  if (!IsWindow(hwnd))
    return;
  Redraw(hwnd);
  Notify(hwnd, CBN_KILLFOCUS);
}

// The edit of a drop-down gives the box the keys that choose, and tells it of its focus and of
// the keys it wants while the list is dropped.
void SubclassEdit(HWND hwnd)
{
  ComboRecord* record = Record(hwnd);
  record->editProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(record->edit, GWLP_WNDPROC));
  WNDPROC original = record->editProc;
  record->editSubclass = MakeWindowProc([hwnd, original](HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    bool dropped = SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0);
    switch (message) {
    case WM_KEYDOWN:
      if (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_F4 ||
          (dropped && (wParam == VK_RETURN || wParam == VK_ESCAPE)))
        return SendMessageW(hwnd, message, wParam, lParam);
      break;
    case WM_GETDLGCODE:
      return CallWindowProcW(original, edit, message, wParam, lParam) | (dropped ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS: {
      LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
      FocusCame(hwnd, reinterpret_cast<HWND>(wParam));
      return result;
    }
    case WM_KILLFOCUS: {
      LRESULT result = CallWindowProcW(original, edit, message, wParam, lParam);
      FocusLeft(hwnd, reinterpret_cast<HWND>(wParam));
      return result;
    }
    default: break;
    }
    return CallWindowProcW(original, edit, message, wParam, lParam);
  });
  SetWindowLongPtrW(record->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->editSubclass));
}

void UnsubclassEdit(HWND hwnd)
{
  ComboRecord* record = Record(hwnd);
  if (!record->editSubclass)
    return;
  if (IsWindow(record->edit))
    SetWindowLongPtrW(record->edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->editProc));
  FreeWindowProc(record->editSubclass);
  record->editSubclass = nullptr;
}

void Create(HWND hwnd, const CREATESTRUCTW& create)
{
  ComboRecord* record = Record(hwnd);
  record->dropHeight = create.cy;
  record->fieldHeight = LineHeightOf(hwnd, nullptr);
  record->link.combo = hwnd;
  // The box's scroll style belongs to its list.
  DWORD listScroll = create.style & WS_VSCROLL;
  SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(create.style & ~(WS_VSCROLL | WS_HSCROLL)));
  record->list = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, WC_LISTBOXW, nullptr,
                                 WS_POPUP | WS_BORDER | listScroll | LBS_NOTIFY | LBS_HASSTRINGS, 0, 0, create.cx,
                                 record->fieldHeight, hwnd, nullptr, nullptr, &record->link);
  if (record->list) {
    SetWindowLongW(record->list, GWL_ID, CB_LIST_ID);
    ToList(hwnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(record->fieldHeight, 0));
  }
  if ((create.style & CBS_TYPEMASK) == CBS_DROPDOWN) {
    record->edit = CreateWindowExW(0, WC_EDITW, nullptr, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 0, 0, 0, 0, hwnd,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(CB_EDIT_ID)), nullptr, nullptr);
    if (record->edit)
      SubclassEdit(hwnd);
  }
  SetWindowPos(hwnd, nullptr, 0, 0, create.cx, BoxHeight(hwnd),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  PlaceEdit(hwnd);
}

// A new height given to the box is the height of the box and its list together.
void KeepBoxHeight(HWND hwnd, WINDOWPOS* pos)
{
  if (pos->flags & SWP_NOSIZE)
    return;
  if (pos->cy != BoxHeight(hwnd))
    Record(hwnd)->dropHeight = pos->cy;
  pos->cy = BoxHeight(hwnd);
}

LRESULT SetItemHeight(HWND hwnd, WPARAM index, LPARAM lParam)
{
  int height = LOWORD(lParam);
  if (height <= 0 || height > 255)
    return CB_ERR;
  if (static_cast<int>(index) != -1)
    return ToList(hwnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(height, 0));
  ComboRecord* record = Record(hwnd);
  if (record->fieldHeight != height) {
    record->fieldHeight = height;
    RECT box;
    GetWindowRect(hwnd, &box);
    SetWindowPos(hwnd, nullptr, 0, 0, box.right - box.left, BoxHeight(hwnd), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return CB_OKAY;
}

LRESULT GetText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  ComboRecord* record = Record(hwnd);
  if (record->edit)
    return SendMessageW(record->edit, message, wParam, lParam);
  int selected = Selected(hwnd);
  std::u16string text = selected >= 0 ? ItemText(hwnd, selected) : std::u16string();
  if (message == WM_GETTEXTLENGTH)
    return static_cast<LRESULT>(text.size());
  auto* buffer = reinterpret_cast<LPWSTR>(lParam);
  int room = static_cast<int>(wParam);
  if (!buffer || room <= 0)
    return 0;
  size_t copied = std::min(text.size(), static_cast<size_t>(room - 1));
  std::copy_n(text.begin(), copied, buffer);
  buffer[copied] = u'\0';
  return static_cast<LRESULT>(copied);
}

LRESULT ListCommand(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
  ComboRecord* record = Record(hwnd);
  if (record->edit && reinterpret_cast<HWND>(lParam) == record->edit) {
    if (record->showing)
      return 0;
    if (HIWORD(wParam) == EN_CHANGE)
      Notify(hwnd, CBN_EDITCHANGE);
    else if (HIWORD(wParam) == EN_UPDATE)
      Notify(hwnd, CBN_EDITUPDATE);
    return 0;
  }
  if (reinterpret_cast<HWND>(lParam) != record->list)
    return 0;
  if (HIWORD(wParam) == LBN_SELCHANGE) {
    ShowSelection(hwnd);
    Notify(hwnd, CBN_SELCHANGE);
  } else if (HIWORD(wParam) == LBN_DBLCLK) {
    Notify(hwnd, CBN_DBLCLK);
  }
  return 0;
}

LRESULT HandleComboBox(HWND hwnd, ComboRecord& held, UINT message, WPARAM wParam, LPARAM lParam)
{
  ComboRecord* record = &held;
  switch (message) {
  case WM_CREATE:
    Create(hwnd, *reinterpret_cast<CREATESTRUCTW*>(lParam));
    return 0;
  case WM_DESTROY:
    UnsubclassEdit(hwnd);
    if (record->list)
      DestroyWindow(record->list);
    record->list = nullptr;
    return 0;
  case CB_ADDSTRING: {
    // The list sorts by its own style; the box's style of the moment decides.
    LONG listStyle = GetWindowLongW(record->list, GWL_STYLE);
    bool sorted = StyleOf(hwnd) & CBS_SORT;
    SetWindowLongW(record->list, GWL_STYLE, sorted ? (listStyle | LBS_SORT) : (listStyle & ~LBS_SORT));
    LRESULT index = ToList(hwnd, LB_ADDSTRING, 0, lParam);
    SetWindowLongW(record->list, GWL_STYLE, listStyle);
    return index;
  }
  case CB_INSERTSTRING: return ToList(hwnd, LB_INSERTSTRING, wParam, lParam);
  case CB_DELETESTRING: {
    int selected = Selected(hwnd);
    LRESULT result = ToList(hwnd, LB_DELETESTRING, wParam, lParam);
    if (selected >= 0 && Selected(hwnd) != selected)
      ShowSelection(hwnd);
    return result;
  }
  case CB_RESETCONTENT:
    ToList(hwnd, LB_RESETCONTENT);
    ShowSelection(hwnd);
    return CB_OKAY;
  case CB_GETCOUNT: return ToList(hwnd, LB_GETCOUNT);
  case CB_GETCURSEL: return Selected(hwnd);
  case CB_SETCURSEL: {
    LRESULT result = ToList(hwnd, LB_SETCURSEL, wParam);
    ShowSelection(hwnd);
    return result;
  }
  case CB_GETLBTEXT: return ToList(hwnd, LB_GETTEXT, wParam, lParam);
  case CB_GETLBTEXTLEN: return ToList(hwnd, LB_GETTEXTLEN, wParam);
  case CB_GETITEMDATA: return ToList(hwnd, LB_GETITEMDATA, wParam);
  case CB_SETITEMDATA: return ToList(hwnd, LB_SETITEMDATA, wParam, lParam);
  case CB_FINDSTRINGEXACT: return ToList(hwnd, LB_FINDSTRINGEXACT, wParam, lParam);
  case CB_SETITEMHEIGHT: return SetItemHeight(hwnd, wParam, lParam);
  case CB_GETITEMHEIGHT:
    return static_cast<int>(wParam) == -1 ? record->fieldHeight : ToList(hwnd, LB_GETITEMHEIGHT);
  case CB_SHOWDROPDOWN:
    if (wParam)
      Open(hwnd);
    else
      Close(hwnd, false);
    return TRUE;
  case CB_GETDROPPEDSTATE: return record->dropped;
  case CB_GETDROPPEDCONTROLRECT: {
    if (!lParam)
      return CB_ERR;
    RECT box;
    GetWindowRect(hwnd, &box);
    *reinterpret_cast<RECT*>(lParam) = RECT{box.left, box.top, box.right, box.top + record->dropHeight};
    return TRUE;
  }
  case kComboListClose: Close(hwnd, wParam != 0); return 0;
  case WM_COMMAND: return ListCommand(hwnd, wParam, lParam);
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC: {
    HWND parent = GetParent(hwnd);
    return parent ? SendMessageW(parent, message, wParam, lParam) : 0;
  }
  case WM_WINDOWPOSCHANGING:
    KeepBoxHeight(hwnd, reinterpret_cast<WINDOWPOS*>(lParam));
    return 0;
  case WM_SIZE:
    PlaceEdit(hwnd);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  case WM_SETFONT:
    // The field and the list's rows take the font's height.
    record->font = reinterpret_cast<HFONT>(wParam);
    ToList(hwnd, WM_SETFONT, wParam, lParam);
    ToList(hwnd, LB_SETITEMHEIGHT, 0, MAKELPARAM(LineHeightOf(hwnd, record->font), 0));
    if (record->edit)
      SendMessageW(record->edit, WM_SETFONT, wParam, lParam);
    SetItemHeight(hwnd, static_cast<WPARAM>(-1), MAKELPARAM(LineHeightOf(hwnd, record->font), 0));
    if (LOWORD(lParam))
      Redraw(hwnd);
    return 0;
  case WM_GETFONT: return reinterpret_cast<LRESULT>(record->font);
  case WM_GETTEXT:
  case WM_GETTEXTLENGTH: return GetText(hwnd, message, wParam, lParam);
  case WM_SETTEXT:
    if (record->edit)
      return SendMessageW(record->edit, message, wParam, lParam);
    return CB_ERR;
  case WM_LBUTTONDOWN:
    if (GetFocus() != hwnd && !record->edit)
      SetFocus(hwnd);
    if (IsWindow(hwnd))
      Open(hwnd);
    return 0;
  case WM_KEYDOWN: KeyDown(hwnd, static_cast<UINT>(wParam)); return 0;
  case WM_SETFOCUS:
    FocusCame(hwnd, reinterpret_cast<HWND>(wParam));
    if (IsWindow(hwnd) && record->edit)
      SetFocus(record->edit);
    return 0;
  case WM_KILLFOCUS: FocusLeft(hwnd, reinterpret_cast<HWND>(wParam)); return 0;
  case WM_ENABLE:
    if (!wParam)
      Close(hwnd, false);
    if (record->edit)
      EnableWindow(record->edit, static_cast<BOOL>(wParam));
    Redraw(hwnd);
    return 0;
  case WM_GETDLGCODE:
    return DLGC_WANTARROWS | DLGC_WANTCHARS | (record->dropped ? DLGC_WANTALLKEYS : 0);
  case WM_ERASEBKGND: return 1;
  case WM_PAINT:
  case WM_PRINTCLIENT:
    return PaintInFont(hwnd, message, wParam, record->font, Paint);
  default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT ComboBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return WithRecord<ComboRecord>(hwnd, message, wParam, lParam, HandleComboBox);
}

}  // namespace controls_detail
