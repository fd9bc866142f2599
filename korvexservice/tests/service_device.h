// A fresh device root for the service client's tests, with the device settings a test needs.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/types.h"
#include "testing/device_root.h"

namespace svc_test {

constexpr DWORD kGenerousWait = 30000;

// {7022E968-5A97-4051-BC1C-C578E2FBA5D9}: the carrier's WAP network in the settings below.
inline constexpr GUID kWapDestination = {0x7022E968, 0x5A97, 0x4051, {0xBC, 0x1C, 0xC5, 0x78, 0xE2, 0xFB, 0xA5, 0xD9}};

// Phone connections: a WAP entry, the Internet entry, and one the provisioning has no APN for.
inline constexpr char kPhoneConnections[] =
    "[connection]\n"
    "name = China Mobile WAP\n"
    "destination = {7022E968-5A97-4051-BC1C-C578E2FBA5D9}\n"
    "apn = CMWAP\n"
    "proxy = 10.0.0.172:80\n"
    "[connection]\n"
    "name = China Mobile Internet\n"
    "destination = {436EF144-B4FB-4863-A041-8F905A62C572}\n"
    "apn = cmnet\n"
    "[connection]\n"
    "name = Unprovisioned\n"
    "destination = {11111111-2222-3333-4444-555555555555}\n";

class ServiceDevice {
 public:
  // The settings are written before the code under test first reads them.
  explicit ServiceDevice(const std::string& settings = "")
  {
    std::ofstream(Host("device.ini"), std::ios::binary) << settings;
  }
  std::filesystem::path Host(const std::string& relative) const
  {
    return std::filesystem::path(root_.path()) / relative;
  }
  // The connection trace file's bytes.
  std::string Trace() const
  {
    std::ifstream file(Host("korvex_log.txt"), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

 private:
  device::testing::ScopedDeviceRoot root_;
};

}  // namespace svc_test
