// A fresh device root whose settings file describes the phone a test wants, written before the
// device is first used.
#pragma once

#include <fstream>
#include <string>

#include "kernel/device_root.h"
#include "testing/device_root.h"

namespace phone_test {

struct Identity {
  std::u16string manufacturer, model, revision, imei, imsi;  // empty: left out
};

class DeviceWithSettings {
 public:
  void SetPhone(const Identity& identity) {
    std::string text = "[phone]\n";
    const std::pair<const char*, const std::u16string*> fields[] = {
        {"manufacturer", &identity.manufacturer}, {"model", &identity.model}, {"revision", &identity.revision},
        {"imei", &identity.imei}, {"imsi", &identity.imsi}};
    for (const auto& [key, value] : fields) {
      if (!value->empty()) text += std::string(key) + " = " + device::ToHost(*value).value() + "\n";
    }
    Write(text);
  }

  void SetNoPhone() { Write("[screen]\nwidth = 240\nheight = 320\n"); }

 private:
  void Write(const std::string& text) {
    std::ofstream out(root_.path() + "/device.ini");
    out << text;
  }

  device::testing::ScopedDeviceRoot root_;
};

}  // namespace phone_test
