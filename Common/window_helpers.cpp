#include "window_helpers.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "user/imm.h"
#include "user/metrics.h"
#include "user/window_tree.h"

namespace {

// The layout's reciprocals as single-precision constants.
const float kInverseWidth = std::bit_cast<float>(0x3B888889u);   // 1 / 240
const float kInverseHeight = std::bit_cast<float>(0x3B4CCCCDu);  // 1 / 320

DEVMODEW CurrentMode()
{
  DEVMODEW mode;
  std::memset(&mode, 0, sizeof mode);
  mode.dmSize = sizeof mode;
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode);
  return mode;
}

}  // namespace

float GetScreenScaleX()
{
  return static_cast<float>(CurrentMode().dmPelsWidth) * kInverseWidth;
}

float GetScreenScaleY()
{
  return static_cast<float>(CurrentMode().dmPelsHeight) * kInverseHeight;
}

void GetScreenSize(RECT& rect)
{
  DEVMODEW mode = CurrentMode();
  LONG width = static_cast<LONG>(mode.dmPelsWidth);
  LONG height = static_cast<LONG>(mode.dmPelsHeight);
  // The mode is swapped only when its shape differs from the screen's: a mode that is landscape
  // already (a landscape screen) must not turn portrait.
  bool portraitScreen = GetSystemMetrics(SM_CXSCREEN) < GetSystemMetrics(SM_CYSCREEN);
  bool portraitMode = width < height;
  if (portraitScreen == portraitMode) {
    rect.right = width;
    rect.bottom = height;
  } else {
    rect.right = height;
    rect.bottom = width;
  }
}

namespace {

// The screen's shorter and longer sides.
std::pair<int, int> UprightSides()
{
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  return {std::min(width, height), std::max(width, height)};
}

}  // namespace

int GetUprightScaleX()
{
  return std::max(1, UprightSides().first / 240);
}

int GetUprightScaleY()
{
  return std::max(1, UprightSides().second / 320);
}

int GetWidthScale()
{
  return std::max(1, GetSystemMetrics(SM_CXSCREEN) / 240);
}

BOOL IsMainWindowOpen()
{
  return FindWindowW(nullptr, u"KorvexPortal") != nullptr;
}

BOOL DisableImeForWindow(HWND window)
{
  if (window == nullptr) {
    return FALSE;
  }
  HIMC context = ImmGetContext(window);
  ImmAssociateContext(window, nullptr);
  ImmReleaseContext(window, context);
  return TRUE;
}
