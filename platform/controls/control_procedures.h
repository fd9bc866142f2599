// The window procedures of the control classes.
#pragma once

#include "windows.h"

namespace controls_detail {

LRESULT StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ScrollBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace controls_detail
