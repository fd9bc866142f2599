// Menus from menu templates (user/menu.h) of a known size, for the resource loader: a template
// that runs past its size or nests too deep gives NULL rather than a read out of bounds.
#pragma once

#include <cstddef>

#include "base/types.h"

namespace user_menu {

HMENU LoadMenuTemplate(const void* data, size_t size);

}  // namespace user_menu
