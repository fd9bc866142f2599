// The files this process has open, with the access and share mode of each open, so that an
// open, a delete or a move that the device would refuse is refused here too.
#pragma once

#include "base/types.h"

#include <memory>
#include <string>

namespace device {

// One admitted open; leaving it ends the open's claim.
class FileShare {
 public:
  // Admits an open of the file behind fd when the other opens' share modes allow its access and
  // its share mode allows theirs; null when they conflict.
  static std::unique_ptr<FileShare> Admit(int fd, DWORD access, DWORD shareMode);
  ~FileShare();
  FileShare(const FileShare&) = delete;
  FileShare& operator=(const FileShare&) = delete;

 private:
  explicit FileShare(uint64_t id) : id_(id) {}
  uint64_t id_;
};

// Whether no open of the file forbids deleting, moving or replacing it.
bool MayRemove(const std::string& hostPath);
// Whether every open of the file lets another open read it.
bool MayRead(const std::string& hostPath);

}  // namespace device
