// Windows and messages of the device: classes, windows, the tree and geometry, message
// queues per thread, timers, focus and activation, input and the cursor, input contexts, screen
// metrics, dialogs.
#pragma once

#include "user/messages.h"
#include "user/window_styles.h"
#include "user/window_class.h"
#include "user/window.h"
#include "user/window_tree.h"
#include "user/window_geometry.h"
#include "user/message_queue.h"
#include "user/timers.h"
#include "user/focus.h"
#include "user/input.h"
#include "user/cursor.h"
#include "user/imm.h"
#include "user/metrics.h"
#include "user/dialog_template.h"
#include "user/owner_draw.h"
#include "user/menu.h"
#include "user/dialog_codes.h"
#include "user/dialog.h"
