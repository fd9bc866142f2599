// The soft input panel as the screen shows it while it is up: the shell's keyboard drawn over the
// windows in the panel's place above the soft-key bar. The windows' pixels beneath stay as they
// are; only what the display shows (the window, the screenshots) carries the panel.
#pragma once

#include "internal/gdi/screen.h"

namespace display {

// Draws the panel into a copy of the whole screen when the panel is up; nothing otherwise.
void DrawInputPanel(gdi_screen::Image& screen);

}  // namespace display
