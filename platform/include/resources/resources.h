// Resource libraries: resources by type and name, strings, menus, bitmaps.
#pragma once

#include "resources/resource.h"
#include "resources/resource_loaders.h"
#include "resources/resource_images.h"
