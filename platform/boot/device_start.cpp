#include "internal/boot/device_start.h"

#include "internal/display/desktop_window.h"
#include "internal/display/screenshot.h"

device_start::DeviceStart::DeviceStart()
{
  InstallWindowPainting();
  InstallDialogFonts();
  InstallDialogTemplates();
  RegisterSystemClasses();
  InstallWindowScrollBars();
  display::AnswerScreenshotRequests();
  display::OpenDesktopWindow();
}

device_start::DeviceStart::~DeviceStart()
{
  display::CloseDesktopWindow();
}
