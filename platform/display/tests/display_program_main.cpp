// A device program for the display's tests: it shows a window of a system class, lets it
// paint, and ends at once, while the desktop window may still be drawing the screen.
#include "kernel/entry.h"
#include "windows.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
  HWND window = CreateWindowExW(0, u"STATIC", u"显示测试", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                nullptr, nullptr);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&msg);
  if (!window)
    return 1;
  DestroyWindow(window);
  return 0;
}
