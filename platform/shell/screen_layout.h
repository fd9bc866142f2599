// The shell's view of the screen: the task bar at the top, the soft-key bar at the bottom, the
// soft input panel above the bar, and the state of the task bar and the panel for this process.
#pragma once

#include "base/types.h"
#include "shell/sip.h"

namespace shell {

// The screen less the task bar's strip while it is shown.
RECT WorkArea();
// The work area less the soft-key bar at the bottom.
RECT AboveSoftKeyBar();
// Where the panel is, shown or not.
RECT SipRect();
// The work area above the panel when it is shown, else above the soft-key bar.
RECT VisibleDesktop();

void ShowTaskBar(bool shown);

bool IsSipOn();
// Shows or hides the panel; posts the setting change when that changed it.
void SetSipOn(bool on);

// The device's input methods, in enumeration order.
struct InputMethod {
  const char16_t* name;
  CLSID clsid;
};
const InputMethod* InputMethods(size_t* count);
CLSID CurrentInputMethod();
// Makes the method current; false for one the device does not have. Posts the setting change
// when the method changed.
bool SetCurrentInputMethod(const CLSID& clsid);

}  // namespace shell
