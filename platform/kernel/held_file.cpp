#include "held_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kernel {
namespace {

// Open-file-description locks on the whole file: they belong to the descriptor, end with the
// process, and change between read and write atomically.
bool Lock(int fd, short type, bool wait)
{
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  int result;
  do {
    result = fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &lock);
  } while (result != 0 && errno == EINTR);
  return result == 0;
}

// Whether the path still names the file behind fd (its last holder may have removed it).
bool StillAtPath(int fd, const std::string& path)
{
  struct stat opened {}, named {};
  return fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
         opened.st_ino == named.st_ino;
}

}  // namespace

std::optional<HeldFile> HoldFile(const std::string& path, const std::function<bool(int fd)>& initialise)
{
  for (;;) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
      return std::nullopt;
    }
    if (Lock(fd, F_WRLCK, false)) {
      if (StillAtPath(fd, path)) {
        if (!initialise(fd) || !Lock(fd, F_RDLCK, false)) {
          int error = errno;
          unlink(path.c_str());
          close(fd);
          errno = error;
          return std::nullopt;
        }
        return HeldFile{fd, true};
      }
    } else if (Lock(fd, F_RDLCK, true) && StillAtPath(fd, path)) {
      return HeldFile{fd, false};
    }
    close(fd);  // removed by its last holder meanwhile: start again
  }
}

void ReleaseFile(int fd, const std::string& path)
{
  if (Lock(fd, F_WRLCK, false) && StillAtPath(fd, path)) {
    unlink(path.c_str());
  }
  close(fd);
}

bool IsHeld(const std::string& path)
{
  int fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  if (!Lock(fd, F_WRLCK, false)) {
    close(fd);
    return true;
  }
  ReleaseFile(fd, path);
  return false;
}

}  // namespace kernel
