// Another process of the device for the cross-process tests: shows a top-level window of
// class "KvPeer" with the title given, answers WM_COPYDATA, records the keys and characters it
// gets, and on WM_COMMAND writes what it saw to the result file and ends.
//   window_peer <title> <result file>
#include <cstdio>
#include <string>

#include "windows.h"

namespace {

std::string g_seen;
std::string g_resultPath;

std::string Narrow(const char16_t* text, size_t length)
{
  std::string out;
  for (size_t i = 0; i < length; ++i)
    out += text[i] < 0x80 ? static_cast<char>(text[i]) : '?';
  return out;
}

LRESULT PeerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_COPYDATA: {
    auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    g_seen += "copydata " + std::to_string(copy->dwData) + " " +
              Narrow(static_cast<const char16_t*>(copy->lpData), copy->cbData / 2 - 1) + "\n";
    // Call the sender back while it waits for this answer.
    LRESULT back = SendMessageW(reinterpret_cast<HWND>(wParam), WM_USER + 1, 5, 0);
    g_seen += "sender answered " + std::to_string(back) + "\n";
    return static_cast<LRESULT>(copy->cbData);
  }
  case WM_KEYDOWN:
    if (wParam != VK_PACKET)
      g_seen += "key " + std::to_string(wParam) + "\n";
    break;
  case WM_CHAR: {
    char16_t character = static_cast<char16_t>(wParam);
    g_seen += "char " + Narrow(&character, 1) + "\n";
    return 0;
  }
  case WM_ACTIVATE:
    if (LOWORD(wParam) != WA_INACTIVE)
      g_seen += "activated\n";
    break;
  case WM_COMMAND: {
    g_seen += "command " + std::to_string(LOWORD(wParam)) + "\n";
    g_seen += std::string("foreground ") + (GetForegroundWindow() == hwnd ? "yes" : "no") + "\n";
    if (FILE* file = std::fopen(g_resultPath.c_str(), "w")) {
      std::fputs(g_seen.c_str(), file);
      std::fclose(file);
    }
    DestroyWindow(hwnd);
    PostQuitMessage(0);
    return 0;
  }
  default:
    break;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv)
{
  if (argc != 3)
    return 2;
  g_resultPath = argv[2];
  std::u16string title(argv[1], argv[1] + std::char_traits<char>::length(argv[1]));
  WNDCLASSW wc{};
  wc.lpfnWndProc = PeerProc;
  wc.lpszClassName = u"KvPeer";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, u"KvPeer", title.c_str(), WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  if (!hwnd)
    return 3;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
