// The floor of the client's start: a device program of the same layer that shows one blank
// full-screen window with a line of text and ends once it has painted. Run like the start
// probe (its command line: the moment the benchmark started it, in nanoseconds on the monotonic
// clock), it prints when the window had painted, in milliseconds since then, and the CPU time
// the process had used by that moment.
#include <cstdio>

#include "kernel/entry.h"
#include "probe_clock.h"
#include "windows.h"

namespace {

LRESULT CALLBACK BlankProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message != WM_PAINT)
    return DefWindowProcW(window, message, wParam, lParam);
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  DrawTextW(dc, u"空白窗口", -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  EndPaint(window, &paint);
  return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
  long long started = 0;
  for (const WCHAR* digit = commandLine; digit && *digit >= u'0' && *digit <= u'9'; ++digit)
    started = started * 10 + (*digit - u'0');
  if (started <= 0)
    started = clientbench::MonotonicNanoseconds();
  WNDCLASSW blankClass{};
  blankClass.lpfnWndProc = BlankProc;
  blankClass.hInstance = instance;
  blankClass.lpszClassName = u"BlankWindow";
  if (!RegisterClassW(&blankClass))
    return 1;
  HWND window = CreateWindowExW(0, u"BlankWindow", u"空白窗口", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                instance, nullptr);
  if (!window)
    return 1;
  UpdateWindow(window);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&msg);
  std::printf("shown %.1f\n", (clientbench::MonotonicNanoseconds() - started) / 1e6);
  std::printf("shown-cpu %.1f\n", clientbench::ProcessCpuMilliseconds());
  std::fflush(stdout);
  DestroyWindow(window);
  return 0;
}
