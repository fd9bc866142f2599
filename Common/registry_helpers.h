// Settings of the device's registry that the common library reads or writes.
#pragma once

#include "base/types.h"

// "InstDir" of HKEY_LOCAL_MACHINE\services\dovrel into buffer; size is the buffer's size in
// bytes on entry and the value's on return. FALSE when the key or value is missing or the
// buffer too small.
BOOL ReadServiceInstallDir(WCHAR* buffer, DWORD& size);

// The default keyboard layout ("Default" under HKEY_CURRENT_USER\keyboard layout\preload):
// English (US) or Chinese (PRC).
BOOL SetEnglishKeyboardLayout();
BOOL SetChineseKeyboardLayout();
