// The user agreement, shown before the package is installed.
#pragma once

#include "base/types.h"

namespace zunsetup {

// Shows the agreement modally over the owner, full screen, with "接受" (the default) and "拒绝".
// Its result: IDC_AGREEMENT_ACCEPT (1001) when the user accepts, 2 when they decline, 1 for the
// shell's OK, -1 when the dialog cannot be shown (the resources cannot be loaded).
INT_PTR ShowAgreement(HWND owner);

}  // namespace zunsetup
