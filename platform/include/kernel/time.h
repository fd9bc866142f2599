// The device clock: milliseconds since start-up and the calendar time. Tests can switch the
// whole process to virtual time (testing/clock.h).
#pragma once

#include "base/types.h"

// Milliseconds since the device started; wraps after about 49.7 days.
DWORD GetTickCount();

void GetLocalTime(LPSYSTEMTIME lpSystemTime);
// The time in UTC.
void GetSystemTime(LPSYSTEMTIME lpSystemTime);
