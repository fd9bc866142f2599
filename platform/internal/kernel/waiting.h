// Waiting on objects for the pieces of the layer: the machinery behind WaitForSingleObject
// and WaitForMultipleObjects, for waits that hold objects rather than handles.
#pragma once

#include "base/types.h"
#include "kernel/clock.h"
#include "kernel/object.h"

#include <memory>
#include <span>

namespace kernel {

// Something besides objects that may end a wait (a thread's message queue). The wait attaches
// its waiter first, so that whoever makes the condition true can wake it, asks Ready at every
// check after the objects, tells it before every block which wake count the check began at (the
// wait sleeps until the count moves on from there), and detaches (null) before it returns.
class WaitCondition {
 public:
  virtual void Attach(Waiter* waiter) = 0;
  virtual bool Ready() = 0;
  virtual void Blocking(uint32_t seen) = 0;

 protected:
  ~WaitCondition() = default;
};

// Waits until one object (all == false) or every object (all == true) could be taken, the
// condition (when given) is ready, or the time-out on the device clock (or the host's, by the
// basis) passed. Returns WAIT_OBJECT_0 + index, WAIT_OBJECT_0 + the number of objects for the
// condition, or WAIT_TIMEOUT. An empty set without a condition only waits out the time-out.
DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool all, DWORD milliseconds,
                     WaitCondition* condition = nullptr, clock::Basis basis = clock::Basis::device);

}  // namespace kernel
