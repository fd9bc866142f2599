// Helpers about the device's processes: the single-instance test and starting the browser.
#pragma once

#include "base/types.h"

// TRUE when another process of the device runs a program of this program's file name (case
// ignored, as the device's file system ignores it); FALSE when none does or the process list
// cannot be read.
BOOL FindOtherInstanceProcess();

// Starts the phone's browser ("\Windows\iexplore.exe") with the URL as its command line. TRUE
// when the process was created; FALSE for anything but an http or https address, which the
// device's browser refuses.
BOOL OpenUrlInBrowser(const WCHAR* url);
