#include "kernel/file_system.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/host_error.h"
#include "open_files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace device {
namespace {

bool Fail(DWORD error)
{
  SetLastError(error);
  return false;
}

bool FailFromErrno()
{
  SetLastErrorFromErrno();
  return false;
}

bool IsFolder(const std::string& hostPath)
{
  struct stat info {};
  return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool SameEntry(const std::string& a, const std::string& b)
{
  struct stat first {}, second {};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

std::string FolderOf(const std::string& hostPath)
{
  return hostPath.substr(0, hostPath.rfind('/'));
}

// The last part of a device path as given, in host form.
std::string GivenName(std::u16string_view devicePath)
{
  while (!devicePath.empty() && devicePath.back() == u'\\') {
    devicePath.remove_suffix(1);
  }
  size_t slash = devicePath.rfind(u'\\');
  return ToHost(devicePath.substr(slash == std::u16string_view::npos ? 0 : slash + 1)).value_or(std::string());
}

// The target of a new entry: its folder must exist.
std::optional<MappedPath> MapTarget(LPCWSTR devicePath)
{
  if (!devicePath) {
    Fail(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  std::optional<MappedPath> mapped = MapPath(devicePath);
  if (mapped && !mapped->parentExists) {
    Fail(ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  return mapped;
}

bool CopyContent(int from, int to)
{
  char buffer[65536];
  for (;;) {
    ssize_t got = read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      return got == 0;
    }
    for (ssize_t done = 0; done < got;) {
      ssize_t put = write(to, buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno != EINTR) {
        return false;
      }
      done += put < 0 ? 0 : put;
    }
  }
}

// Copies into a temporary file beside the target, then renames it into place, so the target is
// never seen half written.
bool CopyHostFile(const std::string& source, const std::string& target, bool failIfExists)
{
  int from = open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (from < 0) {
    return FailFromErrno();
  }
  std::string temporary = FolderOf(target) + "/.~copy-XXXXXX";
  int to = mkostemp(temporary.data(), O_CLOEXEC);
  if (to < 0) {
    close(from);
    return FailFromErrno();
  }
  struct stat info {};
  bool copied = fstat(from, &info) == 0 && fchmod(to, info.st_mode & 0777) == 0 && CopyContent(from, to);
  int error = errno;
  close(from);
  if (close(to) != 0 && copied) {
    copied = false;
    error = errno;
  }
  if (copied) {
    int renamed = failIfExists ? renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE)
                               : rename(temporary.c_str(), target.c_str());
    if (renamed == 0) {
      return true;
    }
    error = errno;
  }
  unlink(temporary.c_str());
  return Fail(error == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(error));
}

}  // namespace
}  // namespace device

using namespace device;

BOOL DeleteFileW(LPCWSTR lpFileName)
{
  std::optional<MappedPath> path = MapExistingPath(lpFileName);
  if (!path) {
    return FALSE;
  }
  if (IsFolder(path->host)) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  if (!MayRemove(path->host)) {
    return Fail(ERROR_SHARING_VIOLATION);
  }
  return unlink(path->host.c_str()) == 0 || FailFromErrno();
}

BOOL MoveFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName)
{
  std::optional<MappedPath> source = MapExistingPath(lpExistingFileName);
  std::optional<MappedPath> target = source ? MapTarget(lpNewFileName) : std::nullopt;
  if (!target) {
    return FALSE;
  }
  if (!MayRemove(source->host)) {
    return Fail(ERROR_SHARING_VIOLATION);
  }
  std::string destination = target->host;
  if (target->exists) {
    if (!SameEntry(source->host, target->host)) {
      return Fail(ERROR_ALREADY_EXISTS);
    }
    // The same entry under another case: a rename to the case given.
    destination = FolderOf(target->host) + "/" + GivenName(lpNewFileName);
    return rename(source->host.c_str(), destination.c_str()) == 0 || FailFromErrno();
  }
  if (renameat2(AT_FDCWD, source->host.c_str(), AT_FDCWD, destination.c_str(), RENAME_NOREPLACE) != 0) {
    return FailFromErrno();
  }
  return TRUE;
}

BOOL CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists)
{
  std::optional<MappedPath> source = MapExistingPath(lpExistingFileName);
  std::optional<MappedPath> target = source ? MapTarget(lpNewFileName) : std::nullopt;
  if (!target) {
    return FALSE;
  }
  if (IsFolder(source->host)) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  if (target->exists) {
    if (bFailIfExists) {
      return Fail(ERROR_FILE_EXISTS);
    }
    if (IsFolder(target->host)) {
      return Fail(ERROR_ACCESS_DENIED);
    }
    if (SameEntry(source->host, target->host) || !MayRemove(target->host)) {
      return Fail(ERROR_SHARING_VIOLATION);
    }
  }
  if (!MayRead(source->host)) {
    return Fail(ERROR_SHARING_VIOLATION);
  }
  return CopyHostFile(source->host, target->host, bFailIfExists);
}

BOOL CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
  std::optional<MappedPath> path = MapTarget(lpPathName);
  if (!path) {
    return FALSE;
  }
  if (path->exists) {
    return Fail(ERROR_ALREADY_EXISTS);
  }
  return mkdir(path->host.c_str(), 0777) == 0 || FailFromErrno();
}

BOOL RemoveDirectoryW(LPCWSTR lpPathName)
{
  std::optional<MappedPath> path = MapExistingPath(lpPathName);
  if (!path) {
    return FALSE;
  }
  if (path->host == RootPath()) {
    return Fail(ERROR_ACCESS_DENIED);
  }
  if (!IsFolder(path->host)) {
    return Fail(ERROR_DIRECTORY);
  }
  return rmdir(path->host.c_str()) == 0 || FailFromErrno();
}

DWORD GetFileAttributesW(LPCWSTR lpFileName)
{
  std::optional<MappedPath> path = MapExistingPath(lpFileName);
  struct stat info {};
  if (!path || stat(path->host.c_str(), &info) != 0) {
    return INVALID_FILE_ATTRIBUTES;
  }
  if (S_ISDIR(info.st_mode)) {
    return FILE_ATTRIBUTE_DIRECTORY;
  }
  return FILE_ATTRIBUTE_ARCHIVE | ((info.st_mode & S_IWUSR) ? 0 : FILE_ATTRIBUTE_READONLY);
}

DWORD GetTempPathW(DWORD nBufferLength, LPWSTR lpBuffer)
{
  static constexpr char16_t kTemp[] = u"\\Temp\\";
  constexpr DWORD length = sizeof kTemp / sizeof kTemp[0] - 1;
  std::optional<MappedPath> folder = MapPath(kTemp);
  if (folder && !folder->exists) {
    mkdir(folder->host.c_str(), 0777);
  }
  if (!lpBuffer || nBufferLength <= length) {
    return length + 1;
  }
  std::char_traits<char16_t>::copy(lpBuffer, kTemp, length + 1);
  return length;
}
