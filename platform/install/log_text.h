// How the installer names things in the lines it writes to the log (standard error).
#pragma once

#include <string>

#include "base/types.h"
#include "kernel/device_root.h"

namespace install {

// A device text (path, key, name) as UTF-8.
inline std::string Host(std::u16string_view text)
{
  return device::ToHost(text).value_or("?");
}

inline std::string ErrorText(DWORD error)
{
  return " (error " + std::to_string(error) + ")";
}

}  // namespace install
