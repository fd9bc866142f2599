#include "agreement_dlg.h"

#include <vector>

#include "windows.h"
#include "zunsetup_ids.h"

namespace zunsetup {
namespace {

// The shell's menu OK and Cancel, which end the dialog as OK and Cancel do.
constexpr WORD kShellMenuOk = 0xE790;
constexpr WORD kShellMenuCancel = 0xE791;
// Space between the agreement and the buttons, and between each button and the screen's centre.
constexpr int kButtonGap = 10;
constexpr int kCentreGap = 20;

constexpr WCHAR kLibraryFile[] = u"ZunSetup.dll";
constexpr WCHAR kResourceLibrary[] = u"ZunSetupRes.dll";

// The resource library beside this library (also while the installer runs it from its staging
// folder), else where the device looks for libraries.
HMODULE LoadResourceLibrary()
{
  WCHAR path[MAX_PATH] = {};
  HMODULE self = GetModuleHandleW(kLibraryFile);
  DWORD length = self != nullptr ? GetModuleFileNameW(self, path, MAX_PATH) : 0;
  if (length > 0 && length < MAX_PATH) {
    WCHAR* slash = wcsrchr(path, u'\\');
    size_t folderLength = slash != nullptr ? static_cast<size_t>(slash - path) + 1 : 0;
    if (folderLength + wcslen(kResourceLibrary) < MAX_PATH) {
      wcscpy(path + folderLength, kResourceLibrary);
      if (HMODULE library = LoadLibraryW(path)) {
        return library;
      }
    }
  }
  return LoadLibraryW(kResourceLibrary);
}

// The agreement fills the screen's width and three quarters of its height (five eighths when
// the screen is not upright); the buttons keep their size, 10 pixels below it, either side of
// the centre.
void Layout(HWND dialog)
{
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  int textHeight = height > width ? height * 3 / 4 : height * 5 / 8;
  MoveWindow(GetDlgItem(dialog, IDC_AGREEMENT_TEXT), 0, 0, width, textHeight, TRUE);
  int centre = width / 2;
  for (int id : {IDC_AGREEMENT_ACCEPT, IDC_AGREEMENT_DECLINE}) {
    HWND button = GetDlgItem(dialog, id);
    RECT rect = {};
    GetWindowRect(button, &rect);
    int buttonWidth = rect.right - rect.left;
    int x = id == IDC_AGREEMENT_ACCEPT ? centre - kCentreGap - buttonWidth : centre + kCentreGap;
    MoveWindow(button, x, textHeight + kButtonGap, buttonWidth, rect.bottom - rect.top, TRUE);
  }
}

void ShowText(HWND dialog, HINSTANCE resources)
{
  const WCHAR* text = nullptr;
  int length = LoadStringW(resources, IDS_AGREEMENT_TEXT, reinterpret_cast<LPWSTR>(&text), 0);
  std::vector<WCHAR> terminated(text, text + (text != nullptr ? length : 0));
  terminated.push_back(u'\0');
  SetDlgItemTextW(dialog, IDC_AGREEMENT_TEXT, terminated.data());
  // The agreement is read from its first line.
  HWND box = GetDlgItem(dialog, IDC_AGREEMENT_TEXT);
  SendMessageW(box, EM_SETSEL, 0, 0);
  SendMessageW(box, EM_SCROLLCARET, 0, 0);
}

INT_PTR AgreementProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_INITDIALOG: {
    // Down to the screen's bottom: the dialog has its own buttons and no soft keys.
    SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, SHIDIF_FULLSCREENNOMENUBAR | SHIDIF_SIPDOWN};
    SHInitDialog(&info);
    SHFullScreen(dialog, SHFS_HIDESIPBUTTON);
    Layout(dialog);
    ShowText(dialog, reinterpret_cast<HINSTANCE>(lParam));
    // The focus starts on "接受", not in the text, which would show it all selected.
    SetFocus(GetDlgItem(dialog, IDC_AGREEMENT_ACCEPT));
    return FALSE;
  }
  case WM_SIZE:
  case WM_SETTINGCHANGE:
    Layout(dialog);
    return FALSE;

  case WM_COMMAND:
    switch (LOWORD(wParam)) {
    case IDC_AGREEMENT_ACCEPT:
    case IDC_AGREEMENT_DECLINE:
    case IDOK:
      EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    case kShellMenuOk:
      EndDialog(dialog, IDOK);
      return TRUE;
    case kShellMenuCancel:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
    }
  default:
    return FALSE;
  }
}

}  // namespace

INT_PTR ShowAgreement(HWND owner)
{
  HMODULE resources = LoadResourceLibrary();
  if (resources == nullptr) {
    return -1;
  }
  INT_PTR result = DialogBoxParamW(resources, MAKEINTRESOURCEW(IDD_AGREEMENT), owner, AgreementProc,
                                   reinterpret_cast<LPARAM>(resources));
  FreeLibrary(resources);
  return result;
}

}  // namespace zunsetup
