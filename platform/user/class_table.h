// Look-up in the class table.
#pragma once

#include "state.h"

namespace user_detail {

// A class by name (compared without case) or by atom (MAKEINTATOM).
std::shared_ptr<WindowClass> FindClass(Lock& held, LPCWSTR nameOrAtom);
bool EqualNoCase(std::u16string_view a, std::u16string_view b);

}  // namespace user_detail
