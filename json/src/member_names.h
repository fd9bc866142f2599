// The member names that a reader has stored in its pool, so that a name met again shares the
// stored copy instead of being stored once more: a reply's records repeat the same few names.
// A stored name is shared only while the chunk it was cut from is still the pool's present
// one, which keeps sharing as cheap as cutting a piece and never reaches into a chunk that
// may be gone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "base/types.h"

namespace Json {

class TreePool;

class MemberNames {
public:
  // Names longer than this are stored each time.
  static constexpr size_t longest = 64;

  // The pool's NUL-terminated copy of the name [text, text + length) (no longer than
  // `longest`), shared with earlier members of that name when there is one; throws
  // std::bad_alloc.
  WCHAR* intern(TreePool& pool, const WCHAR* text, size_t length);

private:
  struct Slot {
    WCHAR* name;  // null: free
    uint64_t chunk;  // the pool's present chunk when the name was stored
    uint32_t hash;
    uint32_t length;
  };
  static constexpr size_t firstSlots = 64;
  static constexpr size_t mostSlots = 2048;

  // Makes room for one more name, dropping those whose chunk is no longer present; false
  // when the table is full of present names.
  bool makeRoom(uint64_t present);
  void rehash(size_t slots, uint64_t present);

  std::unique_ptr<Slot[]> slots_;
  size_t mask_ = 0;  // slots less one
  size_t used_ = 0;
};

}  // namespace Json
