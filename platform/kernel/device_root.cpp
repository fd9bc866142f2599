#include "kernel/device_root.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "text/codepage.h"
#include "text/widechar.h"
#include "host_folder.h"
#include "kernel/modules.h"
#include "process_list.h"

#include <cerrno>
#include <cstdlib>
#include <limits.h>
#include <memory>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace device {

std::string ConfiguredRoot()
{
  if (const char* root = getenv("KORVEX_DEVICE_ROOT"); root && *root) {
    return root;
  }
  if (const char* data = getenv("XDG_DATA_HOME"); data && *data) {
    return std::string(data) + "/korvex-device";
  }
  const char* home = getenv("HOME");
  if (!home || !*home) {
    const passwd* user = getpwuid(getuid());
    home = user ? user->pw_dir : "/";
  }
  return std::string(home) + "/.local/share/korvex-device";
}

namespace {

// Creates a folder and the missing folders above it, each owner-only.
void MakeFolders(const std::string& path)
{
  for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0700);
  }
  mkdir(path.c_str(), 0700);
}

std::string Resolved(const std::string& path)
{
  std::unique_ptr<char, decltype(&free)> resolved(realpath(path.c_str(), nullptr), &free);
  return resolved ? std::string(resolved.get()) : path;
}

bool ForbiddenInName(char16_t c)
{
  return c < 0x20 || c == u'/' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>' || c == u'|';
}

std::vector<std::u16string_view> SplitDevicePath(std::u16string_view path)
{
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) {
      end = path.size();
    }
    if (end > start) {
      parts.push_back(path.substr(start, end - start));
    }
    start = end + 1;
  }
  return parts;
}

// The name of the entry in folder that matches name: the exact name first, else one that
// differs only in case. Empty when there is none.
std::string FindEntry(const std::string& folder, std::u16string_view name, const std::string& hostName)
{
  struct stat info {};
  if (lstat((folder + "/" + hostName).c_str(), &info) == 0) {
    return hostName;
  }
  HostFolder dir = OpenHostFolder(folder);
  if (!dir) {
    return {};
  }
  while (const dirent* entry = readdir(dir.get())) {
    std::optional<std::u16string> entryName = FromHost(entry->d_name);
    if (entryName && SameName(*entryName, name)) {
      return entry->d_name;
    }
  }
  return {};
}

// The root in use, created when it is new; unlike RootPath, it does not enter the process in the
// device's process list.
std::string ResolvedRoot()
{
  // Never destroyed: threads still running at exit (process watchers) may ask for the root.
  struct Cache {
    std::mutex mutex;
    std::string configured, resolved;
  };
  static Cache& cache = *new Cache;
  std::string wanted = ConfiguredRoot();
  std::lock_guard lock(cache.mutex);
  if (wanted != cache.configured) {
    MakeFolders(wanted);
    cache.configured = wanted;
    cache.resolved = Resolved(wanted);
  }
  return cache.resolved;
}

}  // namespace

std::string RootPath()
{
  std::string root = ResolvedRoot();
  ListThisProcess(root);  // a process that uses a device is in its process list
  return root;
}

namespace {

// A program installed in the device root is in the device's process list from its start.
__attribute__((constructor)) void ListInstalledProgram()
{
  std::string root = Resolved(ConfiguredRoot());
  const std::string& program = ProgramHostPath();
  if (program.size() > root.size() && program.compare(0, root.size(), root) == 0 && program[root.size()] == '/') {
    RootPath();
  }
}

}  // namespace

std::string PrivateFolder(std::string_view name)
{
  std::string folder = RootPath() + "/" + ToHost(kPrivateFolderName).value();
  mkdir(folder.c_str(), 0700);
  folder += "/";
  folder += name;
  mkdir(folder.c_str(), 0700);
  return folder;
}

std::optional<MappedPath> MapPath(std::u16string_view devicePath)
{
  std::vector<std::u16string_view> parts = SplitDevicePath(devicePath);
  for (std::u16string_view part : parts) {
    bool forbidden = part == u"." || part == u"..";
    for (char16_t c : part) {
      forbidden = forbidden || ForbiddenInName(c);
    }
    if (forbidden) {
      SetLastError(ERROR_INVALID_NAME);
      return std::nullopt;
    }
  }
  if (!parts.empty() && SameName(parts[0], kPrivateFolderName)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return std::nullopt;
  }

  MappedPath mapped{RootPath(), true, true};
  bool folderExists = true;  // the host path built so far is an existing folder
  for (size_t i = 0; i < parts.size(); ++i) {
    bool last = i + 1 == parts.size();
    std::optional<std::string> name = ToHost(parts[i]);
    if (!name) {
      SetLastError(ERROR_INVALID_NAME);
      return std::nullopt;
    }
    std::string entry = folderExists ? FindEntry(mapped.host, parts[i], *name) : std::string();
    mapped.host += "/" + (entry.empty() ? *name : entry);
    if (last) {
      mapped.parentExists = folderExists;
      mapped.exists = !entry.empty();
    }
    if (entry.empty()) {
      folderExists = false;
      continue;
    }
    struct stat info {};
    if (lstat(mapped.host.c_str(), &info) != 0) {
      folderExists = false;
      mapped.exists = false;
      continue;
    }
    if (S_ISLNK(info.st_mode)) {
      SetLastError(ERROR_ACCESS_DENIED);
      return std::nullopt;
    }
    folderExists = S_ISDIR(info.st_mode);
  }
  return mapped;
}

std::optional<MappedPath> MapExistingPath(const char16_t* devicePath)
{
  if (!devicePath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  std::optional<MappedPath> mapped = MapPath(devicePath);
  if (mapped && !mapped->exists) {
    SetLastError(mapped->parentExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return std::nullopt;
  }
  return mapped;
}

std::optional<std::u16string> DevicePathOf(const std::string& hostPath)
{
  std::string root = ResolvedRoot();
  std::string path = Resolved(hostPath);
  if (path == root) {
    return u"\\";
  }
  if (path.size() <= root.size() || path.compare(0, root.size(), root) != 0 || path[root.size()] != '/') {
    return std::nullopt;
  }
  std::u16string device;
  for (size_t start = root.size() + 1; start <= path.size();) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) {
      end = path.size();
    }
    std::optional<std::u16string> part = FromHost(std::string_view(path).substr(start, end - start));
    if (!part || (device.empty() && SameName(*part, kPrivateFolderName))) {
      return std::nullopt;
    }
    device += u'\\';
    device += *part;
    start = end + 1;
  }
  return device;
}

std::optional<std::string> ToHost(std::u16string_view text)
{
  if (text.empty()) {
    return std::string();
  }
  int length = static_cast<int>(text.size());
  int size = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) {
    return std::nullopt;
  }
  std::string host(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, host.data(), size, nullptr, nullptr);
  return host;
}

std::optional<std::u16string> FromHost(std::string_view text)
{
  if (text.empty()) {
    return std::u16string();
  }
  int length = static_cast<int>(text.size());
  int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (size <= 0) {
    return std::nullopt;
  }
  std::u16string device(static_cast<size_t>(size), u'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, device.data(), size);
  return device;
}

bool SameName(std::u16string_view a, std::u16string_view b)
{
  if (a.size() != b.size()) {
    return false;
  }
  for (size_t i = 0; i < a.size(); ++i) {
    if (towupper(a[i]) != towupper(b[i])) {
      return false;
    }
  }
  return true;
}

}  // namespace device
