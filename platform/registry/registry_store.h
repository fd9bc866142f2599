// The registry file of one device root, shared by every process of the device.
//
// The file is only ever replaced whole: a writer writes a temporary file and renames it over the
// registry file, so a reader always finds a complete registry without taking a lock. Writers take
// an exclusive lock on a lock file beside it and re-read the file under that lock, so each change
// applies to the latest registry that any process saved. The file this process loaded is kept
// open: its identity (device and inode) then cannot be reused, and comparing it with the file now
// at the path tells whether another process has saved since.
#pragma once

#include <functional>
#include <mutex>
#include <string>

#include "base/types.h"
#include "registry_tree.h"

namespace registry {

class Store {
 public:
  explicit Store(std::string folder);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  // Runs read on the latest saved registry; returns its result, or ERROR_BADDB when the file is
  // not a registry file.
  LONG Read(const std::function<LONG(const Tree&)>& read);

  // Runs change on a copy of the latest registry while holding the device-wide lock, and saves
  // the copy when change returns ERROR_SUCCESS and sets changed. Nothing is saved otherwise.
  // Returns change's result, ERROR_BADDB, or ERROR_REGISTRY_IO_FAILED when saving failed.
  LONG Write(const std::function<LONG(Tree&, bool& changed)>& change);

 private:
  LONG Refresh();
  LONG Save(const Tree& tree);

  std::mutex mutex_;
  const std::string file_;
  const std::string tempFile_;
  const std::string lockFile_;
  Tree tree_;
  int fileFd_ = -1;
  int lockFd_ = -1;
};

}  // namespace registry
