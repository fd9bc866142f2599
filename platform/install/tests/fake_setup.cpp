// A setup library for the installer's tests. Each hook appends a line to "\Temp\FakeSetup.log":
//   Install_Init first=1 previous=0 folder=\Program Files\FakeApp version=none
//   Install_Exit folder=\Program Files\FakeApp version=1
//   Uninstall_Init folder=\Program Files\FakeApp version=1
//   Uninstall_Exit version=none
// where version is the text of "\Program Files\FakeApp\version.txt" at that moment ("none" when
// it is missing), so the log shows which files were in place when each hook ran.
//
// What a hook answers is the DWORD named like it under HKEY_LOCAL_MACHINE\Software\FakeSetup
// (0 when missing). With "Ask" = 1 there, Install_Init first shows a dialog titled "协议" with the
// default button 1001 "接受" and the button 2 "拒绝", then a Yes/No box, and goes on only for
// 1001 and Yes; its line then ends with " dialog=<result> box=<result>".
#include <string>

#include "install/setup.h"
#include "internal/user/dialog_template_writer.h"
#include "windows.h"

#define SETUP_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr char16_t kVersionFile[] = u"\\Program Files\\FakeApp\\version.txt";

std::string Narrow(const std::u16string& text)
{
  int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), narrow.data(), size, nullptr, nullptr);
  return narrow;
}

std::string Version()
{
  HANDLE file = CreateFileW(kVersionFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return "none";
  char text[16] = {};
  DWORD read = 0;
  ReadFile(file, text, sizeof text - 1, &read, nullptr);
  CloseHandle(file);
  std::string version(text, read);
  while (!version.empty() && (version.back() == '\n' || version.back() == '\r'))
    version.pop_back();
  return version;
}

void Log(const std::string& line)
{
  CreateDirectoryW(u"\\Temp", nullptr);
  HANDLE file = CreateFileW(u"\\Temp\\FakeSetup.log", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  SetFilePointer(file, 0, nullptr, FILE_END);
  std::string text = line + " version=" + Version() + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

DWORD Setting(const char16_t* name)
{
  HKEY key = nullptr;
  DWORD value = 0, size = sizeof value;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\FakeSetup", 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
  }
  return value;
}

INT_PTR AgreementProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
  if (message == WM_INITDIALOG)
    return TRUE;
  if (message == WM_COMMAND && (LOWORD(wParam) == 1001 || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

INT_PTR ShowAgreement(HWND owner)
{
  using user_dialog::DialogItemSpec;
  using user_dialog::TemplateName;
  user_dialog::DialogSpec spec;
  spec.style = WS_POPUP | WS_VISIBLE;
  spec.cx = 120;
  spec.cy = 80;
  spec.title = u"协议";
  spec.pointSize = 9;
  spec.faceName = u"宋体";
  spec.items = {
      {TemplateName::Ordinal(DLG_CLASS_BUTTON), TemplateName::Text(u"接受"), 1001, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 5, 50, 50, 14, {}},
      {TemplateName::Ordinal(DLG_CLASS_BUTTON), TemplateName::Text(u"拒绝"), IDCANCEL, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 65, 50, 50, 14, {}},
  };
  std::vector<BYTE> bytes = user_dialog::BuildDialogTemplate(spec);
  return DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), owner, AgreementProc, 0);
}

}  // namespace

SETUP_EXPORT codeINSTALL_INIT Install_Init(HWND hwndParent, BOOL fFirstCall, BOOL fPreviouslyInstalled,
                                           LPCWSTR pszInstallDir)
{
  std::string line = "Install_Init first=" + std::to_string(fFirstCall) + " previous=" +
                     std::to_string(fPreviouslyInstalled) + " folder=" + Narrow(pszInstallDir);
  auto answer = static_cast<codeINSTALL_INIT>(Setting(u"Install_Init"));
  if (Setting(u"Ask") == 1) {
    INT_PTR dialog = ShowAgreement(hwndParent);
    int box = MessageBoxW(hwndParent, u"继续安装吗？", u"FakeApp", MB_YESNO | MB_ICONQUESTION);
    line += " dialog=" + std::to_string(dialog) + " box=" + std::to_string(box);
    if (dialog != 1001 || box != IDYES)
      answer = codeINSTALL_INIT_CANCEL;
  }
  Log(line);
  return answer;
}

SETUP_EXPORT codeINSTALL_EXIT Install_Exit(HWND, LPCWSTR pszInstallDir, WORD, WORD, WORD, WORD, WORD)
{
  Log("Install_Exit folder=" + Narrow(pszInstallDir));
  return static_cast<codeINSTALL_EXIT>(Setting(u"Install_Exit"));
}

SETUP_EXPORT codeUNINSTALL_INIT Uninstall_Init(HWND, LPCWSTR pszInstallDir)
{
  Log("Uninstall_Init folder=" + Narrow(pszInstallDir));
  return static_cast<codeUNINSTALL_INIT>(Setting(u"Uninstall_Init"));
}

SETUP_EXPORT codeUNINSTALL_EXIT Uninstall_Exit(HWND)
{
  Log("Uninstall_Exit");
  return codeUNINSTALL_EXIT_DONE;
}
