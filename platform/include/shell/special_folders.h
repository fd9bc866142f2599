// The shell's special folders of the device.
#pragma once

#include "base/types.h"

#define CSIDL_PROGRAMS 0x0002   // "\Windows\Start Menu\Programs"
#define CSIDL_STARTMENU 0x000B  // "\Windows\Start Menu"

// Writes the folder's path (at most MAX_PATH characters) into lpszPath. With fCreate the
// folder is made when missing; without it a missing folder fails. FALSE for another folder id.
BOOL SHGetSpecialFolderPath(HWND hwndOwner, LPWSTR lpszPath, int nFolder, BOOL fCreate);
