// Virtual time for tests. While it is on, GetTickCount, GetLocalTime, GetSystemTime, Sleep and
// the time-out of every wait run on a clock that moves only when the test advances it, so
// timers and time-outs are deterministic. Switch it on before the code under test starts.
#pragma once

#include "base/types.h"

#include <cstddef>

namespace device::testing {

// Switches the process to virtual time. localStart is what GetLocalTime returns now; in
// virtual time the device's zone is UTC, so GetSystemTime returns the same. GetTickCount
// returns startTick now.
void UseVirtualClock(const SYSTEMTIME& localStart, DWORD startTick = 0);

// Switches the process back to the host's clock. Waits still blocked with a time-out on the
// virtual clock are woken and end when their time (now on the host's clock) has come.
void UseHostClock();
// Whether the process runs on the virtual clock.
bool UsesVirtualClock();

// Moves virtual time forward and wakes every wait with a time-out, which then ends when its
// time has come.
void AdvanceClock(DWORD milliseconds);

// The number of waits (Sleep included) now blocked with a time-out on the virtual clock.
size_t ClockWaiters();

// Blocks, in real time, until at least count waits are blocked on the virtual clock. Returns
// false when that did not happen within realMilliseconds.
bool WaitForClockWaiters(size_t count, DWORD realMilliseconds = 30000);

}  // namespace device::testing
