#include "inet/gateway_address.h"

#include "kernel/device_settings.h"
#include "wide_text.h"

std::u16string GetDeviceGatewayUrl()
{
  return inet::WideFromUtf8(device::Settings().gateway);
}
