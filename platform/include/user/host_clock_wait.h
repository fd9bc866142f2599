// The layer's own flag of MsgWaitForMultipleObjectsEx (the device has none such): the time-out
// runs on the host's monotonic clock, which a test's virtual device clock does not move. On the
// device the two clocks are one; here it keeps the bound of a join of the program's own threads
// a safety bound in real time, never ended early by a test clock that runs ahead. Not with
// QS_TIMER in the wake mask (ERROR_INVALID_PARAMETER).
#pragma once

#include "user/message_queue.h"

#define MWMO_HOSTCLOCK 0x0100
