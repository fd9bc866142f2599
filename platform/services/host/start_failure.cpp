#include "start_failure.h"

#include "base/errors.h"
#include "kernel/device_root.h"
#include "net/winsock_errors.h"
#include "services/service_registry.h"

namespace services {

std::string StartFailure(std::u16string_view name, DWORD error)
{
  LONG readError = ERROR_SUCCESS;
  std::optional<ServiceEntry> entry = ReadServiceEntry(name, &readError);
  std::string library = entry ? device::ToHost(entry->dll).value_or("?") : "";
  std::string port = entry ? std::to_string(entry->port) : "";
  std::string reason;
  switch (error) {
  case ERROR_SERVICE_DOES_NOT_EXIST:
    reason = "no service of that name is registered (HKEY_LOCAL_MACHINE\\Services)";
    break;
  case ERROR_BADDB:
    reason = "its registry entry lacks the library or a three-letter prefix";
    break;
  case ERROR_MOD_NOT_FOUND:
    reason = "its library " + library + " is missing or cannot be loaded";
    break;
  case ERROR_PROC_NOT_FOUND:
    reason = "its library " + library + " lacks the service's entry points";
    break;
  case ERROR_SERVICE_ALREADY_RUNNING:
    reason = "it runs already";
    break;
  case WSAEADDRINUSE:
    reason = "port " + port + " is in use";
    break;
  case WSAEADDRNOTAVAIL:
    reason = "port " + port + " of 127.0.0.1 cannot be used";
    break;
  default:
    reason = "it failed to start";
    break;
  }
  return reason + " (error " + std::to_string(error) + ")";
}

}  // namespace services
