// The device's core programming interfaces in one include: base types, text, kernel, registry,
// windows and drawing. Each area has an umbrella header of its own (`<area>/<area>.h`) that lists its
// concept headers; areas join here as they are built.
#pragma once

#include "base/types.h"

#if __has_include("text/text.h")
#include "text/text.h"
#endif
#if __has_include("kernel/kernel.h")
#include "kernel/kernel.h"
#endif
#if __has_include("registry/registry.h")
#include "registry/registry.h"
#endif
#if __has_include("user/user.h")
#include "user/user.h"
#endif
#if __has_include("gdi/gdi.h")
#include "gdi/gdi.h"
#endif
#if __has_include("shell/shell.h")
#include "shell/shell.h"
#endif
#if __has_include("controls/controls.h")
#include "controls/controls.h"
#endif
#if __has_include("msgbox/message_box.h")
#include "msgbox/message_box.h"
#endif
#if __has_include("resources/resources.h")
#include "resources/resources.h"
#endif
