// The screen's size and display mode, from the device settings.
#pragma once

#include "base/types.h"

#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CYMENU 15
#define SM_CYVSCROLL 20
#define SM_CXHSCROLL 21
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50

int GetSystemMetrics(int index);

#define ENUM_CURRENT_SETTINGS (static_cast<DWORD>(-1))
#define ENUM_REGISTRY_SETTINGS (static_cast<DWORD>(-2))

#define DM_BITSPERPEL 0x00040000
#define DM_PELSWIDTH 0x00080000
#define DM_PELSHEIGHT 0x00100000
#define DM_DISPLAYFLAGS 0x00200000
#define DM_DISPLAYFREQUENCY 0x00400000
#define DM_DISPLAYORIENTATION 0x00800000

#define DMDO_0 0
#define DMDO_90 1
#define DMDO_180 2
#define DMDO_270 4

#define CCHDEVICENAME 32
#define CCHFORMNAME 32

// The display mode record (192 bytes, as on the device).
struct DEVMODEW {
  WCHAR dmDeviceName[CCHDEVICENAME];
  WORD dmSpecVersion;
  WORD dmDriverVersion;
  WORD dmSize;
  WORD dmDriverExtra;
  DWORD dmFields;
  SHORT dmOrientation;
  SHORT dmPaperSize;
  SHORT dmPaperLength;
  SHORT dmPaperWidth;
  SHORT dmScale;
  SHORT dmCopies;
  SHORT dmDefaultSource;
  SHORT dmPrintQuality;
  SHORT dmColor;
  SHORT dmDuplex;
  SHORT dmYResolution;
  SHORT dmTTOption;
  SHORT dmCollate;
  WCHAR dmFormName[CCHFORMNAME];
  WORD dmLogPixels;
  DWORD dmBitsPerPel;
  DWORD dmPelsWidth;
  DWORD dmPelsHeight;
  DWORD dmDisplayFlags;
  DWORD dmDisplayFrequency;
  DWORD dmDisplayOrientation;
};
typedef DEVMODEW DEVMODE;
typedef DEVMODEW* LPDEVMODEW;
static_assert(sizeof(DEVMODEW) == 192, "the device's display mode record is 192 bytes");

// Mode ENUM_CURRENT_SETTINGS (or 0, the only mode) is the native, unrotated mode of the
// device's screen: width, height, 32 bits per pixel.
BOOL EnumDisplaySettingsW(LPCWSTR deviceName, DWORD modeIndex, LPDEVMODEW mode);
inline BOOL EnumDisplaySettings(LPCWSTR deviceName, DWORD modeIndex, LPDEVMODEW mode)
{
  return EnumDisplaySettingsW(deviceName, modeIndex, mode);
}
