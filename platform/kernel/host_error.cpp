#include "kernel/host_error.h"

#include "base/errors.h"
#include "base/lasterror.h"

#include <cerrno>

namespace device {

DWORD ErrorFromErrno(int error)
{
  switch (error) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
    case ELOOP:
      return ERROR_ACCESS_DENIED;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENOSPC:
    case EDQUOT:
      return ERROR_DISK_FULL;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case ENOEXEC:
      return ERROR_BAD_EXE_FORMAT;
    default:
      return ERROR_GEN_FAILURE;
  }
}

void SetLastErrorFromErrno(int error)
{
  SetLastError(ErrorFromErrno(error));
}

void SetLastErrorFromErrno()
{
  SetLastErrorFromErrno(errno);
}

}  // namespace device
