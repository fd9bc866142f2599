#include "open_files.h"

#include "kernel/file.h"

#include <map>
#include <mutex>
#include <sys/stat.h>

namespace device {
namespace {

struct Key {
  dev_t device;
  ino_t inode;
  auto operator<=>(const Key&) const = default;
};

struct Open {
  Key key;
  DWORD access;
  DWORD shareMode;
};

struct Registry {
  std::mutex mutex;
  std::map<uint64_t, Open> opens;
  uint64_t nextId = 1;
};

Registry& Opens()
{
  static Registry* registry = new Registry;
  return *registry;
}

bool Conflict(DWORD access, DWORD shareMode, const Open& other)
{
  bool reads = access & GENERIC_READ, writes = access & GENERIC_WRITE;
  bool otherReads = other.access & GENERIC_READ, otherWrites = other.access & GENERIC_WRITE;
  return (reads && !(other.shareMode & FILE_SHARE_READ)) || (writes && !(other.shareMode & FILE_SHARE_WRITE)) ||
         (otherReads && !(shareMode & FILE_SHARE_READ)) || (otherWrites && !(shareMode & FILE_SHARE_WRITE));
}

// Whether every open of the file has all the share bits given.
bool AllShare(const std::string& hostPath, DWORD bits)
{
  struct stat info {};
  if (stat(hostPath.c_str(), &info) != 0) {
    return true;
  }
  Key key{info.st_dev, info.st_ino};
  Registry& registry = Opens();
  std::lock_guard lock(registry.mutex);
  for (const auto& [id, open] : registry.opens) {
    if (open.key == key && (open.shareMode & bits) != bits) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::unique_ptr<FileShare> FileShare::Admit(int fd, DWORD access, DWORD shareMode)
{
  struct stat info {};
  if (fstat(fd, &info) != 0) {
    return nullptr;
  }
  Key key{info.st_dev, info.st_ino};
  Registry& registry = Opens();
  std::lock_guard lock(registry.mutex);
  for (const auto& [id, open] : registry.opens) {
    if (open.key == key && Conflict(access, shareMode, open)) {
      return nullptr;
    }
  }
  uint64_t id = registry.nextId++;
  registry.opens.emplace(id, Open{key, access, shareMode});
  return std::unique_ptr<FileShare>(new FileShare(id));
}

FileShare::~FileShare()
{
  Registry& registry = Opens();
  std::lock_guard lock(registry.mutex);
  registry.opens.erase(id_);
}

bool MayRemove(const std::string& hostPath)
{
  return AllShare(hostPath, FILE_SHARE_DELETE);
}

bool MayRead(const std::string& hostPath)
{
  return AllShare(hostPath, FILE_SHARE_READ);
}

}  // namespace device
