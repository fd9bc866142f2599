// The buttons of each kind of message box and the answers chosen without a user.
#pragma once

#include <vector>

#include "base/types.h"
#include "kernel/device_settings.h"

namespace msgbox {

struct Button {
  int id;
  const char16_t* text;
};

// Whether the button set and icon of a type exist.
bool IsValidType(UINT type);
// The buttons, left to right (empty for a button set that does not exist).
std::vector<Button> ButtonsOf(UINT type);
// What closing the box answers: Cancel when it has one, OK when that is its only button, else 0
// (a box that must be answered).
int CloseAnswer(UINT type);
// The answer of a device set up for unattended runs.
int UnattendedAnswer(UINT type, device::DeviceSettings::BoxAnswer answer);
// "IDOK" ... for the log.
const char* AnswerName(int id);

}  // namespace msgbox
