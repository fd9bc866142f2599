// A fresh device root for one test: a temporary folder named in KORVEX_DEVICE_ROOT, removed
// afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace registry_test {

class TemporaryDeviceRoot {
 public:
  TemporaryDeviceRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "registry-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
    setenv("KORVEX_DEVICE_ROOT", path_.c_str(), 1);
  }
  ~TemporaryDeviceRoot() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace registry_test
