#include "kernel/file.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/handle_table.h"
#include "kernel/host_error.h"
#include "open_files.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace device {
namespace {

class File : public kernel::Object {
 public:
  File(int fd, DWORD access, std::unique_ptr<FileShare> share) : fd_(fd), access_(access), share_(std::move(share)) {}
  ~File() override { close(fd_); }

  int fd() const { return fd_; }
  bool CanRead() const { return access_ & GENERIC_READ; }
  bool CanWrite() const { return access_ & GENERIC_WRITE; }

 private:
  int fd_;
  DWORD access_;
  std::unique_ptr<FileShare> share_;
};

// Opens the host file; existed tells whether this call found it rather than created it.
int OpenHost(const std::string& path, int accessFlags, DWORD disposition, bool& existed)
{
  existed = true;
  if (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING) {
    return open(path.c_str(), accessFlags);
  }
  int fd = open(path.c_str(), accessFlags | O_CREAT | O_EXCL, 0666);
  if (fd >= 0 || errno != EEXIST || disposition == CREATE_NEW) {
    existed = fd < 0;
    return fd;
  }
  return open(path.c_str(), accessFlags);
}

std::shared_ptr<File> LookupFile(HANDLE handle)
{
  return kernel::LookupHandleAs<File>(handle);
}

// Reads or writes count bytes at the file's position; a read stops at the end of the file.
BOOL Transfer(HANDLE handle, char* buffer, DWORD count, LPDWORD done, LPOVERLAPPED overlapped, bool writing)
{
  if (done) {
    *done = 0;
  }
  auto file = LookupFile(handle);
  if (!file) {
    return FALSE;
  }
  if (overlapped || (!buffer && count > 0)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (writing ? !file->CanWrite() : !file->CanRead()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  DWORD moved = 0;
  BOOL result = TRUE;
  while (moved < count) {
    ssize_t step = writing ? write(file->fd(), buffer + moved, count - moved) : read(file->fd(), buffer + moved, count - moved);
    if (step < 0 && errno == EINTR) {
      continue;
    }
    if (step < 0) {
      SetLastErrorFromErrno();
      result = FALSE;
    }
    if (step <= 0) {
      break;
    }
    moved += static_cast<DWORD>(step);
  }
  if (done) {
    *done = moved;
  }
  return result;
}

}  // namespace
}  // namespace device

HANDLE CreateFileW(LPCWSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                   DWORD dwCreationDisposition, DWORD, HANDLE)
{
  using namespace device;
  bool truncates = dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == TRUNCATE_EXISTING;
  if (!lpFileName || dwCreationDisposition < CREATE_NEW || dwCreationDisposition > TRUNCATE_EXISTING ||
      (dwCreationDisposition == TRUNCATE_EXISTING && !(dwDesiredAccess & GENERIC_WRITE))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::optional<MappedPath> path = MapPath(lpFileName);
  if (!path) {
    return INVALID_HANDLE_VALUE;
  }
  if (!path->parentExists) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  bool reads = dwDesiredAccess & GENERIC_READ, writes = dwDesiredAccess & GENERIC_WRITE;
  int accessFlags = O_CLOEXEC | (reads && writes ? O_RDWR : writes ? O_WRONLY : O_RDONLY);
  bool existed = false;
  int fd = OpenHost(path->host, accessFlags, dwCreationDisposition, existed);
  if (fd < 0) {
    int error = errno;
    SetLastError(error == EEXIST ? ERROR_FILE_EXISTS : error == ENOENT ? ERROR_FILE_NOT_FOUND : ErrorFromErrno(error));
    return INVALID_HANDLE_VALUE;
  }
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  std::unique_ptr<FileShare> share = FileShare::Admit(fd, dwDesiredAccess, dwShareMode);
  if (!share) {
    close(fd);
    SetLastError(ERROR_SHARING_VIOLATION);
    return INVALID_HANDLE_VALUE;
  }
  // An open for reading only may still replace the file's content (CREATE_ALWAYS).
  if (existed && truncates && (writes ? ftruncate(fd, 0) : truncate(path->host.c_str(), 0)) != 0) {
    SetLastErrorFromErrno();
    close(fd);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = kernel::InsertHandle(std::make_shared<File>(fd, dwDesiredAccess, std::move(share)));
  if (!handle) {
    return INVALID_HANDLE_VALUE;
  }
  bool reportsExisting = existed && (dwCreationDisposition == CREATE_ALWAYS || dwCreationDisposition == OPEN_ALWAYS);
  SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return handle;
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead, LPOVERLAPPED lpOverlapped)
{
  return device::Transfer(hFile, static_cast<char*>(lpBuffer), nNumberOfBytesToRead, lpNumberOfBytesRead, lpOverlapped, false);
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped)
{
  return device::Transfer(hFile, static_cast<char*>(const_cast<void*>(lpBuffer)), nNumberOfBytesToWrite, lpNumberOfBytesWritten,
                          lpOverlapped, true);
}

DWORD GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh)
{
  auto file = device::LookupFile(hFile);
  struct stat info {};
  if (!file || fstat(file->fd(), &info) != 0) {
    if (file) {
      device::SetLastErrorFromErrno();
    }
    return INVALID_FILE_SIZE;
  }
  uint64_t size = static_cast<uint64_t>(info.st_size);
  if (lpFileSizeHigh) {
    *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(size);
}

DWORD SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod)
{
  auto file = device::LookupFile(hFile);
  if (!file) {
    return INVALID_SET_FILE_POINTER;
  }
  int64_t distance = lpDistanceToMoveHigh
                         ? static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(*lpDistanceToMoveHigh)) << 32) |
                                                static_cast<uint32_t>(lDistanceToMove))
                         : lDistanceToMove;
  int64_t base = 0;
  struct stat info {};
  if (dwMoveMethod == FILE_CURRENT) {
    base = lseek(file->fd(), 0, SEEK_CUR);
  } else if (dwMoveMethod == FILE_END) {
    base = fstat(file->fd(), &info) == 0 ? info.st_size : -1;
  } else if (dwMoveMethod != FILE_BEGIN) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (base < 0) {
    device::SetLastErrorFromErrno();
    return INVALID_SET_FILE_POINTER;
  }
  int64_t position = base + distance;
  if (position < 0) {
    SetLastError(ERROR_NEGATIVE_SEEK);
    return INVALID_SET_FILE_POINTER;
  }
  // Without a high part the new position must fit 32 bits.
  if (!lpDistanceToMoveHigh && position >= INVALID_SET_FILE_POINTER) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_SET_FILE_POINTER;
  }
  if (lseek(file->fd(), static_cast<off_t>(position), SEEK_SET) < 0) {
    device::SetLastErrorFromErrno();
    return INVALID_SET_FILE_POINTER;
  }
  if (lpDistanceToMoveHigh) {
    *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<uint64_t>(position) >> 32);
  }
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(position);
}

BOOL SetEndOfFile(HANDLE hFile)
{
  auto file = device::LookupFile(hFile);
  if (!file) {
    return FALSE;
  }
  if (!file->CanWrite()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  off_t position = lseek(file->fd(), 0, SEEK_CUR);
  if (position < 0 || ftruncate(file->fd(), position) != 0) {
    device::SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}

BOOL FlushFileBuffers(HANDLE hFile)
{
  auto file = device::LookupFile(hFile);
  if (!file) {
    return FALSE;
  }
  if (fdatasync(file->fd()) != 0) {
    device::SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}
