// The style and class names resource scripts may use, with the device's values.
#pragma once

#include <optional>
#include <string_view>

#include "base/types.h"

namespace resources {

std::optional<DWORD> StyleValue(std::string_view name);

}  // namespace resources
