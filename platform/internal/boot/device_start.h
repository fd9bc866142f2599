// The device's start: what every device program and every user-interface test finds ready
// before its own code runs. It is set up by explicit calls, never by a library's static
// initializer: the linker leaves out a shared library that a program references nothing of,
// and its initializer with it.
#pragma once

namespace device_start {

// Each piece's part of the start, in the order DeviceStart takes them. A second call does
// nothing.
void InstallWindowPainting();   // drawing: the window manager's paint, erase and colour hooks
void InstallDialogFonts();      // text: the fonts that dialog templates name
void InstallDialogTemplates();  // resources: DIALOG resources found by name
void RegisterSystemClasses();   // controls: STATIC, BUTTON, EDIT, ScrollBar and the list controls
void InstallWindowScrollBars(); // controls: taps on the scroll bars a window shows itself

// Starts the device for the life of the object: the pieces above, the answer to another
// process's screenshot request, then the desktop window when KV_DISPLAY asks for one. The destructor closes that window and waits for its thread, so
// nothing of the display runs while the process ends.
class DeviceStart {
 public:
  DeviceStart();
  ~DeviceStart();
  DeviceStart(const DeviceStart&) = delete;
  DeviceStart& operator=(const DeviceStart&) = delete;
};

}  // namespace device_start
