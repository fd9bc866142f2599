#include "shell/shell_execute.h"

#include <string>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/kernel.h"
#include "text/widechar.h"

namespace {

bool KnownVerb(const WCHAR* verb)
{
  return verb == nullptr || *verb == 0 || _wcsicmp(verb, u"open") == 0;
}

// A program: a name without an extension (".exe" is added) or one ending in ".exe".
bool IsProgram(const std::u16string& file)
{
  size_t name = file.find_last_of(u'\\');
  size_t dot = file.find_last_of(u'.');
  if (dot == std::u16string::npos || (name != std::u16string::npos && dot < name)) {
    return true;
  }
  return _wcsicmp(file.c_str() + dot, u".exe") == 0;
}

HINSTANCE ErrorCode(DWORD error)
{
  int code = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? SE_ERR_FNF
             : error == ERROR_NO_ASSOCIATION                               ? SE_ERR_NOASSOC
                                                                           : SE_ERR_ACCESSDENIED;
  return reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(code));
}

BOOL Fail(SHELLEXECUTEINFO* info, DWORD error)
{
  info->hInstApp = ErrorCode(error);
  SetLastError(error);
  return FALSE;
}

}  // namespace

BOOL ShellExecuteEx(SHELLEXECUTEINFO* pExecInfo)
{
  if (pExecInfo == nullptr || pExecInfo->cbSize != sizeof(SHELLEXECUTEINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  pExecInfo->hProcess = nullptr;
  if (!KnownVerb(pExecInfo->lpVerb) || pExecInfo->lpFile == nullptr || *pExecInfo->lpFile == 0) {
    return Fail(pExecInfo, ERROR_INVALID_PARAMETER);
  }
  // A file name may come in double quotes.
  std::u16string file = pExecInfo->lpFile;
  if (file.size() >= 2 && file.front() == u'"' && file.back() == u'"') {
    file = file.substr(1, file.size() - 2);
  }
  if (!IsProgram(file)) {
    return Fail(pExecInfo, ERROR_NO_ASSOCIATION);
  }
  std::u16string parameters = pExecInfo->lpParameters != nullptr ? pExecInfo->lpParameters : u"";
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(file.c_str(), parameters.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                      &process)) {
    return Fail(pExecInfo, GetLastError());
  }
  CloseHandle(process.hThread);
  if (pExecInfo->fMask & SEE_MASK_NOCLOSEPROCESS) {
    pExecInfo->hProcess = process.hProcess;
  } else {
    CloseHandle(process.hProcess);
  }
  pExecInfo->hInstApp = reinterpret_cast<HINSTANCE>(static_cast<intptr_t>(SE_ERR_SUCCESS));
  return TRUE;
}
