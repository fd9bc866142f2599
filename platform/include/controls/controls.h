// The device's basic controls: STATIC, BUTTON, EDIT and ScrollBar, registered as system window
// classes of every process that links them, and the scroll bars of any window.
#pragma once

#include "controls/dialog_codes.h"
#include "controls/static.h"
#include "controls/button.h"
#include "controls/edit.h"
#include "controls/scroll_bar.h"
