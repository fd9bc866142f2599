// Why a service the host was asked to start did not start, in words a person can act on.
#pragma once

#include <string>
#include <string_view>

#include "base/types.h"

namespace services {

// "port 8088 is in use (error 10048)" for the service of that key and the error its start
// failed with (ServiceHost::Activate).
std::string StartFailure(std::u16string_view name, DWORD error);

}  // namespace services
