#include "registry_store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/errors.h"
#include "registry_file.h"

namespace registry {

namespace {

bool ReadWhole(int fd, std::string& text) {
  text.clear();
  char buffer[16384];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    text.append(buffer, static_cast<size_t>(n));
  }
}

bool WriteWhole(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Holds an exclusive lock on the lock file for its lifetime.
class FileLock {
 public:
  explicit FileLock(int fd) : fd_(fd) {
    while (fd_ >= 0 && flock(fd_, LOCK_EX) != 0) {
      if (errno != EINTR) fd_ = -1;
    }
  }
  ~FileLock() {
    if (fd_ >= 0) flock(fd_, LOCK_UN);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace

Store::Store(std::string folder)
    : file_(folder + "/registry.dat"), tempFile_(folder + "/registry.dat.tmp"), lockFile_(folder + "/registry.lock") {}

Store::~Store() {
  if (fileFd_ >= 0) close(fileFd_);
  if (lockFd_ >= 0) close(lockFd_);
}

LONG Store::Refresh() {
  struct stat now;
  if (stat(file_.c_str(), &now) != 0) {
    if (errno != ENOENT) return ERROR_REGISTRY_IO_FAILED;
    if (fileFd_ >= 0) {  // the file was removed: the registry is empty
      close(fileFd_);
      fileFd_ = -1;
      tree_ = Tree();
    }
    return ERROR_SUCCESS;
  }
  struct stat loaded;
  if (fileFd_ >= 0 && fstat(fileFd_, &loaded) == 0 && loaded.st_dev == now.st_dev && loaded.st_ino == now.st_ino) {
    return ERROR_SUCCESS;
  }

  const int fd = open(file_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? Refresh() : ERROR_REGISTRY_IO_FAILED;
  std::string text;
  Tree tree;
  if (!ReadWhole(fd, text)) {
    close(fd);
    return ERROR_REGISTRY_IO_FAILED;
  }
  if (!ParseTree(text, tree)) {
    close(fd);
    return ERROR_BADDB;
  }
  if (fileFd_ >= 0) close(fileFd_);
  fileFd_ = fd;
  tree_ = std::move(tree);
  return ERROR_SUCCESS;
}

// The rename makes the new registry appear whole or not at all, also to a process that crashes
// half-way; it is not forced to the disk (as the device flushes its registry lazily too).
LONG Store::Save(const Tree& tree) {
  const std::string text = SerializeTree(tree);
  const int fd = open(tempFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return ERROR_REGISTRY_IO_FAILED;
  if (!WriteWhole(fd, text) || rename(tempFile_.c_str(), file_.c_str()) != 0) {
    close(fd);
    unlink(tempFile_.c_str());
    return ERROR_REGISTRY_IO_FAILED;
  }
  // The temporary file is now the registry file: keep it as the loaded one.
  if (fileFd_ >= 0) close(fileFd_);
  fileFd_ = fd;
  return ERROR_SUCCESS;
}

LONG Store::Read(const std::function<LONG(const Tree&)>& read) {
  std::lock_guard<std::mutex> guard(mutex_);
  const LONG refreshed = Refresh();
  if (refreshed != ERROR_SUCCESS) return refreshed;
  return read(tree_);
}

LONG Store::Write(const std::function<LONG(Tree&, bool& changed)>& change) {
  std::lock_guard<std::mutex> guard(mutex_);
  if (lockFd_ < 0) {
    lockFd_ = open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) return ERROR_REGISTRY_IO_FAILED;
  }
  FileLock lock(lockFd_);
  if (!lock.Held()) return ERROR_REGISTRY_IO_FAILED;
  const LONG refreshed = Refresh();
  if (refreshed != ERROR_SUCCESS) return refreshed;

  Tree copy = tree_;
  bool changed = false;
  const LONG result = change(copy, changed);
  if (result != ERROR_SUCCESS || !changed) return result;
  const LONG saved = Save(copy);
  if (saved == ERROR_SUCCESS) tree_ = std::move(copy);
  return saved;
}

}  // namespace registry
