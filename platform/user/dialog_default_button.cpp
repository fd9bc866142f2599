// The dialog's default push button: the id DM_SETDEFID gave, else the template's
// BS_DEFPUSHBUTTON; and its look, which follows the focus from push button to push button and
// returns to the default button when the focus leaves them.
#include "dialog_state.h"

namespace {

// BM_SETSTYLE and the two push-button styles it switches between.
constexpr UINT kButtonSetStyle = 0x00F4;
constexpr WPARAM kPushButton = 0x0;
constexpr WPARAM kDefaultPushButton = 0x1;

LRESULT CodeOf(HWND control)
{
  return SendMessageW(control, WM_GETDLGCODE, 0, 0);
}

// The first child that looks like the default button.
HWND StyledDefault(HWND dialog)
{
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (CodeOf(child) & DLGC_DEFPUSHBUTTON)
      return child;
  return nullptr;
}

}  // namespace

LRESULT user_dialog::DefaultId(HWND dialog)
{
  auto record = FindDialog(dialog);
  if (record && record->defaultId)
    return MAKELRESULT(record->defaultId, DC_HASDEFID);
  if (HWND styled = StyledDefault(dialog))
    return MAKELRESULT(GetDlgCtrlID(styled), DC_HASDEFID);
  return 0;
}

void user_dialog::ShowDefaultButton(HWND dialog, HWND focus)
{
  auto record = FindDialog(dialog);
  if (!record)
    return;
  // The template's default is taken before the look first moves, so that it can come back.
  if (!record->defaultId)
    if (HWND styled = StyledDefault(dialog))
      record->defaultId = static_cast<WORD>(GetDlgCtrlID(styled));
  HWND target = nullptr;
  if (focus && GetParent(focus) == dialog && (CodeOf(focus) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
    target = focus;
  else if (record->defaultId)
    target = GetDlgItem(dialog, record->defaultId);
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (child != target && (CodeOf(child) & DLGC_DEFPUSHBUTTON))
      SendMessageW(child, kButtonSetStyle, kPushButton, TRUE);
  if (target && (CodeOf(target) & DLGC_UNDEFPUSHBUTTON))
    SendMessageW(target, kButtonSetStyle, kDefaultPushButton, TRUE);
}

void user_dialog::SetDefaultId(HWND dialog, WORD id)
{
  auto record = FindDialog(dialog);
  if (!record)
    return;
  record->defaultId = id;
  HWND focus = GetFocus();
  ShowDefaultButton(dialog, focus && IsChild(dialog, focus) ? focus : nullptr);
}
