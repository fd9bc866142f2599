// The main of a user-interface test: the device starts before the first test runs and ends
// after the last, as it does around a device program's WinMain.
#include <gmock/gmock.h>

#include "internal/boot/device_start.h"

int main(int argc, char** argv)
{
  testing::InitGoogleMock(&argc, argv);
  device_start::DeviceStart device;
  return RUN_ALL_TESTS();
}
