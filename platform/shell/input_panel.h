// The soft input panel's own window: a keyboard on a thread of its own, shown in the panel's
// place above the soft-key bar while the panel is up. A tap on a key types it into the window
// that key input goes to (the foreground thread's focus), as the device's panel does.
#pragma once

namespace shell {

// Brings the panel's window to the panel's state: shown in its place and painted while the
// panel is up, hidden while it is down. The first call starts the panel's thread and returns
// once its queue takes messages and its window is made and painted; later calls post.
void UpdateInputPanelWindow();

// Ends the panel's thread, waiting for it within a bound (also done at the process's exit).
void StopInputPanelWindow();

}  // namespace shell
