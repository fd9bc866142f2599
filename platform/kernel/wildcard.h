// Matching a name against a wildcard pattern of the device: "*" any run of characters, "?" any
// one, case ignored; "*.*" matches every name.
#pragma once

#include <string_view>

namespace device {

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name);

}  // namespace device
