// A full redraw of a busy dialog-like window tree on a 480x640 screen: a skinned background,
// a title bar, forty controls that paint a pattern background, a stretched skin, a keyed icon,
// a line of Chinese text and a frame, and two soft-key buttons; and a 1:1 full-screen BitBlt.
// Both beside a memcpy of the frame. Goals: the redraw under 1.5 ms, the BitBlt within 3x the
// memcpy.
#include "goal_report.h"
#include "internal/user/test_hooks.h"
#include "testing/device_root.h"
#include "windows.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// Bitmaps the controls draw from: a 16x16 skin, an icon with a white key colour.
struct Skins {
  HBITMAP skin;
  HBITMAP icon;
  HBRUSH pattern;
  Skins()
  {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    skin = CreateCompatibleBitmap(screen, 16, 16);
    icon = CreateCompatibleBitmap(screen, 24, 24);
    HGDIOBJ old = SelectObject(dc, skin);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        SetPixel(dc, x, y, RGB(200 - y * 4, 220 - y * 2, 255));
    SelectObject(dc, icon);
    RECT all{0, 0, 24, 24};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    RECT dot{4, 4, 20, 20};
    FillRect(dc, &dot, static_cast<HBRUSH>(GetStockObject(DKGRAY_BRUSH)));
    SelectObject(dc, old);
    pattern = CreatePatternBrush(skin);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
  }
};

Skins* g_skins = nullptr;

LRESULT ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_ERASEBKGND)
    return 1;
  if (message != WM_PAINT)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, g_skins->pattern);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, g_skins->skin);
  StretchBlt(dc, 2, 2, client.right / 2, client.bottom - 4, memory, 0, 0, 16, 16, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  TransparentImage(dc, client.right - 30, (client.bottom - 24) / 2, 24, 24, g_skins->icon, 0, 0, 24, 24,
                   RGB(255, 255, 255));
  RECT text{client.left + 6, client.top, client.right - 34, client.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(20, 20, 60));
  DrawTextW(dc, u"账户余额 1,234.56 元", -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  if (GetFocus() == hwnd)
    DrawFocusRect(dc, &client);
  EndPaint(hwnd, &ps);
  return 0;
}

void RegisterClasses()
{
  static bool done = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = u"BenchDialog";
    RegisterClassW(&wc);
    wc.lpfnWndProc = ControlProc;
    wc.hbrBackground = nullptr;
    wc.lpszClassName = u"BenchControl";
    RegisterClassW(&wc);
    return true;
  }();
  (void)done;
}

void PumpUntilPainted()
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
    DispatchMessageW(&msg);
}

void FullRedraw480x640(benchmark::State& state)
{
  device::testing::ScopedDeviceRoot root;
  user_test::SetScreenSize(480, 640);
  Skins skins;
  g_skins = &skins;
  RegisterClasses();
  HWND dialog = CreateWindowExW(0, u"BenchDialog", u"", WS_POPUP | WS_VISIBLE, 0, 0, 480, 640, nullptr, nullptr,
                                nullptr, nullptr);
  auto control = [&](int x, int y, int w, int h) {
    CreateWindowExW(0, u"BenchControl", u"", WS_CHILD | WS_VISIBLE, x, y, w, h, dialog, nullptr, nullptr, nullptr);
  };
  control(0, 0, 480, 52);  // title bar
  for (int row = 0; row < 20; ++row)
    for (int column = 0; column < 2; ++column)
      control(8 + column * 236, 60 + row * 26, 228, 24);
  control(0, 588, 240, 52);  // soft keys
  control(240, 588, 240, 52);
  PumpUntilPainted();
  for (auto _ : state) {
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    PumpUntilPainted();
  }
  DestroyWindow(dialog);
  DeleteObject(skins.pattern);
  DeleteObject(skins.skin);
  DeleteObject(skins.icon);
}
BENCHMARK(FullRedraw480x640)->Unit(benchmark::kMillisecond);

constexpr int kFrameWidth = 480, kFrameHeight = 640;

void MemcpyFrame(benchmark::State& state)
{
  std::vector<uint32_t> from(kFrameWidth * kFrameHeight, 0x00336699), to(from.size());
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), from.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(MemcpyFrame)->Unit(benchmark::kMillisecond);

// A full-screen memory bitmap copied 1:1 onto the screen.
void BitBltFullScreen(benchmark::State& state)
{
  device::testing::ScopedDeviceRoot root;
  user_test::SetScreenSize(kFrameWidth, kFrameHeight);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP frame = CreateCompatibleBitmap(screen, kFrameWidth, kFrameHeight);
  HGDIOBJ old = SelectObject(memory, frame);
  RECT all{0, 0, kFrameWidth, kFrameHeight};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
  for (auto _ : state)
    benchmark::DoNotOptimize(BitBlt(screen, 0, 0, kFrameWidth, kFrameHeight, memory, 0, 0, SRCCOPY));
  SelectObject(memory, old);
  DeleteObject(frame);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}
BENCHMARK(BitBltFullScreen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
  return goal_report::Run(argc, argv,
                          {{"full redraw 480x640 (vs memcpy of frame)", "FullRedraw480x640", "MemcpyFrame", 0, 1.5},
                           {"1:1 full-screen BitBlt vs memcpy of frame", "BitBltFullScreen", "MemcpyFrame", 3, 0}});
}
