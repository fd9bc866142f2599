// The measured side of the client's start benchmark: run from the device's install folder, it
// starts the client's application in this process and prints, in milliseconds since the moment
// the benchmark started it (its command line: that moment on the monotonic clock, in
// nanoseconds), when the login dialog showed and when the desktop showed after the demo login,
// then the process's resident memory at the desktop in kB; with the login, the CPU time the
// process had used by then.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "client_driver.h"
#include "kernel/entry.h"
#include "probe_clock.h"
#include "testing/ui_harness.h"
#include "unpaid_ids.h"

namespace {

using clientbench::MonotonicNanoseconds;

long ResidentKilobytes()
{
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0)
      return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
  long long started = std::strtoll(kvtest::Narrow(commandLine ? commandLine : u"").c_str(), nullptr, 10);
  if (started <= 0)
    started = MonotonicNanoseconds();
  auto since = [started] { return (MonotonicNanoseconds() - started) / 1e6; };

  korvexdrive::ClientDriver driver;
  if (!driver.Start(instance))
    return 1;
  if (!driver.WaitForShown([](CKorvexPortalShellApp& app) { return app.GetLoginDialog(); }))
    return 1;
  double loginShown = since();
  std::printf("login %.1f\n", loginShown);
  std::printf("login-cpu %.1f\n", clientbench::ProcessCpuMilliseconds());
  if (!driver.SubmitLogin(u"demo@korvex.cn", u"demo1234"))
    return 1;
  // With unpaid trades the login opens their list first; its skip leads to the desktop.
  HWND next = driver.WaitForScreenAfterLogin();
  if (next && next == driver.WindowOf([](CKorvexPortalShellApp& app) { return app.GetUnpaidTradeListDialog(); }))
    korvexdrive::ClientDriver::PostCommand(next, IDC_UNPAID_SKIP);
  if (!next || !driver.WaitForShown([](CKorvexPortalShellApp& app) { return app.GetDesktopDialog(); }))
    return 1;
  double desktopShown = since();
  std::printf("desktop %.1f\n", desktopShown);
  std::printf("login-to-desktop %.1f\n", desktopShown - loginShown);
  std::printf("rss %ld\n", ResidentKilobytes());
  std::fflush(stdout);
  return driver.Stop() ? 0 : 1;
}
