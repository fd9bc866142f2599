// Open addressing over a power-of-two table, at most half full; names of a chunk no longer
// present are dropped when the table would grow, or replaced when their name comes again.
#include "member_names.h"

#include <cstring>

#include "tree_pool.h"

namespace Json {

namespace {

uint32_t hashOf(const WCHAR* text, size_t length)
{
  uint64_t hash = 0x9E3779B97F4A7C15u ^ length;
  size_t at = 0;
  for (; at + 4 <= length; at += 4) {
    uint64_t units = 0;
    std::memcpy(&units, text + at, sizeof units);
    hash = (hash ^ units) * 0xFF51AFD7ED558CCDu;
    hash ^= hash >> 32;
  }
  if (at < length) {
    uint64_t units = 0;
    std::memcpy(&units, text + at, (length - at) * sizeof(WCHAR));
    hash = (hash ^ units) * 0xFF51AFD7ED558CCDu;
    hash ^= hash >> 32;
  }
  return static_cast<uint32_t>(hash);
}

WCHAR* storedCopy(TreePool& pool, const WCHAR* text, size_t length)
{
  auto* copy = static_cast<WCHAR*>(pool.allocate((length + 1) * sizeof(WCHAR)));
  std::memcpy(copy, text, length * sizeof(WCHAR));
  copy[length] = 0;
  return copy;
}

}  // namespace

WCHAR* MemberNames::intern(TreePool& pool, const WCHAR* text, size_t length)
{
  const uint32_t hash = hashOf(text, length);
  uint64_t present = pool.presentChunk();
  Slot* slot = nullptr;
  if (slots_ != nullptr) {
    for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
      Slot& probed = slots_[at];
      if (probed.name == nullptr) {
        break;
      }
      if (probed.hash == hash && probed.length == length) {
        if (probed.chunk != present) {
          slot = &probed;  // most likely this name, stored in a chunk gone by: stored anew here
          break;
        }
        if (std::memcmp(probed.name, text, length * sizeof(WCHAR)) == 0) {
          pool.share();
          return probed.name;
        }
      }
    }
  }
  // Room first, so that a failure leaves no stored name without its holder.
  if (slot == nullptr && !makeRoom(present)) {
    return storedCopy(pool, text, length);
  }
  WCHAR* stored = storedCopy(pool, text, length);
  present = pool.presentChunk();  // the copy may have started a chunk
  if (slot == nullptr) {
    for (size_t at = hash & mask_;; at = (at + 1) & mask_) {
      if (slots_[at].name == nullptr) {
        slot = &slots_[at];
        ++used_;
        break;
      }
    }
  }
  *slot = Slot{stored, present, hash, static_cast<uint32_t>(length)};
  return stored;
}

bool MemberNames::makeRoom(uint64_t present)
{
  if (slots_ == nullptr) {
    rehash(firstSlots, present);
    return true;
  }
  if ((used_ + 1) * 2 <= mask_ + 1) {
    return true;
  }
  rehash(mask_ + 1, present);  // drops the names of chunks gone by
  if ((used_ + 1) * 2 <= mask_ + 1) {
    return true;
  }
  if (mask_ + 1 == mostSlots) {
    return false;
  }
  rehash((mask_ + 1) * 2, present);
  return true;
}

void MemberNames::rehash(size_t slots, uint64_t present)
{
  std::unique_ptr<Slot[]> old = std::move(slots_);
  const size_t oldSlots = old != nullptr ? mask_ + 1 : 0;
  slots_ = std::make_unique<Slot[]>(slots);  // zeroed: every slot free
  mask_ = slots - 1;
  used_ = 0;
  for (size_t i = 0; i < oldSlots; ++i) {
    const Slot& kept = old[i];
    if (kept.name == nullptr || kept.chunk != present) {
      continue;
    }
    size_t at = kept.hash & mask_;
    while (slots_[at].name != nullptr) {
      at = (at + 1) & mask_;
    }
    slots_[at] = kept;
    ++used_;
  }
}

}  // namespace Json
