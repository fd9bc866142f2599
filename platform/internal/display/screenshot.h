// PNG screenshots of the process's screen, or of the part one window covers.
#pragma once

#include <string>

#include "base/types.h"

namespace display {

// Writes the picture to a file of the host (not a device path). False when the window does not
// exist or the file cannot be written.
bool SaveScreenshot(const std::string& hostPath, HWND window = nullptr);

// Lets another process of the device (a test driving this program) have this process write its
// screen to a file. Part of the device's start.
void AnswerScreenshotRequests();

}  // namespace display
