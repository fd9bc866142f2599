// The registry store of the device root this process uses now: its files lie in the layer's
// private folder "registry" of the root, out of reach of the device's file calls.
#pragma once

#include "registry_store.h"

namespace registry {

Store& DeviceStore();

}  // namespace registry
