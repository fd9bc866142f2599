// Screen size and the metrics that the window frames need, scaled with the screen's density
// (96 dots per inch for a 240-pixel short side, 192 for 480).
#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <string>

#include "internal/user/screen_link.h"
#include "internal/user/test_hooks.h"
#include "kernel/device_root.h"
#include "kernel/device_settings.h"
#include "window_internal.h"

namespace {

// The screen a test set for the device root it ran in: the next test's root starts from its own
// settings again.
struct TestScreen {
  std::mutex lock;
  std::string root;
  device::ScreenSize size;
};

// Never destroyed: threads may still measure while static objects are torn down at exit.
TestScreen& Test()
{
  static TestScreen* screen = new TestScreen;
  return *screen;
}

std::atomic<bool> g_testScreenSet{false};
std::atomic<bool> g_rotated{false};

// The device settings' screen, unless a test set one for the root in use.
device::ScreenSize Screen()
{
  if (g_testScreenSet) {
    std::string root = device::ConfiguredRoot();
    TestScreen& test = Test();
    std::lock_guard guard(test.lock);
    if (test.root == root)
      return test.size;
  }
  return device::Settings().screen;
}

int ScreenWidth() { return Screen().width; }
int ScreenHeight() { return Screen().height; }

// The screen as the metrics show it: turned by a quarter when rotated.
int ShownWidth() { return g_rotated ? ScreenHeight() : ScreenWidth(); }
int ShownHeight() { return g_rotated ? ScreenWidth() : ScreenHeight(); }

int Scaled(int pixelsAt96)
{
  int shortSide = std::min(ScreenWidth(), ScreenHeight());
  return pixelsAt96 * std::max(1, shortSide / 240);
}

}  // namespace

void user_screen::SetRotated(bool rotated)
{
  g_rotated = rotated;
}

bool user_screen::Rotated()
{
  return g_rotated;
}

void user_test::SetScreenSize(int width, int height)
{
  TestScreen& test = Test();
  std::lock_guard guard(test.lock);
  test.root = device::ConfiguredRoot();
  test.size = device::ScreenSize{width, height};
  g_testScreenSet = true;
}

int GetSystemMetrics(int index)
{
  switch (index) {
  case SM_CXSCREEN: return ShownWidth();
  case SM_CYSCREEN: return ShownHeight();
  case SM_CXVSCROLL:
  case SM_CYHSCROLL:
  case SM_CYVSCROLL:
  case SM_CXHSCROLL: return Scaled(13);
  case SM_CYCAPTION: return Scaled(26);
  case SM_CXBORDER:
  case SM_CYBORDER: return 1;
  case SM_CXDLGFRAME:
  case SM_CYDLGFRAME: return Scaled(3);
  case SM_CXEDGE:
  case SM_CYEDGE: return Scaled(2);
  case SM_CXDOUBLECLK:
  case SM_CYDOUBLECLK: return Scaled(8);
  case SM_CYMENU: return Scaled(26);
  case SM_CXICON:
  case SM_CYICON: return Scaled(32);
  case SM_CXSMICON:
  case SM_CYSMICON: return Scaled(16);
  default: return 0;
  }
}

BOOL EnumDisplaySettingsW(LPCWSTR, DWORD modeIndex, LPDEVMODEW mode)
{
  if (!mode || (modeIndex != ENUM_CURRENT_SETTINGS && modeIndex != ENUM_REGISTRY_SETTINGS && modeIndex != 0))
    return FALSE;
  std::memset(mode, 0, sizeof *mode);
  static const char16_t name[] = u"DISPLAY";
  std::memcpy(mode->dmDeviceName, name, sizeof name);
  mode->dmSize = sizeof *mode;
  mode->dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT | DM_DISPLAYORIENTATION;
  mode->dmBitsPerPel = 32;
  mode->dmPelsWidth = static_cast<DWORD>(ScreenWidth());
  mode->dmPelsHeight = static_cast<DWORD>(ScreenHeight());
  mode->dmDisplayOrientation = DMDO_0;
  return TRUE;
}
