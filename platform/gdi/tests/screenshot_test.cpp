// A screenshot of a small window tree, written into the build's output for a person to look
// at, and a coarse check of the file.
#include <gtest/gtest.h>

#include <fstream>

#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "windows.h"

using namespace kvtest;

namespace {

// Paints its client area in the colour it is made with, framed in black.
std::optional<LRESULT> PaintIn(COLORREF color, HWND hwnd, UINT message)
{
  if (message != WM_PAINT)
    return std::nullopt;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EndPaint(hwnd, &ps);
  return 0;
}

MessageHandler Painter(COLORREF color)
{
  return [color](HWND hwnd, UINT message, WPARAM, LPARAM) { return PaintIn(color, hwnd, message); };
}

TEST(GdiScreenshot, WindowTreeIsWrittenAsPng)
{
  device::testing::ScopedDeviceRoot root;
  SetScreenSize(240, 320);
  MessageLog log;
  HWND top = CreateRecordingWindow(
      log, {.name = "top", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 240, 320}, .handler = Painter(RGB(230, 230, 240))});
  CreateRecordingWindow(log, {.name = "title", .style = WS_CHILD | WS_VISIBLE, .parent = top, .rect = {0, 0, 240, 26},
                              .handler = Painter(RGB(40, 90, 200))});
  HWND panel = CreateRecordingWindow(log, {.name = "panel", .style = WS_CHILD | WS_VISIBLE, .parent = top,
                                           .rect = {10, 40, 230, 200}, .handler = Painter(RGB(255, 255, 255))});
  CreateRecordingWindow(log, {.name = "field", .style = WS_CHILD | WS_VISIBLE, .parent = panel,
                              .rect = {10, 10, 210, 34}, .handler = Painter(RGB(250, 250, 200))});
  CreateRecordingWindow(log, {.name = "softkeys", .style = WS_CHILD | WS_VISIBLE, .parent = top,
                              .rect = {0, 294, 240, 320}, .handler = Painter(RGB(60, 60, 60))});
  ASSERT_TRUE(RunUntilIdle());
  std::string path = SaveScreenshot("gdi_window_tree");
  ASSERT_FALSE(path.empty());
  std::ifstream file(path, std::ios::binary);
  char signature[8] = {};
  file.read(signature, sizeof signature);
  EXPECT_EQ(std::string(signature, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_FALSE(SaveScreenshot("gdi_panel", panel).empty());
  DestroyThreadWindows();
}

}  // namespace
