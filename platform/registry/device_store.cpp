#include "device_store.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "kernel/device_root.h"

namespace registry {

Store& DeviceStore() {
  // One store per root folder: the root is read anew on every call, and a test may name another.
  static std::mutex mutex;
  static std::map<std::string, std::unique_ptr<Store>> stores;
  const std::string folder = device::PrivateFolder("registry");
  std::lock_guard<std::mutex> lock(mutex);
  std::unique_ptr<Store>& store = stores[folder];
  if (!store) store = std::make_unique<Store>(folder);
  return *store;
}

}  // namespace registry
