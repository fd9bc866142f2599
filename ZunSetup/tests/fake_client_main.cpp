// A stand-in for a running client, for the setup hooks' tests; installed as "KorvexPortal.exe".
//   KorvexPortal.exe <window> <answer>
// window: login   the login dialog (class "Dialog", titled "用户登录")
//         main    the main window of a logged-in client (titled "KorvexPortal")
//         orderpay an order-pay copy: a window titled "订单支付" only
// answer: obey    ends when asked with WM_COMMAND 0x8007 and lParam -1
//         ignore  stays
// Each command it receives is appended to "\Temp\FakeClient.log" as "<window> command <id> <lParam>".
#include <string>

#include "internal/user/dialog_template_writer.h"
#include "kernel/entry.h"
#include "windows.h"

namespace {

std::u16string g_window;
bool g_obey = false;

void Log(WPARAM wParam, LPARAM lParam)
{
  std::string line = std::string(g_window.begin(), g_window.end()) + " command " + std::to_string(LOWORD(wParam)) +
                     " " + std::to_string(static_cast<int>(lParam)) + "\n";
  HANDLE file = CreateFileW(u"\\Temp\\FakeClient.log", GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

bool OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
  if (HIWORD(wParam) != 0 || LOWORD(wParam) < 0x8000)
    return false;
  Log(wParam, lParam);
  if (g_obey && LOWORD(wParam) == 0x8007 && static_cast<int>(lParam) == -1) {
    DestroyWindow(window);
    PostQuitMessage(0);
  }
  return true;
}

INT_PTR LoginProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_INITDIALOG)
    return TRUE;
  return message == WM_COMMAND && OnCommand(dialog, wParam, lParam);
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_COMMAND && OnCommand(window, wParam, lParam))
    return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateLoginDialog()
{
  user_dialog::DialogSpec spec;
  spec.style = WS_POPUP | WS_VISIBLE;
  spec.cx = 120;
  spec.cy = 80;
  spec.title = u"用户登录";
  spec.pointSize = 9;
  spec.faceName = u"宋体";
  std::vector<BYTE> bytes = user_dialog::BuildDialogTemplate(spec);
  return CreateDialogIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), nullptr, LoginProc, 0);
}

HWND CreatePlainWindow(const char16_t* title)
{
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.lpszClassName = u"FakeClientWindow";
  RegisterClassW(&windowClass);
  return CreateWindowExW(0, u"FakeClientWindow", title, WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                         nullptr, nullptr);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int)
{
  std::u16string line = commandLine;
  size_t blank = line.find(u' ');
  g_window = line.substr(0, blank);
  g_obey = blank != std::u16string::npos && line.substr(blank + 1) == u"obey";
  HWND window = g_window == u"login" ? CreateLoginDialog()
                : g_window == u"main" ? CreatePlainWindow(u"KorvexPortal")
                                      : CreatePlainWindow(u"订单支付");
  if (!window)
    return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
