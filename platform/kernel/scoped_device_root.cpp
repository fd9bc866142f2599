#include "testing/device_root.h"

#include "testing/clock.h"

#include <cstdlib>
#include <ftw.h>
#include <stdexcept>
#include <unistd.h>

namespace device::testing {

ScopedDeviceRoot::ScopedDeviceRoot()
{
  const char* temporary = getenv("TMPDIR");
  std::string pattern = std::string(temporary && *temporary ? temporary : "/tmp") + "/korvex-device-XXXXXX";
  if (!mkdtemp(pattern.data())) {
    throw std::runtime_error("cannot create a device root under " + pattern);
  }
  path_ = pattern;
  if (const char* previous = getenv("KORVEX_DEVICE_ROOT")) {
    hadPrevious_ = true;
    previous_ = previous;
  }
  setenv("KORVEX_DEVICE_ROOT", path_.c_str(), 1);
  hadVirtualClock_ = UsesVirtualClock();
}

ScopedDeviceRoot::~ScopedDeviceRoot()
{
  if (!hadVirtualClock_ && UsesVirtualClock()) {
    UseHostClock();
  }
  if (hadPrevious_) {
    setenv("KORVEX_DEVICE_ROOT", previous_.c_str(), 1);
  } else {
    unsetenv("KORVEX_DEVICE_ROOT");
  }
  nftw(
      path_.c_str(), [](const char* path, const struct stat*, int, FTW*) { return remove(path); }, 16, FTW_DEPTH | FTW_PHYS);
}

}  // namespace device::testing
