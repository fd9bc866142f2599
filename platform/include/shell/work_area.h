// The screen's work area and full-screen mode. The task bar is a strip at the top of the
// screen, as high as a caption; it draws nothing here, it only takes its strip out of the work
// area while it is shown. The soft-key bar is the strip of the same height at the bottom.
#pragma once

#include "base/types.h"

#define SPI_GETWORKAREA 48
#define SPI_SETSIPINFO 224
#define SPI_GETSIPINFO 225

// SPI_GETWORKAREA: the screen less the task bar's strip while it is shown, into the RECT at
// pvParam. SPI_GETSIPINFO and SPI_SETSIPINFO: the soft input panel (see shell/sip.h).
// Other actions fail with ERROR_INVALID_PARAMETER.
BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);
inline BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni)
{
  return SystemParametersInfoW(uiAction, uiParam, pvParam, fWinIni);
}

#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020

// Shows or hides the task bar for the window's full-screen mode (one task bar for the whole
// screen); the input-panel button and start icon flags are accepted and change nothing seen.
// FALSE for a window that does not exist.
BOOL SHFullScreen(HWND hwnd, DWORD dwState);
