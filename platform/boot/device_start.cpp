#include "internal/boot/device_start.h"

#include "internal/display/desktop_window.h"

device_start::DeviceStart::DeviceStart()
{
  InstallWindowPainting();
  InstallDialogFonts();
  InstallDialogTemplates();
  RegisterSystemClasses();
  display::OpenDesktopWindow();
}

device_start::DeviceStart::~DeviceStart()
{
  display::CloseDesktopWindow();
}
