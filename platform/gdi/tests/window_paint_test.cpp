// Window device contexts and the paint cycle: clipping by ancestors, siblings and children,
// the order of painting, exposure when windows move, hide or are destroyed, device contexts of
// another thread's window, rotation and the screen's capabilities.
#include <gtest/gtest.h>

#include "internal/gdi/screen.h"
#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "windows.h"

using namespace kvtest;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kTop = WS_POPUP | WS_VISIBLE;

class WindowPaint : public ::testing::Test {
 protected:
  void SetUp() override { SetScreenSize(240, 320); }
  void TearDown() override { DestroyThreadWindows(); }

  // Fills a window's whole client area through GetDC.
  static void FillClient(HWND hwnd, COLORREF color)
  {
    HDC dc = GetDC(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &client, brush);
    DeleteObject(brush);
    ReleaseDC(hwnd, dc);
  }
  static COLORREF ScreenPixel(int x, int y)
  {
    HDC screen = GetDC(nullptr);
    COLORREF color = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return color;
  }
  // A 50x50 window at the screen's corner whose WM_PAINT fills all of its client area red
  // through BeginPaint's DC.
  HWND CreateRedPainter(DWORD style)
  {
    return CreateRecordingWindow(log, {.name = "w",
                                       .style = style,
                                       .rect = {0, 0, 50, 50},
                                       .handler = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                         if (message != WM_PAINT)
                                           return std::nullopt;
                                         PAINTSTRUCT ps;
                                         HDC dc = BeginPaint(hwnd, &ps);
                                         RECT all{0, 0, 50, 50};
                                         HBRUSH brush = CreateSolidBrush(kRed);
                                         FillRect(dc, &all, brush);
                                         DeleteObject(brush);
                                         EndPaint(hwnd, &ps);
                                         return 0;
                                       }});
  }
  int Count(UINT message, const std::string& window) const
  {
    int count = 0;
    for (const auto& m : log.Messages())
      count += m.message == message && m.window == window;
    return count;
  }

  device::testing::ScopedDeviceRoot root;
  MessageLog log;
};

TEST_F(WindowPaint, WindowDcsAreClippedByAncestorsSiblingsAndChildren)
{
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = kTop, .rect = {0, 0, 100, 100}});
  HWND a = CreateRecordingWindow(log, {.name = "a", .style = kChild, .parent = top, .rect = {10, 10, 50, 50}});
  HWND b = CreateRecordingWindow(log, {.name = "b", .style = kChild, .parent = top, .rect = {30, 30, 70, 70}});
  // A grandchild reaching out of its parent a.
  HWND inner = CreateRecordingWindow(log, {.name = "inner", .style = kChild, .parent = a, .rect = {20, 20, 80, 80}});
  FillClient(top, kRed);
  FillClient(a, kGreen);
  FillClient(b, kBlue);
  FillClient(inner, RGB(9, 9, 9));
  struct Probe {
    int x, y;
    COLORREF expected;
    const char* why;
  } probes[] = {
      {5, 5, kRed, "the parent outside its children"},
      {15, 15, kGreen, "a, in front of the parent (children are clipped out of it)"},
      {35, 25, kGreen, "a, above its later sibling b"},
      {60, 60, kBlue, "b outside a"},
      {35, 35, RGB(9, 9, 9), "inner, inside a"},
      {55, 55, kBlue, "inner is clipped by its parent a"},
      {90, 90, kRed, "the parent again"},
  };
  for (const Probe& p : probes)
    EXPECT_EQ(ScreenPixel(p.x, p.y), p.expected) << p.why;
  // The whole-window DC of the parent is clipped the same way, at the window's corner.
  HDC windowDc = GetWindowDC(top);
  EXPECT_EQ(GetPixel(windowDc, 15, 15), CLR_INVALID);
  EXPECT_EQ(GetPixel(windowDc, 5, 5), kRed);
  ReleaseDC(top, windowDc);
  EXPECT_TRUE(b);
}

TEST_F(WindowPaint, TopLevelWindowsAboveClipThoseBelow)
{
  HWND below = CreateRecordingWindow(log, {.name = "below", .style = kTop, .rect = {0, 0, 100, 100}});
  HWND above = CreateRecordingWindow(log, {.name = "above", .style = kTop, .rect = {50, 50, 150, 150}});
  FillClient(above, kBlue);
  FillClient(below, kRed);
  EXPECT_EQ(ScreenPixel(10, 10), kRed);
  EXPECT_EQ(ScreenPixel(60, 60), kBlue);
  // Once the upper window is hidden, the lower one draws there.
  ShowWindow(above, SW_HIDE);
  FillClient(below, kRed);
  EXPECT_EQ(ScreenPixel(60, 60), kRed);
}

TEST_F(WindowPaint, EraseComesInsideBeginPaintAndPaintingValidates)
{
  HWND w = CreateRecordingWindow(log, {.name = "w", .style = kTop, .rect = {0, 0, 50, 50}});
  log.Clear();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ("", log.Mismatch({{"w", WM_PAINT, posted}, {"w", WM_ERASEBKGND, sent | defwinproc}}, "first paint"));
  EXPECT_EQ(1, Count(WM_PAINT, "w"));
  log.Clear();
  RECT part{5, 5, 10, 10};
  InvalidateRect(w, &part, FALSE);
  RECT update;
  EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
  EXPECT_EQ(update.left, 5);
  EXPECT_EQ(update.bottom, 10);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(1, Count(WM_PAINT, "w"));
  EXPECT_EQ(0, Count(WM_ERASEBKGND, "w"));  // no erase asked
  EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
  // ValidateRect takes the paint back.
  log.Clear();
  InvalidateRect(w, nullptr, TRUE);
  ValidateRect(w, nullptr);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(0, Count(WM_PAINT, "w"));
}

TEST_F(WindowPaint, APaintHandlerThatDoesNotValidateIsNotAskedAgain)
{
  HWND w = CreateRecordingWindow(log, {.name = "w",
                                       .style = kTop,
                                       .rect = {0, 0, 50, 50},
                                       .handler = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
                                         if (message == WM_PAINT)
                                           return 0;  // neither BeginPaint nor ValidateRect
                                         return std::nullopt;
                                       }});
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(1, Count(WM_PAINT, "w"));
  RECT update;
  EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
}

TEST_F(WindowPaint, BeginPaintClipsToTheUpdateRegion)
{
  HWND w = CreateRedPainter(kTop);
  ASSERT_TRUE(RunUntilIdle());
  FillClient(w, kBlue);
  RECT part{10, 10, 20, 20};
  InvalidateRect(w, &part, FALSE);
  UpdateWindow(w);  // paints at once
  EXPECT_EQ(ScreenPixel(15, 15), kRed);
  EXPECT_EQ(ScreenPixel(25, 25), kBlue);
}

TEST_F(WindowPaint, TheFrameIsPaintedWithTheFirstPaintAndAPaintWithNothingInvalidDrawsNothing)
{
  HWND w = CreateRedPainter(kTop | WS_BORDER);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(ScreenPixel(0, 0), GetSysColor(COLOR_WINDOWFRAME));  // the border, painted with the first paint
  FillClient(w, kBlue);
  SendMessageW(w, WM_PAINT, 0, 0);
  EXPECT_EQ(ScreenPixel(1, 1), kBlue);
  InvalidateRect(w, nullptr, FALSE);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(ScreenPixel(1, 1), kRed);
  EXPECT_EQ(ScreenPixel(48, 48), kRed);
}

TEST_F(WindowPaint, WindowsBelowAreExposedWhenAWindowMovesHidesOrIsDestroyed)
{
  HWND below = CreateRecordingWindow(log, {.name = "below", .style = kTop, .rect = {0, 0, 100, 100}});
  HWND above = CreateRecordingWindow(log, {.name = "above", .style = kTop, .rect = {20, 20, 60, 60}});
  ASSERT_TRUE(RunUntilIdle());
  struct Step {
    const char* what;
    std::function<void()> act;
  } steps[] = {
      {"move", [&] { MoveWindow(above, 50, 50, 40, 40, TRUE); }},
      {"hide", [&] { ShowWindow(above, SW_HIDE); }},
      {"show and destroy",
       [&] {
         ShowWindow(above, SW_SHOWNA);
         RunUntilIdle();
         DestroyWindow(above);
       }},
  };
  for (const Step& step : steps) {
    RECT update{};
    step.act();
    EXPECT_TRUE(GetUpdateRect(below, &update, FALSE)) << step.what;
    EXPECT_LE(update.left, 50) << step.what;
    EXPECT_GE(update.right, 60) << step.what;
    log.Clear();
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(1, Count(WM_PAINT, "below")) << step.what;
    EXPECT_EQ(1, Count(WM_ERASEBKGND, "below")) << step.what;
  }
}

TEST_F(WindowPaint, GetDcOfAnotherThreadsWindowMeetsTheSamePixels)
{
  UiThread thread;
  HWND w = nullptr;
  thread.Invoke([&] { w = CreateRecordingWindow(log, {.name = "w", .style = kTop, .rect = {0, 0, 40, 40}}); });
  ASSERT_TRUE(RunUntilIdle());
  HDC dc = GetDC(w);
  ASSERT_TRUE(dc);
  EXPECT_EQ(SetPixel(dc, 3, 4, kGreen), kGreen);
  ReleaseDC(w, dc);
  COLORREF seen = 0;
  thread.Invoke([&] {
    HDC own = GetDC(w);
    seen = GetPixel(own, 3, 4);
    ReleaseDC(w, own);
  });
  EXPECT_EQ(seen, kGreen);
  thread.Invoke([&] { DestroyWindow(w); });
}

TEST_F(WindowPaint, RotationSwapsTheMetricsRepaintsAndTellsTopLevelWindows)
{
  SetScreenSize(480, 640);
  HWND top = CreateRecordingWindow(log, {.name = "top", .style = kTop, .rect = {0, 0, 480, 640}});
  CreateRecordingWindow(log, {.name = "child", .style = kChild, .parent = top, .rect = {0, 0, 10, 10}});
  ASSERT_TRUE(RunUntilIdle());
  log.Clear();
  gdi_screen::Rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 640);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 480);
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  ASSERT_TRUE(EnumDisplaySettings(nullptr, ENUM_CURRENT_SETTINGS, &mode));
  EXPECT_EQ(mode.dmPelsWidth, 480u);  // the native mode stays
  EXPECT_EQ(mode.dmPelsHeight, 640u);
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_FALSE(log.Messages().empty());
  EXPECT_EQ(log.Messages()[0].message, static_cast<UINT>(WM_SETTINGCHANGE));
  EXPECT_EQ(log.Messages()[0].wParam, 0x3002u);
  EXPECT_EQ(1, Count(WM_SETTINGCHANGE, "top"));
  EXPECT_EQ(1, Count(WM_ERASEBKGND, "top"));
  EXPECT_EQ(1, Count(WM_ERASEBKGND, "child"));
  EXPECT_EQ(0, Count(WM_SETTINGCHANGE, "child"));
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 640);
  ReleaseDC(nullptr, screen);
  gdi_screen::Rotate();
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 480);
}

TEST_F(WindowPaint, DeviceCapsFollowTheScreen)
{
  struct Case {
    int width, height, dpi;
  } cases[] = {{240, 320, 96}, {320, 240, 96}, {480, 640, 192}, {640, 480, 192}};
  for (const Case& c : cases) {
    SetScreenSize(c.width, c.height);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), c.dpi) << c.width;
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSY), c.dpi) << c.width;
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), c.width);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), c.height);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 32);
    ReleaseDC(nullptr, screen);
  }
  SetScreenSize(480, 640);
  struct Metric {
    int index, value;
  } metrics[] = {{SM_CXVSCROLL, 26}, {SM_CYHSCROLL, 26}, {SM_CYCAPTION, 52}, {SM_CXBORDER, 1},
                 {SM_CXEDGE, 4},     {SM_CYEDGE, 4},     {SM_CYMENU, 52}};
  for (const Metric& m : metrics)
    EXPECT_EQ(GetSystemMetrics(m.index), m.value) << m.index;
}

}  // namespace
