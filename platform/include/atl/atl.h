// The template class library: windows and dialogs with message maps, reflection of
// notifications, the message loop with filters and idle handlers, the application module,
// small containers and interface pointers.
#pragma once

#include "atl/window.h"
#include "atl/message_map.h"
#include "atl/window_impl.h"
#include "atl/dialog_impl.h"
#include "atl/simple_collections.h"
#include "atl/message_loop.h"
#include "atl/app_module.h"
#include "atl/com_ptr.h"
#if __has_include("user/owner_draw.h")
#include "atl/owner_draw.h"
#endif
