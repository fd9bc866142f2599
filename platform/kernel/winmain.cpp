// The entry of a device program: hands the program's module, its command line and the show
// command to WinMain, whose result is the exit code.
#include "kernel/entry.h"
#include "kernel/module.h"
#include "kernel/process.h"

namespace {

constexpr int kShowWindow = 5;  // SW_SHOW

}  // namespace

int main()
{
  return WinMain(GetModuleHandleW(nullptr), nullptr, GetCommandLineW(), kShowWindow);
}
