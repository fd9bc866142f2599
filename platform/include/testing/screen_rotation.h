// Turning the device's screen in a test, as the rotate key of the display does.
#pragma once

namespace kvtest {

// Turns the screen by a quarter (or back): the metrics swap width and height, every window is
// invalidated and every top-level window gets WM_SETTINGCHANGE 0x3002 posted. Runs until idle.
bool RotateScreen();

}  // namespace kvtest
