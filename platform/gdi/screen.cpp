// The screen: the process's surface, its density, device capabilities, system colours and
// rotation.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "base/errors.h"
#include "base/lasterror.h"
#include "internal/gdi/screen.h"
#include "internal/user/paint_link.h"
#include "internal/user/screen_link.h"
#include "objects_internal.h"
#include "user/user.h"

namespace gdi_detail {

namespace {

std::atomic<uint64_t> g_version{1};
std::shared_ptr<Bitmap>* g_screen = nullptr;  // guarded by the drawing lock

}  // namespace

int ScreenDpi()
{
  int shortSide = std::min(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return 96 * std::max(1, shortSide / 240);
}

std::shared_ptr<Bitmap> ScreenBitmap(Lock& held)
{
  if (!g_screen)
    g_screen = new std::shared_ptr<Bitmap>;
  int width = std::max(1, GetSystemMetrics(SM_CXSCREEN));
  int height = std::max(1, GetSystemMetrics(SM_CYSCREEN));
  auto& screen = *g_screen;
  if (!screen || screen->surface.width != width || screen->surface.height != height) {
    (void)held;
    screen = std::make_shared<Bitmap>();
    screen->surface.Allocate(width, height);
  }
  return screen;
}

void ReplaceScreenBitmap(Lock& held)
{
  if (g_screen)
    g_screen->reset();
  ScreenBitmap(held);
}

uint64_t GeometryVersion()
{
  return g_version.load();
}

void BumpGeometryVersion()
{
  g_version++;
}

}  // namespace gdi_detail

using namespace gdi_detail;

int GetDeviceCaps(HDC dc, int index)
{
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  {
    Lock held(GdiLock());
    auto context = LookupAs<DeviceContext>(held, dc);
    if (!context) {
      SetLastError(ERROR_INVALID_HANDLE);
      return 0;
    }
    if (context->memory) {
      if (auto bitmap = LookupAs<Bitmap>(held, context->state.bitmap)) {
        width = bitmap->surface.width;
        height = bitmap->surface.height;
      }
    }
  }
  int dpi = ScreenDpi();
  switch (index) {
  case HORZRES: return width;
  case VERTRES: return height;
  case HORZSIZE: return width * 254 / (dpi * 10);
  case VERTSIZE: return height * 254 / (dpi * 10);
  case BITSPIXEL: return 32;
  case PLANES: return 1;
  case NUMCOLORS: return -1;
  case RASTERCAPS: return RC_BITBLT | RC_STRETCHBLT;
  case LOGPIXELSX:
  case LOGPIXELSY: return dpi;
  default: return 0;
  }
}

namespace {

// The device's colour scheme.
const COLORREF kSystemColors[] = {
    RGB(200, 200, 200),  // COLOR_SCROLLBAR
    RGB(0, 0, 128),      // COLOR_BACKGROUND
    RGB(0, 0, 128),      // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(255, 255, 255),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(0, 0, 128),      // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(192, 192, 192),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(192, 192, 192),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(223, 223, 223),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(255, 255, 255),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
};
constexpr int kSystemColorCount = static_cast<int>(sizeof kSystemColors / sizeof kSystemColors[0]);

}  // namespace

DWORD GetSysColor(int index)
{
  index &= ~0x40000000;  // the device's marker for system colour indexes
  return index >= 0 && index < kSystemColorCount ? kSystemColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index)
{
  index &= ~0x40000000;
  if (index < 0 || index >= kSystemColorCount)
    return nullptr;
  static HGDIOBJ brushes[kSystemColorCount] = {};
  Lock held(GdiLock());
  if (!brushes[index]) {
    auto brush = MakeBrush(BS_SOLID, kSystemColors[index]);
    brush->stock = true;
    brushes[index] = Insert(held, brush);
  }
  return static_cast<HBRUSH>(brushes[index]);
}

gdi_screen::Image gdi_screen::CaptureScreen()
{
  Lock held(GdiLock());
  auto screen = ScreenBitmap(held);
  Image image;
  image.width = screen->surface.width;
  image.height = screen->surface.height;
  image.pixels.resize(static_cast<size_t>(image.width) * static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y)
    std::memcpy(&image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width)], screen->surface.Row(y),
                static_cast<size_t>(image.width) * 4);
  return image;
}

bool gdi_screen::CaptureWindow(HWND hwnd, Image* image)
{
  RECT rect;
  if (!image || !GetWindowRect(hwnd, &rect))
    return false;
  Image whole = CaptureScreen();
  RECT area = Intersection(rect, RECT{0, 0, whole.width, whole.height});
  image->width = area.right - area.left;
  image->height = area.bottom - area.top;
  image->pixels.assign(static_cast<size_t>(image->width) * static_cast<size_t>(image->height), 0);
  for (int y = 0; y < image->height; ++y)
    std::memcpy(&image->pixels[static_cast<size_t>(y) * static_cast<size_t>(image->width)],
                &whole.pixels[static_cast<size_t>(area.top + y) * static_cast<size_t>(whole.width) +
                              static_cast<size_t>(area.left)],
                static_cast<size_t>(image->width) * 4);
  return true;
}

void gdi_screen::Rotate()
{
  user_screen::SetRotated(!user_screen::Rotated());
  {
    Lock held(GdiLock());
    ReplaceScreenBitmap(held);
  }
  BumpGeometryVersion();
  InvalidateRect(nullptr, nullptr, TRUE);
  constexpr WPARAM kOrientationChanged = 0x3002;
  for (HWND hwnd : user_paint::WindowsOfProcess())
    if (!(GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD))
      PostMessageW(hwnd, WM_SETTINGCHANGE, kOrientationChanged, 0);
}

bool gdi_screen::IsRotated()
{
  return user_screen::Rotated();
}
