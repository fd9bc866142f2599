// The clock that message times and timers run on: the device's clock, which tests may run
// virtually (it then moves only when a test advances it).
#pragma once

#include <cstdint>
#include <functional>

namespace user_detail {

uint64_t ClockNowMs();
bool ClockIsVirtual();
// Called (without the user lock) after every change of the virtual time.
void OnClockAdvanced(std::function<void()> listener);

}  // namespace user_detail
