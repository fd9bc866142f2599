#include "testing/screenshot.h"

#include <filesystem>

#include "internal/display/screenshot.h"

std::string kvtest::SaveScreenshot(const std::string& name, HWND window)
{
  std::filesystem::path folder(KV_SCREENSHOT_DIR);
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::string path = (folder / (name + ".png")).string();
  return display::SaveScreenshot(path, window) ? path : std::string();
}

bool kvtest::SaveScreenshotTo(const std::string& path, HWND window)
{
  return display::SaveScreenshot(path, window);
}
