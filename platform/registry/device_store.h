// The registry store of this process's device root.
#pragma once

#include "registry_store.h"

namespace registry {

Store& DeviceStore();

}  // namespace registry
