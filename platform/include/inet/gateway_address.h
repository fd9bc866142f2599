// The payment gateway this device is set up for: the device settings' "[network] gateway", a
// base URL such as "https://127.0.0.1:8443". It stands for the address built into the phone's
// client. Empty when the settings name none.
#pragma once

#include <string>

std::u16string GetDeviceGatewayUrl();
