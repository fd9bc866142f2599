// The message box shown on the screen: a modal dialog of the layer's own.
#pragma once

#include "internal/msgbox/message_box_hooks.h"

namespace msgbox {

// Runs the box on the calling thread until a button answers it.
int ShowBoxDialog(const Request& request);

}  // namespace msgbox
