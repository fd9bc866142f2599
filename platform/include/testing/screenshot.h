// Screenshots for people to look at: PNG files in the build's output (screenshots/ under the
// build folder), named by the test.
#pragma once

#include <string>

#include "base/types.h"

namespace kvtest {

// Writes the screen (or the part one window covers) as <build>/screenshots/<name>.png and
// returns the file's path; empty when it could not be written.
std::string SaveScreenshot(const std::string& name, HWND window = nullptr);
// Writes the screen (or the window's part) as a PNG file at a host path; false when it could not.
bool SaveScreenshotTo(const std::string& path, HWND window = nullptr);
// Has another process of the device (the one that owns the window) write its whole screen as
// <build>/screenshots/<name>.png; the file's path, empty when it could not.
std::string SaveScreenshotOfProcess(const std::string& name, HWND windowOfProcess);

}  // namespace kvtest
