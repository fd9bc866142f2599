// The device settings: what a phone would know about itself, read from "device.ini" in the
// device root (see the README's "Device settings"). For the pieces of the layer.
#pragma once

#include "base/types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

struct ScreenSize {
  int width = 240;
  int height = 320;
};

// What the phone's radio reports; a field it does not know is missing.
struct PhoneIdentity {
  std::optional<std::u16string> manufacturer;
  std::optional<std::u16string> model;
  std::optional<std::u16string> revision;
  std::optional<std::u16string> serialNumber;      // the IMEI
  std::optional<std::u16string> subscriberNumber;  // the IMSI
};

// A data connection of the phone.
struct DataConnection {
  std::u16string name;    // the entry's description
  GUID destination{};     // the destination network it connects to
  std::u16string apn;     // the GPRS access-point name; empty when it has none
  std::u16string proxy;   // "host:port" that the connection reports; empty when none
};

struct PhoneContact {
  std::u16string name;
  std::u16string mobile;
};

struct DeviceSettings {
  ScreenSize screen;
  std::optional<PhoneIdentity> phone;  // missing: the device has no phone (no cellular line)
  std::vector<DataConnection> connections;
  std::vector<PhoneContact> contacts;
  std::string caBundle = "/etc/ssl/certs/ca-certificates.crt";  // host path of the trusted CAs (PEM)
  std::vector<std::string> browserCommand;  // host program and its arguments; empty: no browser
  std::string gateway;                      // the payment gateway's base URL; empty: none
  int connectTimeout = 30;                  // seconds to reach a server before a request fails
  int stallTimeout = 60;                    // seconds an exchange may stall (under a byte a second)
  bool debugInsecureTls = false;  // debug only: honour requests to ignore certificate errors
  // Unattended runs: every message box is answered at once without being shown.
  enum class BoxAnswer { shown, defaultButton, yes, no };
  BoxAnswer messageBoxAnswer = BoxAnswer::shown;
};

// The settings of the device root in use, read on first use. Without a file they are the
// defaults above; problems in the file are written once to standard error, and what is sound
// is used.
const DeviceSettings& Settings();

// Parses the text of a settings file. Each problem ("line 3: ...") is added to problems.
DeviceSettings ParseDeviceSettings(std::string_view text, std::vector<std::string>& problems);

}  // namespace device
