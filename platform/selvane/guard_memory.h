// Test-only views of the guarded memory, whole (past the end of the text too), so that a test
// can see that a wipe leaves nothing of the secret behind.
#pragma once

#include <functional>
#include <string>

#include "windows.h"

namespace selvane_detail {

// The whole buffer of the edit's guard; empty when the edit has none.
std::u16string GuardedMemoryOf(HWND edit);
// From now on, each guard's whole buffer goes to the watcher just before the guard frees it
// (an empty function stops that).
void WatchFreedGuardMemory(std::function<void(const std::u16string&)> watcher);

}  // namespace selvane_detail
