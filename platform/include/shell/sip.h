// The soft input panel: a strip of the screen's width directly above the soft-key bar (80
// pixels high at 96 dots per inch), and the device's input methods. Every change of the panel
// (shown, hidden, another input method) posts WM_SETTINGCHANGE with SPI_SETSIPINFO to the
// process's top-level windows. While it is shown, the panel is a keyboard in a topmost window
// of its own ("SipWndClass", never activated); a tap on a key types it into the window that key
// input goes to.
#pragma once

#include "base/types.h"
#include "shell/work_area.h"

#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

// cbSize must be sizeof(SIPINFO) (48 bytes on the device, where the data pointer is 4 bytes).
struct SIPINFO {
  DWORD cbSize;
  DWORD fdwFlags;          // SIPF_ON while the panel is shown, else 0
  RECT rcVisibleDesktop;   // the work area less the soft-key bar, or less the panel when it is shown
  RECT rcSipRect;          // where the panel is (or would be), in screen coordinates
  DWORD dwImDataSize;
  void* pvImData;
};
typedef SIPINFO* PSIPINFO;

// SIPF_ON shows the panel, SIPF_OFF hides it.
BOOL SipShowIM(DWORD dwFlag);
// FALSE for a null record or a wrong cbSize.
BOOL SipGetInfo(SIPINFO* pSipInfo);
// Shows or hides the panel after SIPF_ON of fdwFlags; the panel's place is fixed.
BOOL SipSetInfo(SIPINFO* pSipInfo);

#define SPI_SETCURRENTIM 226
#define SPI_GETCURRENTIM 227

// SPI_GETSIPINFO, SPI_SETSIPINFO (pvParam a SIPINFO), SPI_GETCURRENTIM, SPI_SETCURRENTIM
// (pvParam a CLSID).
BOOL SHSipInfo(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);

enum SIPSTATE {
  SIP_UP = 0,
  SIP_DOWN = 1,
  SIP_FORCEDOWN = 2,
  SIP_UNCHANGED = 3,
  SIP_INPUTDIALOG = 4,
};
// Raises (SIP_UP, SIP_INPUTDIALOG) or lowers (SIP_DOWN, SIP_FORCEDOWN) the panel for the
// window. FALSE for a window that does not exist.
BOOL SHSipPreference(HWND hwnd, SIPSTATE st);

typedef GUID CLSID;

struct IMENUMINFO {
  WCHAR szName[MAX_PATH];
  CLSID clsid;
};
typedef IMENUMINFO* PIMENUMINFO;
// Return FALSE to stop the enumeration.
typedef int (*IMENUMPROC)(IMENUMINFO* pIMInfo);

// Calls the procedure for each input method of the device; the number it was called for.
int SipEnumIM(IMENUMPROC pEnumIMProc);
BOOL SipGetCurrentIM(CLSID* pClsid);
// FALSE for an input method that the device does not have.
BOOL SipSetCurrentIM(CLSID* pClsid);
