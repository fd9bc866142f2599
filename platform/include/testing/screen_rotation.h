// Turning the device's screen in a test, as the rotate key of the display does.
#pragma once

namespace kvtest {

// Turns the screen by a quarter (or back): the metrics swap width and height, every window is
// invalidated and every top-level window gets WM_SETTINGCHANGE 0x3002 posted. Call it on the
// thread of the windows (no paint is under way then), and run until idle afterwards.
void RotateScreen();

}  // namespace kvtest
