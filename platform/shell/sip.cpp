#include "shell/sip.h"

#include <cstring>

#include "base/errors.h"
#include "base/lasterror.h"
#include "screen_layout.h"
#include "text/widechar.h"
#include "user/user.h"

namespace {

bool ValidRecord(const SIPINFO* info)
{
  if (info == nullptr || info->cbSize != sizeof(SIPINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

}  // namespace

BOOL SipShowIM(DWORD dwFlag)
{
  shell::SetSipOn((dwFlag & SIPF_ON) != 0);
  return TRUE;
}

BOOL SipGetInfo(SIPINFO* pSipInfo)
{
  if (!ValidRecord(pSipInfo)) {
    return FALSE;
  }
  pSipInfo->fdwFlags = shell::IsSipOn() ? SIPF_ON : SIPF_OFF;
  pSipInfo->rcVisibleDesktop = shell::VisibleDesktop();
  pSipInfo->rcSipRect = shell::SipRect();
  pSipInfo->dwImDataSize = 0;
  pSipInfo->pvImData = nullptr;
  return TRUE;
}

BOOL SipSetInfo(SIPINFO* pSipInfo)
{
  if (!ValidRecord(pSipInfo)) {
    return FALSE;
  }
  shell::SetSipOn((pSipInfo->fdwFlags & SIPF_ON) != 0);
  return TRUE;
}

BOOL SHSipInfo(UINT uiAction, UINT, PVOID pvParam, UINT)
{
  switch (uiAction) {
    case SPI_GETSIPINFO: return SipGetInfo(static_cast<SIPINFO*>(pvParam));
    case SPI_SETSIPINFO: return SipSetInfo(static_cast<SIPINFO*>(pvParam));
    case SPI_GETCURRENTIM: return SipGetCurrentIM(static_cast<CLSID*>(pvParam));
    case SPI_SETCURRENTIM: return SipSetCurrentIM(static_cast<CLSID*>(pvParam));
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
}

BOOL SHSipPreference(HWND hwnd, SIPSTATE st)
{
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  switch (st) {
    case SIP_UP:
    case SIP_INPUTDIALOG: shell::SetSipOn(true); break;
    case SIP_DOWN:
    case SIP_FORCEDOWN: shell::SetSipOn(false); break;
    case SIP_UNCHANGED: break;
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
  return TRUE;
}

int SipEnumIM(IMENUMPROC pEnumIMProc)
{
  if (pEnumIMProc == nullptr) {
    return 0;
  }
  size_t count = 0;
  const shell::InputMethod* methods = shell::InputMethods(&count);
  int called = 0;
  for (size_t i = 0; i < count; ++i) {
    IMENUMINFO info{};
    wcsncpy(info.szName, methods[i].name, MAX_PATH - 1);
    info.clsid = methods[i].clsid;
    ++called;
    if (!pEnumIMProc(&info)) {
      break;
    }
  }
  return called;
}

BOOL SipGetCurrentIM(CLSID* pClsid)
{
  if (pClsid == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  *pClsid = shell::CurrentInputMethod();
  return TRUE;
}

BOOL SipSetCurrentIM(CLSID* pClsid)
{
  if (pClsid == nullptr || !shell::SetCurrentInputMethod(*pClsid)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}
