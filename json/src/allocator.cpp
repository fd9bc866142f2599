// The default allocator: NUL-terminated UTF-16 buffers from malloc.
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "json/value.h"
#include "text/widechar.h"
#include "tree_pool.h"

namespace Json {

ValueAllocator::~ValueAllocator() = default;

namespace {

class DefaultValueAllocator : public ValueAllocator {
public:
  WCHAR* makeMemberName(const WCHAR* name) override { return duplicateStringValue(name, untilNul); }
  void releaseMemberName(WCHAR* name) override { releaseStringValue(name); }

  WCHAR* duplicateStringValue(const WCHAR* text, size_t length) override
  {
    if (length == untilNul) {
      length = std::char_traits<WCHAR>::length(text);
    }
    WCHAR* copy = static_cast<WCHAR*>(std::malloc((length + 1) * sizeof(WCHAR)));
    if (copy == nullptr) {
      throw std::bad_alloc();
    }
    if (length != 0) {
      std::memcpy(copy, text, length * sizeof(WCHAR));
    }
    copy[length] = 0;
    return copy;
  }

  void releaseStringValue(WCHAR* text) override { std::free(text); }
};

ValueAllocator* defaultValueAllocator()
{
  static DefaultValueAllocator allocator;
  return &allocator;
}

// Settles the allocator during static initialisation, before any thread starts.
struct AllocatorSettler {
  AllocatorSettler() { valueAllocator(); }
} allocatorSettler;

}  // namespace

ValueAllocator*& valueAllocator()
{
  static ValueAllocator* allocator = defaultValueAllocator();
  return allocator;
}

bool defaultAllocatorInUse()
{
  return valueAllocator() == defaultValueAllocator();
}

}  // namespace Json
