// Keyboard navigation in dialogs: tab stops, groups, the default button and Esc.
#include <algorithm>
#include <vector>

#include "dialog_state.h"

using namespace user_dialog;

namespace {

// BN_CLICKED, the notification code of a button's WM_COMMAND.
constexpr WORD kButtonClicked = 0;

DWORD StyleOf(HWND hwnd)
{
  return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

// Visible and enabled by its own styles: the dialog itself may still be hidden (while it is
// being created).
bool Reachable(HWND control)
{
  return (StyleOf(control) & (WS_VISIBLE | WS_DISABLED)) == WS_VISIBLE;
}

// The dialog's controls in tab order; the children of a WS_EX_CONTROLPARENT child (a child
// dialog) stand in its place.
void CollectControls(HWND parent, std::vector<HWND>& out)
{
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetWindowLongW(child, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) {
      if (Reachable(child))
        CollectControls(child, out);
    } else {
      out.push_back(child);
    }
  }
}


// Walks the list cyclically from `start` (exclusive) in the direction, returning the first
// control that `accept` takes; null when none does.
template <class Accept>
HWND Walk(const std::vector<HWND>& controls, ptrdiff_t start, bool previous, Accept accept)
{
  auto count = static_cast<ptrdiff_t>(controls.size());
  for (ptrdiff_t step = 1; step <= count; ++step) {
    ptrdiff_t index = previous ? start - step : start + step;
    index = ((index % count) + count) % count;
    if (accept(controls[static_cast<size_t>(index)]))
      return controls[static_cast<size_t>(index)];
  }
  return nullptr;
}

void Click(HWND dialog, int id)
{
  HWND button = GetDlgItem(dialog, id);
  if (button && !IsWindowEnabled(button))
    return;
  SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, kButtonClicked), reinterpret_cast<LPARAM>(button));
}

// Enter: a focused push button is clicked; else the default button, or IDOK when there is none.
void PressEnter(HWND dialog, HWND focus, LRESULT code)
{
  if (focus && (code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) && IsWindowEnabled(focus)) {
    Click(dialog, GetDlgCtrlID(focus));
    return;
  }
  LRESULT defaultId = SendMessageW(dialog, DM_GETDEFID, 0, 0);
  Click(dialog, HIWORD(defaultId) == DC_HASDEFID ? static_cast<short>(LOWORD(defaultId)) : IDOK);
}

}  // namespace

HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous)
{
  std::vector<HWND> controls;
  CollectControls(dialog, controls);
  if (controls.empty())
    return control;
  auto at = std::find(controls.begin(), controls.end(), control);
  // Without a starting control the walk starts just outside the list, so it takes the first
  // (or, going back, the last) tab stop.
  ptrdiff_t start = at != controls.end()   ? at - controls.begin()
                    : previous             ? static_cast<ptrdiff_t>(controls.size())
                                           : -1;
  HWND next = Walk(controls, start, previous, [](HWND c) { return Reachable(c) && (StyleOf(c) & WS_TABSTOP); });
  return next ? next : control;
}

HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous)
{
  std::vector<HWND> controls;
  CollectControls(dialog, controls);
  auto at = std::find(controls.begin(), controls.end(), control);
  if (at == controls.end())
    return control;
  // The group: from the nearest WS_GROUP control at or before this one up to the next one.
  auto first = at;
  while (first != controls.begin() && !(StyleOf(*first) & WS_GROUP))
    --first;
  auto last = at + 1;
  while (last != controls.end() && !(StyleOf(*last) & WS_GROUP))
    ++last;
  std::vector<HWND> group(first, last);
  HWND next = Walk(group, at - first, previous, Reachable);
  return next ? next : control;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG msg)
{
  if (!msg || !dialog || (msg->hwnd != dialog && !IsChild(dialog, msg->hwnd)))
    return FALSE;
  bool key = msg->message == WM_KEYDOWN || msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
  if (key) {
    HWND focus = GetFocus();
    if (!focus || (focus != dialog && !IsChild(dialog, focus)))
      focus = msg->hwnd;
    LRESULT code = SendMessageW(msg->hwnd, WM_GETDLGCODE, msg->wParam, reinterpret_cast<LPARAM>(msg));
    if (msg->message == WM_KEYDOWN && !(code & DLGC_WANTMESSAGE)) {
      switch (msg->wParam) {
      case VK_TAB:
        if (code & DLGC_WANTTAB)
          break;
        SendMessageW(dialog, WM_NEXTDLGCTL, (GetKeyState(VK_SHIFT) & 0x8000) ? 1 : 0, 0);
        return TRUE;
      case VK_LEFT:
      case VK_UP:
      case VK_RIGHT:
      case VK_DOWN: {
        if (code & DLGC_WANTARROWS)
          break;
        bool previous = msg->wParam == VK_LEFT || msg->wParam == VK_UP;
        HWND next = GetNextDlgGroupItem(dialog, focus, previous);
        if (next && next != focus)
          SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        return TRUE;
      }
      case VK_RETURN:
        PressEnter(dialog, focus, code);
        return TRUE;
      case VK_ESCAPE:
        Click(dialog, IDCANCEL);
        return TRUE;
      default:
        break;
      }
    }
  }
  TranslateMessage(msg);
  DispatchMessageW(msg);
  return TRUE;
}
