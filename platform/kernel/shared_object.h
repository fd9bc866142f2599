// A named object of the device (an event or a file mapping), shared by every process of one
// device root: a held file (held_file.h) in the root's private "objects" folder, mapped by each
// process that uses it and removed by the last one to let go. A file left by a crashed process
// is started afresh by the next opener.
#pragma once

#include "base/types.h"
#include "futex.h"

#include <atomic>
#include <memory>
#include <optional>
#include <string>

namespace kernel {

enum class SharedKind : uint32_t { Event = 1, Mapping = 2 };

// The object's first page.
struct SharedHeader {
  uint32_t magic;
  SharedKind kind;
  uint64_t size;                     // a mapping's size in bytes
  std::atomic<uint32_t> signalled;   // an event's state
  uint32_t manualReset;              // an event's kind
  uint32_t nameLength;
  char16_t name[MAX_PATH];
};

struct SharedCreation {
  SharedKind kind;
  uint64_t size = 0;  // a mapping's size
  bool manualReset = false;
  bool initialState = false;
};

class SharedObject {
 public:
  // The device's object of that kind and name, created as described when it does not exist.
  // Fails with the last error set.
  static std::shared_ptr<SharedObject> Open(std::u16string_view name, const SharedCreation& creation, bool& existed);
  // An object of this process only (an unnamed mapping).
  static std::shared_ptr<SharedObject> CreateUnnamed(const SharedCreation& creation);

  // Takes over an open file and its mapped header; path is empty for an object of this process.
  SharedObject(int fd, std::string path, SharedHeader* header) : fd_(fd), path_(std::move(path)), header_(header) {}
  ~SharedObject();
  SharedObject(const SharedObject&) = delete;
  SharedObject& operator=(const SharedObject&) = delete;

  SharedHeader& header() const { return *header_; }
  int fd() const { return fd_; }
  // Where a mapping's content starts in the file.
  static constexpr uint64_t kContentOffset = 4096;

 private:

  int fd_;
  std::string path_;  // empty for an object of this process only
  SharedHeader* header_;
};

// The word every waiter on a device-wide object sleeps on; every change of a device-wide
// object's state bumps it and wakes them all.
WakeWord& DeviceWakeWord();
void WakeDeviceWaiters();

}  // namespace kernel
