// The fixture of the end-to-end roads: a fresh device root whose gateway is the test gateway over
// HTTPS answering from the demo account, the client's package installed there by the device's
// installer, and the client's application object started in this process from the installed
// screen-size library, headless, driven as a user drives it through the client driver. Boxes
// other than the wait box are noted and answered at once (with the test's answers first, else the
// affirmative key); the wait box is the real shared box, which the screens' listeners end.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "account_screen_fixture.h"
#include "client_driver.h"
#include "desktop_dlg.h"
#include "portal_shell_app.h"
#include "testgateway/demo_account.h"
#include "testgateway/test_gateway.h"
#include "testing/device_programs.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"

namespace roads {

// The demo account's sign-in and payment password.
inline constexpr char16_t kDemoAccount[] = u"demo@korvex.cn";
inline constexpr char16_t kDemoPassword[] = u"demo1234";
inline constexpr char16_t kDemoPayPassword[] = u"pay123456";

// The client's application object with its boxes noted and answered by the test.
class RoadApp : public CKorvexPortalShellApp {
 public:
  int ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                     int afterShow) override;

  // The boxes shown so far ("<type> <text>"), the waits left out.
  std::vector<std::string> Boxes();
  // The answer of the next box that is not a wait; later boxes take the affirmative key again.
  void AnswerNext(int answer);

 private:
  std::mutex lock_;
  std::vector<std::string> boxes_;
  std::deque<int> answers_;
};

using korvexdrive::ClientDriver;

class RoadTest : public ::testing::Test {
 protected:
  // The road runs on a device whose screen has that size (240x320 unless said otherwise).
  explicit RoadTest(int screenWidth = 240, int screenHeight = 320);
  void SetUp() override;
  void TearDown() override;
  bool PrepareDevice();

  // Runs the device's installer with the parameters and waits for it; its exit code, with what
  // it wrote on standard error in *log.
  DWORD RunInstaller(const std::u16string& parameters, std::string* log);
  // Installs the client's package as the user does it (unattended, the package deleted after).
  void Install();

  // Starts the client's run as the program's entry does, with a fresh application object and the
  // installed library of the screen size; returns once the login shows over the main window.
  void StartClient();
  // Ends the run with the main window's exit key, the question answered yes.
  void ExitClient();

  // The client of the current run (StartClient made it).
  ClientDriver& Driver() { return *driver; }
  RoadApp& App() { return *app; }

  // Fills the login with the account and password, ticks the remember boxes as asked, and
  // submits it; returns once the login dialog has gone.
  void LogIn(const std::u16string& account, const std::u16string& password, bool remember);
  // Logs in with the demo account and goes on to the desktop (past the unpaid-trade list the
  // account's waiting trades bring up).
  void LogInToDesktop();
  // After a login: past the unpaid-trade list when it shows, on to the desktop.
  void GoOnToDesktop();

  // Opens the desktop's entry of the slot; its page once shown.
  HWND OpenDesktopEntry(DesktopSlot slot);
  // The desktop's page in the slot, once opened.
  template <class Page>
  Page* PageIn(DesktopSlot slot)
  {
    auto* desktop = static_cast<CDesktopDlg*>(App().GetDesktopDialog());
    return desktop ? dynamic_cast<Page*>(desktop->GetPage(slot)) : nullptr;
  }
  void SetText(HWND field, const std::u16string& text);

  // Runs until a top-level window of the title is active; that window, or null.
  HWND WaitForActive(const std::u16string& title);
  static std::u16string TextOf(HWND window);
  // A file of the host, whole (empty when it cannot be read).
  static std::string ReadHostFile(const std::string& path);
  // Saves a screenshot named after the road and the step.
  void Shot(const std::string& step);
  // The same of a program that runs in a process of its own, once it has come to rest.
  void ShotOfProgram(kvtest::DeviceProgram& program, const std::string& step);
  // What was recorded, for a failure's message: the boxes, the gateway's requests, the windows.
  std::string Recorded();

  const int screenWidth;
  const int screenHeight;
  // Where the device's local gateway (the service host's Dovrel) listens for the merchant page's
  // orders in a road that starts it: a free port, so that roads can run side by side.
  const uint16_t localGatewayPort = kvtest::FreeLoopbackPort();
  device::testing::ScopedDeviceRoot root;
  testgateway::TestGateway gateway{testgateway::GatewayOptions{.tlsDir = root.path() + "/certs"}};
  std::shared_ptr<testgateway::DemoAccount> demo;
  // The gateway answers from the demo account and the device names it before anything reads the
  // device's settings.
  bool deviceReady = PrepareDevice();
  std::unique_ptr<accounttest::RealPaceClockDriver> clock;
  std::unique_ptr<ClientDriver> driver;
  RoadApp* app = nullptr;
  HWND mainWindow = nullptr;
};

// A road's fixture on a device with a large screen (480x640).
template <class Road>
class OnALargeScreen : public Road {
 protected:
  OnALargeScreen() : Road(480, 640) {}
};

}  // namespace roads
