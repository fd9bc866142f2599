// The panel's window, on the panel's thread: the keyboard painted with its captions, and taps on
// its keys typed at the device's input source.
#pragma once

#include "user/user.h"

namespace shell {

// Posted to the panel's window: show or hide it as the panel's state now says.
constexpr UINT kUpdateInputPanel = WM_APP + 0x3E00;

// Makes the (hidden) window on the calling thread; null when that failed.
HWND CreateInputPanelWindow();
// Shows it in the panel's place and paints it while the panel is up; hides it otherwise.
void ShowInputPanelAsTheStateSays(HWND window);

}  // namespace shell
