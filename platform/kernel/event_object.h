// The event object behind CreateEvent. A local event keeps its state in the object; a named
// event keeps it in its device-wide shared object, so every process of the device sees it.
#pragma once

#include "kernel/object.h"

#include <atomic>
#include <memory>

namespace kernel {

class Event : public LocalWaitable {
 public:
  Event(bool manualReset, bool initialState);

  void Set();
  void Reset();

  bool IsSignalled() const override;
  bool TryAcquire() override;
  void Undo() override;

 private:
  std::atomic<uint32_t> localState_;
  std::atomic<uint32_t>* state_;  // 1 signalled, 0 not
  bool manualReset_;
};

}  // namespace kernel
