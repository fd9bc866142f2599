#include "shell/dialog.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "screen_layout.h"
#include "user/user.h"

namespace {

bool ValidRecord(const SHACTIVATEINFO* info)
{
  if (info == nullptr || info->cbSize != sizeof(SHACTIVATEINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

}  // namespace

BOOL SHInitDialog(PSHINITDLGINFO pshidi)
{
  if (pshidi == nullptr || !IsWindow(pshidi->hDlg)) {
    SetLastError(pshidi == nullptr ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  if (!(pshidi->dwMask & SHIDIM_FLAGS)) {
    return TRUE;
  }
  DWORD flags = pshidi->dwFlags;
  if (flags & SHIDIF_SIPDOWN) {
    shell::SetSipOn(false);
  }
  bool topLevel = !(static_cast<DWORD>(GetWindowLongW(pshidi->hDlg, GWL_STYLE)) & WS_CHILD);
  if (!topLevel || !(flags & (SHIDIF_FULLSCREENNOMENUBAR | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG))) {
    return TRUE;
  }
  RECT place = (flags & SHIDIF_FULLSCREENNOMENUBAR) ? shell::WorkArea()
               : (flags & SHIDIF_SIZEDLGFULLSCREEN) ? shell::AboveSoftKeyBar()
                                                    : shell::VisibleDesktop();
  SetWindowPos(pshidi->hDlg, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return TRUE;
}

BOOL SHHandleWMActivate(HWND, WPARAM wParam, LPARAM, SHACTIVATEINFO* psai, DWORD)
{
  if (!ValidRecord(psai)) {
    return FALSE;
  }
  if (LOWORD(wParam) == WA_INACTIVE) {
    psai->fActive = 0;
    psai->fSipOnDeactivation = shell::IsSipOn() ? 1 : 0;
    return TRUE;
  }
  psai->fActive = 1;
  shell::SetSipOn(psai->fSipUp != 0);
  return TRUE;
}

BOOL SHHandleWMSettingChange(HWND, WPARAM wParam, LPARAM, SHACTIVATEINFO* psai)
{
  if (!ValidRecord(psai)) {
    return FALSE;
  }
  if (wParam == SPI_SETSIPINFO && psai->fActive) {
    psai->fSipUp = shell::IsSipOn() ? 1 : 0;
  }
  return TRUE;
}

BOOL SHInitExtraControls()
{
  return TRUE;
}
