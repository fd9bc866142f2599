// For the drawing and display layers: the screen's rotation. Rotated, the screen metrics
// swap width and height; the display mode (EnumDisplaySettings) stays the native one.
#pragma once

namespace user_screen {

void SetRotated(bool rotated);
bool Rotated();

}  // namespace user_screen
