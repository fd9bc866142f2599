// A fresh device root for the service client's tests, with the device settings a test needs.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

#include "base/types.h"
#include "testing/device_settings.h"

namespace svc_test {

constexpr DWORD kGenerousWait = 30000;

// A fresh device root with the given settings, and the connection trace it gathers.
class ServiceDevice : public device::testing::DeviceWithSettings {
 public:
  using DeviceWithSettings::DeviceWithSettings;
  // The connection trace file's bytes.
  std::string Trace() const
  {
    std::ifstream file(Host("korvex_log.txt"), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }
};

}  // namespace svc_test
