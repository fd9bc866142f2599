// A table of live objects behind opaque handle values (slot index and generation), so a stale or
// forged handle is refused and never reaches a newer object. Thread-safe; Find hands out shared
// ownership so an object stays valid for a call that races with its removal.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace crypt_internal {

template <typename T>
class HandleTable {
 public:
  // The new handle, or 0 when the table is full.
  uintptr_t Add(std::shared_ptr<T> object) {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t index = 0;
    while (index < slots_.size() && slots_[index].object) ++index;
    if (index == kMaxSlots) return 0;
    if (index == slots_.size()) slots_.emplace_back();
    Slot& slot = slots_[index];
    slot.object = std::move(object);
    return Encode(index, slot.generation);
  }

  std::shared_ptr<T> Find(uintptr_t handle) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const Slot* slot = Lookup(handle);
    return slot != nullptr ? slot->object : nullptr;
  }

  // Removes the object; false when the handle is not live.
  bool Remove(uintptr_t handle) {
    std::shared_ptr<T> released;
    std::lock_guard<std::mutex> lock(mutex_);
    Slot* slot = const_cast<Slot*>(Lookup(handle));
    if (slot == nullptr) return false;
    released = std::move(slot->object);
    ++slot->generation;
    return true;
  }

 private:
  static constexpr size_t kMaxSlots = 0xFFFF;

  struct Slot {
    std::shared_ptr<T> object;
    uint32_t generation = 1;
  };

  static uintptr_t Encode(size_t index, uint32_t generation) {
    return (static_cast<uintptr_t>(generation) << 16) | static_cast<uintptr_t>(index + 1);
  }

  const Slot* Lookup(uintptr_t handle) const {
    const uintptr_t index = (handle & 0xFFFF) - 1;
    if ((handle & 0xFFFF) == 0 || index >= slots_.size()) return nullptr;
    const Slot& slot = slots_[index];
    if (!slot.object || Encode(index, slot.generation) != handle) return nullptr;
    return &slot;
  }

  mutable std::mutex mutex_;
  std::vector<Slot> slots_;
};

}  // namespace crypt_internal
