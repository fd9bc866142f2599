// The device's registry: keys and their values.
#pragma once

#include "registry/keys.h"
#include "registry/values.h"
