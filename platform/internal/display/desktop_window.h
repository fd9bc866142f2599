// The screen in a desktop window for people (SDL2), on a thread of the display, when the
// environment's KV_DISPLAY is "sdl".
#pragma once

namespace display {

// Opens the window when KV_DISPLAY asks for it and none is open; true when one is open. When
// the window cannot open (no display, no video driver) that is said once on standard error
// and the device goes on headless.
bool OpenDesktopWindow();
// Closes the window and waits for its thread; nothing when none is open. A program that ends
// with exit() gets this from an exit handler.
void CloseDesktopWindow();

}  // namespace display
