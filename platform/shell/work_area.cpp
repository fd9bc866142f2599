#include "shell/work_area.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "screen_layout.h"
#include "user/user.h"

BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni)
{
  switch (uiAction) {
    case SPI_GETWORKAREA:
      if (pvParam == nullptr) {
        break;
      }
      *static_cast<RECT*>(pvParam) = shell::WorkArea();
      return TRUE;
    case SPI_GETSIPINFO:
    case SPI_SETSIPINFO:
      return SHSipInfo(uiAction, uiParam, pvParam, fWinIni);
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}

BOOL SHFullScreen(HWND hwnd, DWORD dwState)
{
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (dwState & SHFS_HIDETASKBAR) {
    shell::ShowTaskBar(false);
  } else if (dwState & SHFS_SHOWTASKBAR) {
    shell::ShowTaskBar(true);
  }
  return TRUE;
}
