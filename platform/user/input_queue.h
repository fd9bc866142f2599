// Input injected at the device's input source.
#pragma once

#include <string>

#include "state.h"

namespace user_detail {

// The result string of the last composition for an input context.
std::u16string CompositionResult(HIMC context);
// The window a tap at a screen point goes to: topmost first, hidden windows skipped, a
// disabled child leaves the tap to its parent, statics without SS_NOTIFY let it through.
HWND HitTest(Lock& held, POINT screen);

}  // namespace user_detail
