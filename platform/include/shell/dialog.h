// The shell's part in dialogs and application windows: sizing a dialog to the screen, keeping
// each window's soft-input-panel state across activation, and the extra control classes.
#pragma once

#include "base/types.h"

#define SHIDIM_FLAGS 0x0001

#define SHIDIF_DONEBUTTON 0x0001
#define SHIDIF_SIZEDLG 0x0002
#define SHIDIF_SIZEDLGFULLSCREEN 0x0004
#define SHIDIF_SIPDOWN 0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU 0x0020
#define SHIDIF_WANTSCROLLBAR 0x0040

struct SHINITDLGINFO {
  DWORD dwMask;
  HWND hDlg;
  DWORD dwFlags;
};
typedef SHINITDLGINFO* PSHINITDLGINFO;

// With SHIDIM_FLAGS: SHIDIF_SIPDOWN lowers the panel; a top-level dialog is placed over the
// work area: down to the screen's bottom with SHIDIF_FULLSCREENNOMENUBAR, above the soft-key bar
// with SHIDIF_SIZEDLGFULLSCREEN, above the panel (or the bar) with SHIDIF_SIZEDLG. FALSE for a
// null record or a dialog that does not exist.
BOOL SHInitDialog(PSHINITDLGINFO pshidi);

// A window's record of the panel; zeroed with cbSize set before the first use.
struct SHACTIVATEINFO {
  DWORD cbSize;
  HWND hwndLastFocus;
  UINT fSipUp : 1;              // the panel was up while the window was active last
  UINT fSipOnDeactivation : 1;  // the panel was up when the window lost activation
  UINT fActive : 1;
  UINT fReserved : 29;
};
typedef SHACTIVATEINFO* PSHACTIVATEINFO;

#define SHA_INPUTDIALOG 0x00000001

// WM_ACTIVATE: activation raises or lowers the panel after the window's record; deactivation
// notes whether it was up. FALSE for a null record or a wrong cbSize.
BOOL SHHandleWMActivate(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai, DWORD dwFlags);
// WM_SETTINGCHANGE: with SPI_SETSIPINFO while the window is active, notes whether the panel is
// up. FALSE for a null record or a wrong cbSize.
BOOL SHHandleWMSettingChange(HWND hwnd, WPARAM wParam, LPARAM lParam, SHACTIVATEINFO* psai);

// The shell's extra control classes; the device's own classes serve every need, so this only
// reports success.
BOOL SHInitExtraControls();
