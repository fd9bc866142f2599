// The BUTTON control.
#include <algorithm>

#include "control_painting.h"
#include "control_procedures.h"
#include "control_support.h"

namespace controls_detail {

namespace {

struct ButtonRecord {
  UINT state = BST_UNCHECKED;  // check state | BST_PUSHED | BST_FOCUS
  bool pressing = false;       // a tap or the space key is held on the button
  HFONT font = nullptr;
};

UINT TypeOf(HWND hwnd)
{
  return StyleOf(hwnd) & BS_TYPEMASK;
}

// The highest check state of the type; 0 for buttons that are never checked.
UINT MaxCheck(UINT type)
{
  switch (type) {
  case BS_CHECKBOX:
  case BS_AUTOCHECKBOX:
  case BS_RADIOBUTTON:
  case BS_AUTORADIOBUTTON: return BST_CHECKED;
  case BS_3STATE:
  case BS_AUTO3STATE: return BST_INDETERMINATE;
  default: return 0;
  }
}

LRESULT DialogCode(UINT type)
{
  switch (type) {
  case BS_PUSHBUTTON: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
  case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
  case BS_RADIOBUTTON:
  case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
  case BS_GROUPBOX: return DLGC_STATIC;
  default: return DLGC_BUTTON;
  }
}

bool IsAutoRadio(HWND hwnd)
{
  LRESULT code = SendMessageW(hwnd, WM_GETDLGCODE, 0, 0);
  return (code & (DLGC_BUTTON | DLGC_RADIOBUTTON)) == (DLGC_BUTTON | DLGC_RADIOBUTTON) &&
         (StyleOf(hwnd) & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

// Checks an automatic radio button and clears the others of its group: the siblings from the
// nearest one with WS_GROUP at or before it up to the next one with WS_GROUP.
void CheckInGroup(HWND hwnd)
{
  HWND first = hwnd;
  while (!(StyleOf(first) & WS_GROUP)) {
    HWND previous = GetWindow(first, GW_HWNDPREV);
    if (!previous)
      break;
    first = previous;
  }
  for (HWND sibling = first; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling != first && (StyleOf(sibling) & WS_GROUP))
      break;
    if (sibling != hwnd && IsAutoRadio(sibling))
      SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
}

// The click: automatic buttons change their check first, then the parent hears BN_CLICKED.
void Click(HWND hwnd)
{
  UINT check = static_cast<UINT>(SendMessageW(hwnd, BM_GETCHECK, 0, 0));
  switch (TypeOf(hwnd)) {
  case BS_AUTOCHECKBOX: SendMessageW(hwnd, BM_SETCHECK, check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0); break;
  case BS_AUTO3STATE: SendMessageW(hwnd, BM_SETCHECK, (check + 1) % 3, 0); break;
  case BS_AUTORADIOBUTTON: CheckInGroup(hwnd); break;
  default: break;
  }
  NotifyParent(hwnd, BN_CLICKED);
}

void Press(HWND hwnd, ButtonRecord& record)
{
  record.pressing = true;
  SetCapture(hwnd);
  SendMessageW(hwnd, BM_SETSTATE, TRUE, 0);
}

// The end of a press. It clicks only when the pushed state took effect and is still there, and
// the release happened over the button.
void Release(HWND hwnd, ButtonRecord& record, bool over)
{
  if (!record.pressing)
    return;
  record.pressing = false;
  bool pushed = record.state & BST_PUSHED;
  if (pushed)
    SendMessageW(hwnd, BM_SETSTATE, FALSE, 0);
  if (GetCapture() == hwnd)
    ReleaseCapture();
  if (pushed && over && IsWindow(hwnd))
    Click(hwnd);
}

void NotifyFocus(HWND hwnd, WORD code)
{
  if (StyleOf(hwnd) & BS_NOTIFY)
    NotifyParent(hwnd, code);
}

LRESULT Handle(HWND hwnd, ButtonRecord& record, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_NCHITTEST:
    if (TypeOf(hwnd) == BS_GROUPBOX)
      return HTTRANSPARENT;
    return DefWindowProcW(hwnd, message, wParam, lParam);
  case WM_GETDLGCODE:
    return DialogCode(TypeOf(hwnd));
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (TypeOf(hwnd) == BS_GROUPBOX)
      return 0;
    // A button that must not take the focus (WS_EX_NOACTIVATE) is pressed without it.
    if (!(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_NOACTIVATE) && !HasFocus(hwnd))
      SetFocus(hwnd);
    if (IsWindow(hwnd))
      Press(hwnd, record);
    return 0;
  case WM_MOUSEMOVE:
    if (record.pressing && GetCapture() == hwnd) {
      bool over = PointInClient(hwnd, lParam);
      if (over != static_cast<bool>(record.state & BST_PUSHED))
        SendMessageW(hwnd, BM_SETSTATE, over, 0);
    }
    return 0;
  case WM_LBUTTONUP:
    Release(hwnd, record, PointInClient(hwnd, lParam));
    return 0;
  case WM_KEYDOWN:
    if (wParam == VK_SPACE && !record.pressing && TypeOf(hwnd) != BS_GROUPBOX)
      Press(hwnd, record);
    return 0;
  case WM_KEYUP:
    if (wParam == VK_SPACE)
      Release(hwnd, record, true);
    return 0;
  case WM_CAPTURECHANGED:
    // The press ends without a click when something else takes the pointer.
    if (record.pressing && reinterpret_cast<HWND>(lParam) != hwnd) {
      record.pressing = false;
      if (record.state & BST_PUSHED)
        SendMessageW(hwnd, BM_SETSTATE, FALSE, 0);
    }
    return 0;
  case WM_SETFOCUS:
    record.state |= BST_FOCUS;
    Redraw(hwnd);
    NotifyFocus(hwnd, BN_SETFOCUS);
    return 0;
  case WM_KILLFOCUS:
    record.state &= ~static_cast<UINT>(BST_FOCUS);
    if (record.pressing && GetCapture() == hwnd)
      ReleaseCapture();
    Redraw(hwnd);
    NotifyFocus(hwnd, BN_KILLFOCUS);
    return 0;
  case WM_ENABLE:
    Redraw(hwnd);
    return 0;
  case WM_SETTEXT:
    return SetTextAndRedraw(hwnd, wParam, lParam);
  case WM_SETFONT:
  case WM_GETFONT:
    return FontMessage(hwnd, message, wParam, lParam, record.font);
  case BM_GETCHECK:
    return MaxCheck(TypeOf(hwnd)) ? (record.state & (BST_CHECKED | BST_INDETERMINATE)) : BST_UNCHECKED;
  case BM_SETCHECK: {
    UINT type = TypeOf(hwnd);
    UINT highest = MaxCheck(type);
    if (!highest)
      return 0;
    UINT check = std::min(static_cast<UINT>(wParam), highest);
    if (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
      // Tab navigation enters a radio group at its checked button.
      DWORD style = StyleOf(hwnd);
      DWORD wanted = check ? (style | WS_TABSTOP) : (style & ~static_cast<DWORD>(WS_TABSTOP));
      if (wanted != style)
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(wanted));
    }
    if ((record.state & (BST_CHECKED | BST_INDETERMINATE)) != check) {
      record.state = (record.state & ~static_cast<UINT>(BST_CHECKED | BST_INDETERMINATE)) | check;
      Redraw(hwnd);
    }
    return 0;
  }
  case BM_GETSTATE:
    return record.state;
  case BM_SETSTATE: {
    UINT state = wParam ? (record.state | BST_PUSHED) : (record.state & ~static_cast<UINT>(BST_PUSHED));
    if (state != record.state) {
      record.state = state;
      Redraw(hwnd);
    }
    return 0;
  }
  case BM_SETSTYLE: {
    DWORD style = (StyleOf(hwnd) & ~static_cast<DWORD>(BS_TYPEMASK)) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
    if (LOWORD(lParam))
      Redraw(hwnd);
    return 0;
  }
  case BM_CLICK:
    // As a tap at the button's corner: it clicks under the same rule as a tap.
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
    return 0;
  case WM_PAINT:
  case WM_PRINTCLIENT:
    return PaintMessage(hwnd, message, wParam, [&](HDC dc) { PaintButton(hwnd, dc, {record.state, record.font}); });
  default:
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return WithRecord<ButtonRecord>(hwnd, message, wParam, lParam, Handle);
}

}  // namespace controls_detail
