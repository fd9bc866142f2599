// A device root of a test's own: a fresh folder under the temporary folder ($TMPDIR or /tmp),
// named in KORVEX_DEVICE_ROOT while the object lives, and removed with all it holds afterwards.
// The device's clock goes with it: one the test switched to virtual time runs on the host's
// again afterwards. Make it before the code under test first uses the device.
#pragma once

#include <string>

namespace device::testing {

class ScopedDeviceRoot {
 public:
  ScopedDeviceRoot();
  ~ScopedDeviceRoot();
  ScopedDeviceRoot(const ScopedDeviceRoot&) = delete;
  ScopedDeviceRoot& operator=(const ScopedDeviceRoot&) = delete;

  // The root's host folder.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
  bool hadPrevious_ = false;
  bool hadVirtualClock_ = false;
};

}  // namespace device::testing
