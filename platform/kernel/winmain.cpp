// The entry of a device program: starts the device, then hands the program's module, its
// command line and the show command to WinMain, whose result is the exit code. The device
// ends (its desktop window closed) before the process's exit handlers run.
#include "internal/boot/device_start.h"
#include "kernel/entry.h"
#include "kernel/module.h"
#include "kernel/process.h"

namespace {

constexpr int kShowWindow = 5;  // SW_SHOW

}  // namespace

int main()
{
  device_start::DeviceStart device;
  return WinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), kShowWindow);
}
