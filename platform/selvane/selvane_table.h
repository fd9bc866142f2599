// The guards of the process, one per guarded edit.
#pragma once

#include "windows.h"

namespace selvane_detail {

// Drops the edit's guard (its edit is being destroyed).
void ForgetGuard(HWND edit);

}  // namespace selvane_detail
