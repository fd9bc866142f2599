#include "testing/screenshot.h"

#include <filesystem>

#include "internal/display/screenshot.h"
#include "internal/user/test_hooks.h"

namespace {

// <build>/screenshots/<name>.png, its folder made.
std::string ScreenshotPath(const std::string& name)
{
  std::filesystem::path folder(KV_SCREENSHOT_DIR);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  return (folder / (name + ".png")).string();
}

}  // namespace

std::string kvtest::SaveScreenshot(const std::string& name, HWND window)
{
  std::string path = ScreenshotPath(name);
  return display::SaveScreenshot(path, window) ? path : std::string();
}

std::string kvtest::SaveScreenshotOfProcess(const std::string& name, HWND windowOfProcess)
{
  std::string path = ScreenshotPath(name);
  return user_test::SaveScreenshotInProcessOf(windowOfProcess, path) ? path : std::string();
}

bool kvtest::SaveScreenshotTo(const std::string& path, HWND window)
{
  return display::SaveScreenshot(path, window);
}
