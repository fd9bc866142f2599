#include "internal/display/screenshot.h"

#include "internal/gdi/screen.h"
#include "internal/user/test_hooks.h"
#include "png_file.h"

bool display::SaveScreenshot(const std::string& hostPath, HWND window)
{
  gdi_screen::Image image;
  if (window) {
    if (!gdi_screen::CaptureWindow(window, &image))
      return false;
  } else {
    image = gdi_screen::CaptureScreen();
  }
  return WritePng(hostPath, image.width, image.height, image.pixels);
}

void display::AnswerScreenshotRequests()
{
  user_test::SetScreenshotWriter([](const std::string& hostPath) { return SaveScreenshot(hostPath); });
}
