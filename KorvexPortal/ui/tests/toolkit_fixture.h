// The fixture of the toolkit's control tests: a device root, the application object, and a
// shown full-screen parent that reflects its children's notifications back to them, as the
// dialogs do. Helpers make skin bitmaps and read what a brush paints.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app_services.h"
#include "atl/atl.h"
#include "testing/canvas.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "windows.h"

namespace kvtest {

class ReflectingParent : public CWindowImpl<ReflectingParent, CWindow, CWinTraits<WS_POPUP | WS_VISIBLE>> {
 public:
  BEGIN_MSG_MAP(ReflectingParent)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()
};

// A bitmap whose pixel (x, y) is RGB(x, y, 128), so a copy shows where it was cut from.
inline HBITMAP MakeGradientBitmap(int width, int height)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      SetPixel(dc, x, y, RGB(x, y, 128));
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

// A rectangle's edges as one comparable, printable value.
inline std::tuple<LONG, LONG, LONG, LONG> Edges(const RECT& r)
{
  return {r.left, r.top, r.right, r.bottom};
}

class ToolkitTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(parent.Create(nullptr, RECT{0, 0, 240, 320})); }
  void TearDown() override { DestroyThreadWindows(); }

  HWND MakeStatic(LPCWSTR text, RECT rect, int id = 100, DWORD style = SS_LEFT)
  {
    return CreateWindowExW(0, WC_STATICW, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                           rect.right - rect.left, rect.bottom - rect.top, parent,
                           reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
  }

  // What the brush paints over a canvas of the size.
  static void PaintBrush(Canvas& canvas, HBRUSH brush)
  {
    RECT all{0, 0, canvas.width, canvas.height};
    FillRect(canvas.dc, &all, brush);
  }

  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  ReflectingParent parent;
};

}  // namespace kvtest
