// The device clock for the pieces of the layer. In real time it follows the monotonic clock;
// when a test switches on virtual time, it moves only when the test advances it, and every
// time-out waits on it. A piece that needs a timer waits with a time-out computed from Now().
#pragma once

#include "base/types.h"
#include "kernel/object.h"

#include <cstdint>

namespace kernel::clock {

// Milliseconds on the device clock.
uint64_t Now();

// Which clock a time-out runs on: the device clock, or the host's monotonic clock, which virtual
// time does not move (a safety bound that no test clock may end early).
enum class Basis { device, host };

// A time-out on the device clock (or the host's). While one on the device clock exists for a
// waiter in virtual time, advancing the clock wakes that waiter.
class Timeout {
 public:
  Timeout(DWORD milliseconds, Waiter& waiter, Basis basis = Basis::device);  // INFINITE never expires
  ~Timeout();
  Timeout(const Timeout&) = delete;
  Timeout& operator=(const Timeout&) = delete;

  bool Expired() const;
  // Real milliseconds to block before checking again; negative blocks until woken.
  int64_t RealWait() const;

 private:
  Waiter& waiter_;
  bool infinite_;
  bool host_;
  bool virtual_;
  uint64_t deadline_;
};

}  // namespace kernel::clock
