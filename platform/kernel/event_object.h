// The event object behind CreateEvent. An unnamed event keeps its state in the object; a named
// event keeps it in its device-wide shared object, so every process of the device sees it.
#pragma once

#include "kernel/object.h"
#include "shared_object.h"

#include <atomic>
#include <memory>

namespace kernel {

class Event : public LocalWaitable {
 public:
  Event(bool manualReset, bool initialState);
  explicit Event(std::shared_ptr<SharedObject> shared);

  void Set();
  void Reset();

  bool IsSignalled() const override;
  bool TryAcquire() override;
  void Undo() override;
  bool IsDeviceWide() const override { return shared_ != nullptr; }

 private:
  std::shared_ptr<SharedObject> shared_;
  std::atomic<uint32_t> localState_;
  std::atomic<uint32_t>* state_;  // 1 signalled, 0 not
  bool manualReset_;
};

}  // namespace kernel
