// What the setup hooks' tests share: a fresh device root with the setup library and its
// resource library in "\Temp\Setup" (loaded as the installer loads it), the client's stand-in
// in the install folder, and host-side access to the device's files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "install/setup.h"
#include "testing/device_root.h"
#include "windows.h"

namespace zunsetup_test {

namespace fs = std::filesystem;

constexpr DWORD kGenerousWait = 60000;

// The host path of a path relative to the device root in use ("Temp/a.txt").
fs::path Host(const std::string& relative);
std::string Read(const std::string& relative);
void Write(const std::string& relative, const std::string& content);

// Every folder and file of the device with the file's content, and the registry; the layer's
// other state and the stand-in's log are left out.
std::map<std::string, std::string> DeviceState();

// The setup library's hooks, loaded from the device.
struct Hooks {
  pfnINSTALL_INIT installInit = nullptr;
  pfnINSTALL_EXIT installExit = nullptr;
  pfnUNINSTALL_INIT uninstallInit = nullptr;
  pfnUNINSTALL_EXIT uninstallExit = nullptr;
};

// A running stand-in of the client (fake_client_main.cpp): its window and process.
class FakeClient {
 public:
  FakeClient() = default;
  ~FakeClient();  // ends it if it still runs
  FakeClient(const FakeClient&) = delete;
  FakeClient& operator=(const FakeClient&) = delete;

  // Starts "\Program Files\KorvexPortal\KorvexPortal.exe <window> <answer>" and waits for its
  // window; false when it did not show.
  bool Start(const char16_t* window, const char16_t* answer);
  // Whether it has ended, waiting at most ms for that.
  bool Ended(DWORD ms = kGenerousWait) const;

 private:
  HANDLE process_ = nullptr;
};

class SetupTest : public ::testing::Test {
 protected:
  // Installs the setup library and the client's stand-in and loads the hooks.
  void SetUp() override;
  void TearDown() override;

  device::testing::ScopedDeviceRoot root_;
  HMODULE library_ = nullptr;
  Hooks hooks_;
};

}  // namespace zunsetup_test
