#include "device_store.h"

#include <cstdlib>
#include <string>

namespace registry {

Store& DeviceStore() {
  static Store store([] {
    const char* root = std::getenv("KORVEX_DEVICE_ROOT");
    return std::string(root != nullptr ? root : ".");
  }());
  return store;
}

}  // namespace registry
