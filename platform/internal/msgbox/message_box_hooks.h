// How a message box is answered without being shown, for the layer's programs and the test
// harness: a program without a screen, or a function that answers in place of the user.
#pragma once

#include <functional>
#include <string>

#include "base/types.h"
#include "kernel/device_settings.h"

namespace msgbox {

struct Request {
  HWND owner;
  std::u16string text;
  std::u16string caption;
  UINT type;
};

// The button a box answers when nobody chooses: its default button.
int DefaultAnswer(UINT type);

// While set, every box is answered by the function (on the caller's thread) and not shown.
// Null restores the usual answering.
using Answerer = std::function<int(const Request&)>;
void SetAnswerer(Answerer answerer);

// The calling program has no screen: boxes are logged and take their default button.
void SetScreenless();

// The calling program runs unattended (the package installer's flag): every box is answered at
// once, as the device setting "[messagebox] answer" would answer it, and logged. shown gives the
// answering back to the device setting.
void SetUnattended(device::DeviceSettings::BoxAnswer answer);

}  // namespace msgbox
