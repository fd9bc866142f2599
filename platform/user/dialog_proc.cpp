// The default dialog procedure: calls the dialog's procedure and applies its return rules, then
// does what a dialog does with the messages its procedure left alone: focus, the default button,
// the dialog brush and the colours behind its controls.
#include "dialog_state.h"
#include "gdi/system_colors.h"
#include "internal/user/paint_link.h"

using namespace user_dialog;

namespace {

// EM_SETSEL of edits: selecting a whole edit's text when the keyboard moves into it.
constexpr UINT kEditSetSelection = 0x00B1;
// BN_CLICKED, the notification code of a button's WM_COMMAND.
constexpr WORD kButtonClicked = 0;

// Messages whose result is the dialog procedure's return value itself.
bool ReturnsDirectly(UINT message)
{
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
         message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_INITDIALOG;
}

bool IsInside(HWND dialog, HWND hwnd)
{
  return hwnd && IsChild(dialog, hwnd);
}

// Moves the focus to a control of the dialog, selecting an edit's text, and remembers it.
void FocusControl(HWND dialog, HWND control)
{
  SetFocus(control);
  if (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
    SendMessageW(control, kEditSetSelection, 0, -1);
  if (auto record = FindDialog(dialog))
    record->savedFocus = control;
  ShowDefaultButton(dialog, control);
}

// The control that had the focus when the dialog was last left, else the first tab stop.
void RestoreFocus(HWND dialog)
{
  HWND focus = GetFocus();
  if (IsInside(dialog, focus))
    return;
  auto record = FindDialog(dialog);
  HWND saved = record ? record->savedFocus : nullptr;
  if (saved && IsWindow(saved) && IsInside(dialog, saved) && IsWindowVisible(saved) && IsWindowEnabled(saved)) {
    SetFocus(saved);
    ShowDefaultButton(dialog, saved);
    return;
  }
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  if (first && first != dialog)
    FocusControl(dialog, first);
}

// The system colour behind each kind of control when the dialog's procedure gives none: the
// dialog brush behind the dialog and the statics and buttons that sit on it, the window colour
// behind edits and lists, the scroll bar colour behind scroll bars.
int DefaultColourOf(UINT ctlColorMessage)
{
  switch (ctlColorMessage) {
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX: return COLOR_WINDOW;
  case WM_CTLCOLORSCROLLBAR: return COLOR_SCROLLBAR;
  default: return COLOR_STATIC;  // WM_CTLCOLORDLG, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLORMSGBOX
  }
}

// The dialog brush: what the dialog answers WM_CTLCOLORDLG.
LRESULT EraseWithDialogBrush(HWND dialog, HDC dc)
{
  auto hooks = user_paint::GetHooks();
  if (!hooks || !hooks->fillClient)
    return 0;
  auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog)));
  return hooks->fillClient(dialog, dc, brush);
}

LRESULT DefaultHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_ACTIVATE:
    if (LOWORD(wParam) == WA_INACTIVE) {
      HWND focus = GetFocus();
      if (auto record = FindDialog(dialog); record && IsInside(dialog, focus))
        record->savedFocus = focus;
    } else {
      RestoreFocus(dialog);
    }
    return 0;
  case WM_SETFOCUS:
    RestoreFocus(dialog);
    return 0;
  case WM_NEXTDLGCTL: {
    HWND target;
    if (LOWORD(lParam)) {
      target = reinterpret_cast<HWND>(wParam);
    } else {
      HWND focus = GetFocus();
      target = GetNextDlgTabItem(dialog, IsInside(dialog, focus) ? focus : nullptr, wParam != 0);
    }
    if (target && target != dialog && IsInside(dialog, target))
      FocusControl(dialog, target);
    return 0;
  }
  case DM_GETDEFID:
    return DefaultId(dialog);
  case DM_SETDEFID:
    SetDefaultId(dialog, static_cast<WORD>(wParam));
    return TRUE;
  case WM_ERASEBKGND:
    return EraseWithDialogBrush(dialog, reinterpret_cast<HDC>(wParam));
  case WM_CTLCOLORMSGBOX:
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORLISTBOX:
  case WM_CTLCOLORBTN:
  case WM_CTLCOLORDLG:
  case WM_CTLCOLORSCROLLBAR:
  case WM_CTLCOLORSTATIC: {
    // The DC keeps the text colour the control chose; only its background follows the brush.
    auto hooks = user_paint::GetHooks();
    if (!hooks || !hooks->systemColour)
      return 0;
    return reinterpret_cast<LRESULT>(hooks->systemColour(reinterpret_cast<HDC>(wParam), DefaultColourOf(message)));
  }
  case WM_GETFONT:
    if (auto record = FindDialog(dialog))
      return reinterpret_cast<LRESULT>(record->font.font);
    return 0;
  case WM_CLOSE: {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (!cancel || IsWindowEnabled(cancel))
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, kButtonClicked), reinterpret_cast<LPARAM>(cancel));
    return 0;
  }
  default:
    return DefWindowProcW(dialog, message, wParam, lParam);
  }
}

}  // namespace

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC));
  LRESULT handled = 0;
  if (proc) {
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 0);
    handled = CallWindowProcW(proc, dialog, message, wParam, lParam);
  }
  LRESULT result;
  if (handled)
    result = ReturnsDirectly(message) ? handled : GetWindowLongPtrW(dialog, DWLP_MSGRESULT);
  else
    result = DefaultHandling(dialog, message, wParam, lParam);
  if (message == WM_NCDESTROY)
    RemoveDialog(dialog);
  return result;
}
