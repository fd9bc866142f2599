// The contact chooser: a dialog with its title in a band at the top, the list of contacts
// ("name  number") and the buttons 确定 and 取消, over the whole screen.
#include "phone/contacts.h"

#include <algorithm>
#include <string>
#include <vector>

#include "controls/controls.h"
#include "gdi/gdi.h"
#include "internal/user/dialog_template_writer.h"
#include "kernel/device_settings.h"
#include "windows.h"

namespace {

constexpr int kTitleId = 100;
constexpr int kListId = 101;

HWND Child(HWND dialog, LPCWSTR className, LPCWSTR text, DWORD style, int id)
{
  HWND child = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, dialog,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  SendMessageW(child, WM_SETFONT, SendMessageW(dialog, WM_GETFONT, 0, 0), FALSE);
  return child;
}

class Chooser {
 public:
  Chooser(const std::vector<device::PhoneContact>& contacts, std::u16string title)
      : contacts_(contacts), title_(std::move(title))
  {
  }

  // The contact chosen (from 0), or -1 when cancelled.
  int Run(HWND owner)
  {
    user_dialog::DialogSpec spec;
    spec.style = WS_POPUP | WS_BORDER | WS_VISIBLE | DS_MODALFRAME;
    spec.cx = 100;
    spec.cy = 100;
    spec.title = title_;
    spec.pointSize = 9;
    spec.faceName = u"宋体";
    std::vector<BYTE> bytes = user_dialog::BuildDialogTemplate(spec);
    WNDPROC proc = MakeWindowProc([this](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      return Handle(dialog, message, wParam, lParam);
    });
    INT_PTR chosen = DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), owner,
                                             reinterpret_cast<DLGPROC>(proc), 0);
    FreeWindowProc(proc);
    if (captionBrush_)
      DeleteObject(captionBrush_);
    return chosen > 0 ? static_cast<int>(chosen - 1) : -1;
  }

 private:
  INT_PTR Handle(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
  {
    switch (message) {
    case WM_INITDIALOG:
      Build(dialog);
      return FALSE;
    case WM_CTLCOLORSTATIC:
      if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != kTitleId)
        return FALSE;
      SetTextColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_CAPTIONTEXT));
      SetBkColor(reinterpret_cast<HDC>(wParam), GetSysColor(COLOR_ACTIVECAPTION));
      return reinterpret_cast<INT_PTR>(captionBrush_);
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL)
        EndDialog(dialog, 0);
      else if (LOWORD(wParam) == IDOK || (LOWORD(wParam) == kListId && HIWORD(wParam) == LBN_DBLCLK))
        Choose(dialog);
      return TRUE;
    default:
      return FALSE;
    }
  }

  void Build(HWND dialog)
  {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    RECT unit{4, 4, 40, 14};  // margin, button width and height in dialog units
    MapDialogRect(dialog, &unit);
    int margin = unit.left, buttonWidth = unit.right, buttonHeight = unit.bottom;
    captionBrush_ = CreateSolidBrush(GetSysColor(COLOR_ACTIVECAPTION));
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, width, height, 0);
    RECT client;
    GetClientRect(dialog, &client);

    int titleHeight = buttonHeight + margin;
    HWND title = Child(dialog, WC_STATICW, (u" " + title_).c_str(), SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX, kTitleId);
    MoveWindow(title, 0, 0, client.right, titleHeight, FALSE);
    int buttonsTop = client.bottom - margin - buttonHeight;
    HWND list = Child(dialog, WC_LISTBOXW, u"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP,
                      kListId);
    MoveWindow(list, margin, titleHeight + margin, client.right - 2 * margin, buttonsTop - titleHeight - 2 * margin,
               FALSE);
    for (const device::PhoneContact& contact : contacts_)
      SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((contact.name + u"  " + contact.mobile).c_str()));
    SendMessageW(list, LB_SETCURSEL, 0, 0);

    int gap = margin * 2;
    int left = (client.right - (2 * buttonWidth + gap)) / 2;
    HWND ok = Child(dialog, WC_BUTTONW, u"确定", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    MoveWindow(ok, left, buttonsTop, buttonWidth, buttonHeight, FALSE);
    HWND cancel = Child(dialog, WC_BUTTONW, u"取消", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    MoveWindow(cancel, left + buttonWidth + gap, buttonsTop, buttonWidth, buttonHeight, FALSE);
    EnableWindow(ok, !contacts_.empty());
    SetForegroundWindow(dialog);
    SetFocus(list);
  }

  void Choose(HWND dialog)
  {
    LRESULT selected = SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0);
    if (selected >= 0 && static_cast<size_t>(selected) < contacts_.size())
      EndDialog(dialog, selected + 1);
  }

  const std::vector<device::PhoneContact>& contacts_;
  std::u16string title_;
  HBRUSH captionBrush_ = nullptr;
};

}  // namespace

HRESULT ChooseContact(LPCHOOSECONTACT lpcc)
{
  if (!lpcc)
    return E_POINTER;
  if (lpcc->cbSize != sizeof(CHOOSECONTACT) || (lpcc->cRequiredProperties > 0 && !lpcc->rgpropidRequiredProperties))
    return E_INVALIDARG;
  const std::vector<device::PhoneContact>& contacts = device::Settings().contacts;
  Chooser chooser(contacts, lpcc->lpstrTitle ? lpcc->lpstrTitle : u"选择联系人");
  // Only a window of this process can be disabled while the chooser shows.
  DWORD ownerProcess = 0;
  HWND owner = lpcc->hwndOwner && GetWindowThreadProcessId(lpcc->hwndOwner, &ownerProcess) &&
                       ownerProcess == GetCurrentProcessId()
                   ? lpcc->hwndOwner
                   : nullptr;
  int chosen = chooser.Run(owner);
  if (chosen < 0)
    return HRESULT_FROM_WIN32(ERROR_CANCELLED);
  const device::PhoneContact& contact = contacts[static_cast<size_t>(chosen)];
  const CEPROPID* required = lpcc->rgpropidRequiredProperties;
  bool wantsMobile =
      required && std::find(required, required + lpcc->cRequiredProperties, PIMPR_MOBILE_TELEPHONE_NUMBER) !=
                      required + lpcc->cRequiredProperties;
  BSTR name = SysAllocStringLen(contact.name.data(), static_cast<UINT>(contact.name.size()));
  BSTR mobile = wantsMobile ? SysAllocStringLen(contact.mobile.data(), static_cast<UINT>(contact.mobile.size())) : nullptr;
  if (!name || (wantsMobile && !mobile)) {
    SysFreeString(name);
    SysFreeString(mobile);
    return E_OUTOFMEMORY;
  }
  lpcc->oidContactID = static_cast<CEOID>(chosen + 1);
  lpcc->bstrContactName = name;
  lpcc->propidSelected = wantsMobile ? PIMPR_MOBILE_TELEPHONE_NUMBER : 0;
  lpcc->bstrPropertyValueSelected = mobile;
  return S_OK;
}
