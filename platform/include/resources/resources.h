// Resource libraries: resources by type and name, strings, menus.
#pragma once

#include "resources/resource.h"
#include "resources/resource_loaders.h"
