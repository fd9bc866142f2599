// The device's service host: loads the services the registry describes, starts them, listens on
// 127.0.0.1 at each one's port, hands every accepted connection to its service and answers the
// device's service calls (services/host_protocol.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/types.h"

namespace services {

class ServiceHost {
 public:
  ServiceHost();
  ~ServiceHost();  // stops every running service
  ServiceHost(const ServiceHost&) = delete;
  ServiceHost& operator=(const ServiceHost&) = delete;

  // Loads and starts the service of that key (under HKEY_LOCAL_MACHINE\Services). ERROR_SUCCESS
  // with its instance, or the error its start failed with.
  DWORD Activate(std::u16string_view name, uint64_t* instance);
  // Stops the running services, the latest started first.
  void StopAll();

  // The answer to one request of the host protocol.
  std::vector<uint8_t> Answer(const std::vector<uint8_t>& request);

 private:
  struct Running;

  Running* Find(uint64_t instance);
  void Stop(Running& service);
  void Release(HMODULE library, bool keep);

  // Every call comes from the thread that owns the host; each service's acceptor thread uses
  // only its own record.
  std::vector<std::unique_ptr<Running>> running_;
  std::vector<HMODULE> kept_;  // libraries that "Keep" holds loaded while the host runs
  uint32_t started_ = 0;
};

}  // namespace services
