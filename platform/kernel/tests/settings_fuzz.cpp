// Fuzz target: the device settings parser takes any bytes without failing.
#include "kernel/device_settings.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::vector<std::string> problems;
  device::ParseDeviceSettings(std::string_view(reinterpret_cast<const char*>(data), size), problems);
  return 0;
}
