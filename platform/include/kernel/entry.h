// The entry of a device program. A program links platform_winmain, whose main starts the device
// (system window classes, drawing, the desktop window KV_DISPLAY asks for) and calls WinMain
// with the program's module handle, no previous instance, the command line (GetCommandLineW)
// and the show command SW_SHOW; WinMain's result is the process's exit code.
#pragma once

#include "base/types.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nShowCmd);
