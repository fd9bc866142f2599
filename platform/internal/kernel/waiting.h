// Waiting on objects for the pieces of the layer: the machinery behind WaitForSingleObject
// and WaitForMultipleObjects, for waits that hold objects rather than handles.
#pragma once

#include "base/types.h"
#include "kernel/object.h"

#include <memory>
#include <span>

namespace kernel {

// Waits until one object (all == false) or every object (all == true) could be taken, or the
// time-out on the device clock passed. Returns WAIT_OBJECT_0 + index or WAIT_TIMEOUT. An empty
// set only waits out the time-out.
DWORD WaitForObjects(std::span<const std::shared_ptr<Waitable>> objects, bool all, DWORD milliseconds);

}  // namespace kernel
