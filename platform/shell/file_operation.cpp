#include "shell/file_operation.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"

namespace {

// The host paths of every device path of the list, or the error that refuses the list.
int MapAll(LPCWSTR list, std::vector<std::string>& hosts)
{
  if (!list || !*list) {
    return ERROR_INVALID_PARAMETER;
  }
  const std::string root = device::RootPath();
  for (LPCWSTR path = list; *path; path += std::char_traits<char16_t>::length(path) + 1) {
    std::optional<device::MappedPath> mapped = device::MapExistingPath(path);
    if (!mapped) {
      return static_cast<int>(GetLastError());
    }
    if (mapped->host == root) {
      return ERROR_ACCESS_DENIED;
    }
    hosts.push_back(mapped->host);
  }
  return ERROR_SUCCESS;
}

}  // namespace

int SHFileOperation(LPSHFILEOPSTRUCT lpFileOp)
{
  if (!lpFileOp) {
    return ERROR_INVALID_PARAMETER;
  }
  lpFileOp->fAnyOperationsAborted = FALSE;
  if (lpFileOp->wFunc != FO_DELETE) {
    return ERROR_INVALID_FUNCTION;
  }
  std::vector<std::string> hosts;
  if (int refused = MapAll(lpFileOp->pFrom, hosts); refused != ERROR_SUCCESS) {
    return refused;
  }
  for (const std::string& host : hosts) {
    std::error_code error;
    std::filesystem::remove_all(host, error);
    if (error) {
      lpFileOp->fAnyOperationsAborted = TRUE;
      return error == std::errc::permission_denied ? ERROR_ACCESS_DENIED : ERROR_GEN_FAILURE;
    }
  }
  return ERROR_SUCCESS;
}
