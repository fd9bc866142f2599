// Unattended runs of the installer: nobody is there to answer what the setup hooks ask.
#pragma once

#include "base/types.h"
#include "kernel/device_settings.h"

namespace install {

// Whether the device is set up for unattended runs ([messagebox] answer other than show).
bool DeviceIsUnattended();

// While it lives, what the calling thread's setup hooks ask is answered at once, as the device's
// [messagebox] answer says, or yes when it says nothing: message boxes through the message box's
// unattended answer, and each dialog that becomes the thread's active window by its default
// button (OK when it has none), or Cancel when the answer is no. Each answer is logged on
// standard error as message boxes log theirs.
class UnattendedRun {
 public:
  UnattendedRun();
  ~UnattendedRun();
  UnattendedRun(const UnattendedRun&) = delete;
  UnattendedRun& operator=(const UnattendedRun&) = delete;

 private:
  UINT_PTR timer_ = 0;
};

}  // namespace install
