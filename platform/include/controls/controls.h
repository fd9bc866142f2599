// The device's controls: STATIC, BUTTON, EDIT, ScrollBar, LISTBOX and COMBOBOX, and the common
// controls (list view, tab control, image lists), registered as system window classes of every
// process that links them, and the scroll bars of any window.
#pragma once

#include "user/dialog_codes.h"
#include "controls/static.h"
#include "controls/button.h"
#include "controls/edit.h"
#include "controls/scroll_bar.h"
#include "controls/list_box.h"
#include "controls/combo_box.h"
#include "controls/common_notify.h"
#include "controls/image_list.h"
#include "controls/tab_control.h"
#include "controls/list_view.h"
