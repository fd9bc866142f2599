// For the controls: the scroll bars a window shows itself (WS_VSCROLL, WS_HSCROLL) lie in its
// frame. A tap there reaches the window as WM_NCHITTEST, whose default answer names the bar
// (HTVSCROLL, HTHSCROLL), then as WM_NCLBUTTONDOWN with that code and the screen point. The
// default procedure hands the non-client pointer messages on a bar to the hook the controls
// install; while the window holds the capture for its bar, the pointer's moves and its release
// come as WM_NCMOUSEMOVE and WM_NCLBUTTONUP with the bar's code.
#pragma once

#include "base/types.h"

namespace user_bars {

// The window's own vertical or horizontal bar on the screen; empty when the window shows none.
RECT BarRect(HWND hwnd, bool vertical);

// Takes the pointer capture for a gesture on the window's bar (hit: HTVSCROLL or HTHSCROLL). It
// ends with the capture (SetCapture, ReleaseCapture, the window hidden, disabled or destroyed).
void CaptureForBar(HWND hwnd, int hit);
// The bar's code while the window holds the capture for it, else HTNOWHERE.
int BarCaptureOf(HWND hwnd);

struct Hooks {
  // WM_NCLBUTTONDOWN, WM_NCMOUSEMOVE or WM_NCLBUTTONUP on a bar reached the default procedure.
  void (*pointer)(HWND hwnd, UINT message, int hit, POINT screen) = nullptr;
};
// Installed once by the controls at the device's start.
void SetHooks(const Hooks& hooks);
const Hooks* GetHooks();

}  // namespace user_bars
