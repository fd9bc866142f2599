// For the display layer, the test harness and tests: the process's screen surface and the
// screen's rotation.
#pragma once

#include <cstdint>
#include <vector>

#include "base/types.h"

namespace gdi_screen {

// A copy of the screen's pixels (0xAARRGGBB, rows top-down), or of the part a window covers
// (its whole window rectangle, clipped to the screen).
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};
Image CaptureScreen();
bool CaptureWindow(HWND hwnd, Image* image);

// Turns the screen by a quarter (or back): the metrics swap width and height, the screen
// surface is remade, every window is invalidated with erase, and every top-level window of the
// process gets WM_SETTINGCHANGE with wParam 0x3002 posted.
void Rotate();
bool IsRotated();

}  // namespace gdi_screen
