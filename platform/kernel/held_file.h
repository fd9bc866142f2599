// A file that processes of the device hold while they use what it stands for (a named object,
// a running process). Each holder keeps a read lock on it: an open-file lock, which ends with
// the holder's descriptor, so with its process, crashed or not. The last holder to let go,
// who alone can take the write lock, removes the file. An opener that finds no holder starts
// the file afresh, so a file left by a crashed process is never taken for a live one.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace kernel {

struct HeldFile {
  int fd;
  bool fresh;  // no process held it: the caller's initialise ran
};

// Opens and holds the file, creating it when missing. When no process holds it, initialise
// runs on it first (under the write lock, so no one reads it half made). Fails (with errno
// set) when the file cannot be opened or initialise fails.
std::optional<HeldFile> HoldFile(const std::string& path, const std::function<bool(int fd)>& initialise);

// Lets go of a held file, removing it when this was the last holder; closes fd.
void ReleaseFile(int fd, const std::string& path);

// Whether some process holds the file. A file that no one holds is removed.
bool IsHeld(const std::string& path);

}  // namespace kernel
