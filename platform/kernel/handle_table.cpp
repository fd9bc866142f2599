#include "kernel/handle_table.h"

#include <deque>
#include <mutex>
#include <vector>

namespace kernel {
namespace {

// Handle value: generation in the high 32 bits, slot index times four in the low 32 bits (as
// the platform's handles, a multiple of four). Generations stay below 2^31, so no handle ever
// equals INVALID_HANDLE_VALUE or another pseudo handle.
constexpr uint32_t kMaxSlots = 1u << 24;
constexpr uint32_t kMaxGeneration = 0x7FFFFFFF;

struct Slot {
  std::shared_ptr<Object> object;
  uint32_t generation = 0;
};

class HandleTable {
 public:
  HANDLE Insert(std::shared_ptr<Object> object)
  {
    std::lock_guard lock(mutex_);
    uint32_t index;
    if (!free_.empty()) {
      index = free_.front();
      free_.pop_front();
    } else if (slots_.size() < kMaxSlots) {
      index = static_cast<uint32_t>(slots_.size());
      slots_.emplace_back();
    } else {
      return nullptr;
    }
    Slot& slot = slots_[index];
    slot.generation = slot.generation == kMaxGeneration ? 1 : slot.generation + 1;
    slot.object = std::move(object);
    return Encode(index, slot.generation);
  }

  std::shared_ptr<Object> Lookup(HANDLE handle)
  {
    std::lock_guard lock(mutex_);
    Slot* slot = Find(handle);
    return slot ? slot->object : nullptr;
  }

  std::shared_ptr<Object> Remove(HANDLE handle)
  {
    std::lock_guard lock(mutex_);
    Slot* slot = Find(handle);
    if (!slot) {
      return nullptr;
    }
    free_.push_back(static_cast<uint32_t>(slot - slots_.data()));
    return std::move(slot->object);
  }

 private:
  static HANDLE Encode(uint32_t index, uint32_t generation)
  {
    uint64_t value = (static_cast<uint64_t>(generation) << 32) | (static_cast<uint64_t>(index) << 2);
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
  }

  Slot* Find(HANDLE handle)
  {
    uint64_t value = reinterpret_cast<uintptr_t>(handle);
    uint32_t low = static_cast<uint32_t>(value);
    uint32_t generation = static_cast<uint32_t>(value >> 32);
    uint32_t index = low >> 2;
    if ((low & 3) != 0 || index == 0 || index >= slots_.size()) {
      return nullptr;
    }
    Slot& slot = slots_[index];
    if (!slot.object || slot.generation != generation) {
      return nullptr;
    }
    return &slot;
  }

  std::mutex mutex_;
  std::vector<Slot> slots_ = std::vector<Slot>(1);  // slot 0 is never used: no handle is NULL
  std::deque<uint32_t> free_;                       // oldest freed slot first, so reuse is rare
};

// Never destroyed: handles stay usable while other static objects are torn down at exit.
HandleTable& Table()
{
  static HandleTable* table = new HandleTable;
  return *table;
}

}  // namespace

HANDLE InsertHandle(std::shared_ptr<Object> object)
{
  HANDLE handle = Table().Insert(std::move(object));
  if (!handle) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  }
  return handle;
}

std::shared_ptr<Object> LookupHandle(HANDLE handle)
{
  return Table().Lookup(handle);
}

std::shared_ptr<Object> RemoveHandle(HANDLE handle)
{
  return Table().Remove(handle);
}

}  // namespace kernel
