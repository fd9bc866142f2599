// A device root of a test's own whose settings file holds the text the test gives, and the
// phone connections that the networking tests describe in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "base/types.h"
#include "testing/device_root.h"

namespace device::testing {

// Two GPRS entries: a WAP one with its proxy, and the Internet one; and an entry without APN.
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
    "name = Unprovisioned & Co\n"
    "destination = {11111111-2222-3333-4444-555555555555}\n";

// The WAP entry's and the entry without APN's destinations above.
inline constexpr GUID kWapDestination = {0x7022E968, 0x5A97, 0x4051, {0xBC, 0x1C, 0xC5, 0x78, 0xE2, 0xFB, 0xA5, 0xD9}};
inline constexpr GUID kOtherDestination = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};

// The settings are written before the code under test first reads them.
class DeviceWithSettings {
 public:
  explicit DeviceWithSettings(const std::string& settings = "")
  {
    std::ofstream(Host("device.ini"), std::ios::binary) << settings;
  }
  std::filesystem::path Host(const std::string& relative) const
  {
    return std::filesystem::path(root_.path()) / relative;
  }

 private:
  ScopedDeviceRoot root_;
};

}  // namespace device::testing
