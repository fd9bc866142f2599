// korvex-tour: the client's headless tour. Run from the device root's install folder (so the
// client finds its screen-size library and settings as the installed program does), against
// the gateway the device names; the command line is the host folder for the screenshots.
// Prints each screenshot's path; exit code 0 when every screen was reached, else 1.
#include <cstdio>

#include "kernel/entry.h"
#include "testing/ui_harness.h"
#include "tour.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
  korvextour::TourOptions options;
  std::u16string folder = commandLine ? commandLine : u"";
  if (folder.size() >= 2 && folder.front() == u'"' && folder.back() == u'"')
    folder = folder.substr(1, folder.size() - 2);
  options.screenshotDir = folder.empty() ? "screenshots" : kvtest::Narrow(folder);

  korvexdrive::ClientDriver driver;
  if (!driver.Start(instance)) {
    std::fprintf(stderr, "korvex-tour: the client has no screen-size library in its folder\n");
    return 1;
  }
  korvextour::TourResult result = korvextour::RunTour(driver, options);
  bool stopped = driver.Stop();
  for (const korvextour::TourShot& shot : result.shots)
    std::printf("%-16s %s\n", shot.screen.c_str(), shot.file.c_str());
  std::fflush(stdout);
  if (!result.failure.empty())
    std::fprintf(stderr, "korvex-tour: %s\n", result.failure.c_str());
  if (!stopped)
    std::fprintf(stderr, "korvex-tour: the client did not end\n");
  return result.failure.empty() && stopped ? 0 : 1;
}
