#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/file_system.h"
#include "kernel/handle_table.h"
#include "kernel/host_error.h"
#include "wildcard.h"
#include "host_folder.h"

#include <algorithm>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace device {
namespace {

// A search: the matching entries, read when it started, and the next one to hand out.
class Search : public kernel::Object {
 public:
  bool ClosedByCloseHandle() const override { return false; }

  std::vector<WIN32_FIND_DATAW> entries;
  size_t next = 0;
};

FILETIME ToFileTime(const timespec& time)
{
  constexpr uint64_t kSecondsFrom1601To1970 = 11644473600ull;
  uint64_t ticks = (static_cast<uint64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000ull +
                   static_cast<uint64_t>(time.tv_nsec) / 100;
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

std::optional<WIN32_FIND_DATAW> Describe(const std::string& hostPath, const std::u16string& name)
{
  struct stat info {};
  if (name.size() >= MAX_PATH || stat(hostPath.c_str(), &info) != 0) {
    return std::nullopt;
  }
  WIN32_FIND_DATAW data{};
  data.dwFileAttributes = S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY
                                                : FILE_ATTRIBUTE_ARCHIVE | ((info.st_mode & S_IWUSR) ? 0 : FILE_ATTRIBUTE_READONLY);
  data.ftCreationTime = ToFileTime(info.st_ctim);
  data.ftLastAccessTime = ToFileTime(info.st_atim);
  data.ftLastWriteTime = ToFileTime(info.st_mtim);
  uint64_t size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
  data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
  data.nFileSizeLow = static_cast<DWORD>(size);
  std::copy(name.begin(), name.end(), data.cFileName);
  return data;
}

// Device-side order of names: case ignored, then as given.
bool NameOrder(const WIN32_FIND_DATAW& a, const WIN32_FIND_DATAW& b)
{
  std::u16string_view x(a.cFileName), y(b.cFileName);
  for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
    char16_t left = towupper(x[i]), right = towupper(y[i]);
    if (left != right) {
      return left < right;
    }
  }
  return x.size() != y.size() ? x.size() < y.size() : x < y;
}

std::vector<WIN32_FIND_DATAW> ListFolder(const std::string& folder, std::u16string_view pattern, bool isRoot)
{
  std::vector<WIN32_FIND_DATAW> entries;
  HostFolder dir = OpenHostFolder(folder);
  while (dir) {
    const dirent* entry = readdir(dir.get());
    if (!entry) {
      break;
    }
    std::optional<std::u16string> name = FromHost(entry->d_name);
    if (!name || *name == u"." || *name == u".." || (isRoot && SameName(*name, kPrivateFolderName)) ||
        !MatchesWildcard(pattern, *name)) {
      continue;
    }
    if (auto data = Describe(folder + "/" + entry->d_name, *name)) {
      entries.push_back(*data);
    }
  }
  std::sort(entries.begin(), entries.end(), NameOrder);
  return entries;
}

}  // namespace
}  // namespace device

using namespace device;

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData)
{
  if (!lpFileName || !lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::u16string_view path(lpFileName);
  size_t slash = path.rfind(u'\\');
  std::u16string_view folderPath = slash == std::u16string_view::npos ? u"" : path.substr(0, slash);
  std::u16string_view pattern = path.substr(slash == std::u16string_view::npos ? 0 : slash + 1);
  std::optional<MappedPath> folder = MapPath(folderPath);
  if (!folder) {
    return INVALID_HANDLE_VALUE;
  }
  struct stat info {};
  if (pattern.empty() || !folder->exists || stat(folder->host.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    SetLastError(pattern.empty() ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_shared<Search>();
  search->entries = ListFolder(folder->host, pattern, folder->host == RootPath());
  if (search->entries.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *lpFindFileData = search->entries[search->next++];
  HANDLE handle = kernel::InsertHandle(search);
  return handle ? handle : INVALID_HANDLE_VALUE;
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData)
{
  auto search = kernel::LookupHandleAs<Search>(hFindFile);
  if (!search) {
    return FALSE;
  }
  if (!lpFindFileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (search->next >= search->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *lpFindFileData = search->entries[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE hFindFile)
{
  if (!kernel::LookupHandleAs<Search>(hFindFile)) {
    return FALSE;
  }
  kernel::RemoveHandle(hFindFile);
  return TRUE;
}
