// For the drawing layer: marks the windows that wait for WM_PAINT. The message queue hands a
// marked window WM_PAINT after posted and input messages and before timers, and takes it as
// painted once WM_PAINT was dispatched or reached the default procedure, unless the drawing
// layer keeps it marked.
//
// The drawing layer also reads where a window's pixels go (one snapshot of the window tree)
// and installs hooks that the window manager calls when a window's visible area changed, for
// the default handling of painting, and for the colours of dialogs.
#pragma once

#include <vector>

#include "base/types.h"

namespace user_paint {

void SetNeedsPaint(HWND hwnd, bool needsPaint);
bool NeedsPaint(HWND hwnd);

// Where a window's drawing lands, in screen coordinates.
struct Geometry {
  RECT area{};               // the window's rectangle, or its client rectangle
  RECT visible{};            // area clipped by the client rectangle of every ancestor
  std::vector<RECT> covered; // left out of `visible`: the window's visible children, the visible
                             // siblings above the window and above each of its ancestors, and the
                             // visible top-level windows above its top-level window
  bool shown = false;        // the window and every ancestor have WS_VISIBLE
};
// False for a window that is not one of this process.
bool GetGeometry(HWND hwnd, bool clientArea, Geometry* geometry);
// The windows of this process, each parent before its children.
std::vector<HWND> WindowsOfProcess();
// The window and its descendants.
std::vector<HWND> WindowAndDescendants(HWND hwnd);

struct Hooks {
  // A window's place, size, z-order, parent or visibility changed; `before` is the screen
  // rectangle it showed before (empty when it was hidden). On the window's thread.
  void (*changed)(HWND hwnd, const RECT& before) = nullptr;
  // WM_PAINT reached the default procedure.
  void (*defaultPaint)(HWND hwnd) = nullptr;
  // The window still needs painting after its WM_PAINT was dispatched.
  void (*leftInvalid)(HWND hwnd) = nullptr;
  // WM_ERASEBKGND reached the default procedure; returns its result.
  LRESULT (*defaultErase)(HWND hwnd, HDC dc) = nullptr;
  // Fills the window's client area with the brush; returns WM_ERASEBKGND's result (1 when filled).
  LRESULT (*fillClient)(HWND hwnd, HDC dc, HBRUSH brush) = nullptr;
  // Sets the DC's background colour to a system colour (COLOR_*) and returns its brush: the
  // default answer to WM_CTLCOLOR* messages.
  HBRUSH (*systemColour)(HDC dc, int colourIndex) = nullptr;
};
// Installed once by the drawing layer when it loads. The window manager calls the hooks
// without its lock held.
void SetHooks(const Hooks& hooks);
const Hooks* GetHooks();

}  // namespace user_paint
