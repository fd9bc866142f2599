// Test support: the installer can be stopped at a named step, as if the device lost power there,
// so that tests can check how the next run finishes the interrupted work. With the environment
// variable KV_INSTALLER_STOP_AT naming the step, the process ends at once with exit code
// kStoppedExitCode when it reaches it, running nothing more.
#pragma once

namespace install {

inline constexpr int kStoppedExitCode = 86;

void StopPoint(const char* step);

}  // namespace install
