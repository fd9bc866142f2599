// Helpers about the screen and windows: layout scales against the 240x320 design, the screen
// rectangle, the main window's presence and the input method of edit windows.
#pragma once

#include "base/types.h"

// The display mode's width / 240 and height / 320 (no orientation swap).
float GetScreenScaleX();
float GetScreenScaleY();
// The screen rectangle for the current orientation: the display mode's width and height when
// the screen is portrait, swapped when it is not. Sets right and bottom only.
void GetScreenSize(RECT& rect);
// The whole-number scales of the 240 x 320 layout for the screen measured upright (its shorter
// side across): a turned screen keeps the scales it has upright, and no scale is below 1.
int GetUprightScaleX();
int GetUprightScaleY();
// The whole-number scale of the 240-pixel-wide layout for the screen's width, at least 1.
int GetWidthScale();

// TRUE when a top-level window titled "KorvexPortal" exists on the device.
BOOL IsMainWindowOpen();

// Turns the input method off for a window (it then receives typed characters directly). FALSE
// for a null window.
BOOL DisableImeForWindow(HWND window);
