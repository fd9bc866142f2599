// Reading a host folder's entries.
#pragma once

#include <dirent.h>
#include <memory>
#include <string>

namespace device {

struct FolderCloser {
  void operator()(DIR* folder) const { closedir(folder); }
};
using HostFolder = std::unique_ptr<DIR, FolderCloser>;

inline HostFolder OpenHostFolder(const std::string& path)
{
  return HostFolder(opendir(path.c_str()));
}

}  // namespace device
