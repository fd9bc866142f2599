// The fixture of the end-to-end roads: a fresh device root whose gateway is the test gateway over
// HTTPS answering from the demo account, the client's package installed there by the device's
// installer, and the client's application object started in this process from the installed
// screen-size library, headless, driven as a user drives it. Boxes other than the wait box are
// noted and answered at once (with the test's answers first, else the affirmative key); the wait
// box is the real shared box, which the screens' listeners end.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "account_screen_fixture.h"
#include "portal_shell_app.h"
#include "testgateway/demo_account.h"
#include "testgateway/test_gateway.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

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

class RoadTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  bool PrepareDevice();

  // Runs the device's installer with the parameters and waits for it; its exit code, with what
  // it wrote on standard error in *log.
  DWORD RunInstaller(const std::u16string& parameters, std::string* log);
  // Installs the client's package as the user does it (unattended, the package deleted after).
  void Install();

  // Starts the client's run on the user-interface thread, as the program's entry does, with the
  // installed library of the screen size; returns once the login shows over the main window.
  void StartClient();
  // Ends the run with the main window's exit key, the question answered yes.
  void ExitClient();

  kvtest::UiThread& Ui() { return *uiThread; }

  // Fills the login with the account and password, ticks the remember boxes as asked, and
  // submits it; returns once the login dialog has gone.
  void LogIn(const std::u16string& account, const std::u16string& password, bool remember);
  // Logs in with the demo account and goes on to the desktop (past the unpaid-trade list the
  // account's waiting trades bring up).
  void LogInToDesktop();

  // Sends a command to the window as its key or menu would, without waiting for the screen
  // (it may show the wait box).
  void Command(HWND window, int id, LPARAM lParam = 0);
  // Opens the desktop's entry n and returns once a page other than the desktop is active.
  HWND OpenDesktopEntry(int entry);
  // Focuses the field and types the text into it.
  void Type(HWND field, const std::u16string& text);
  void SetText(HWND field, const std::u16string& text);

  // Runs the user-interface threads until the condition holds; false when it did not within a
  // generous bound. A shown wait box animates, so the threads need not come to rest meanwhile.
  bool RunUntil(const std::function<bool()>& condition);
  // The active top-level window of the client's thread, and a top-level window by its title.
  HWND ActiveWindow();
  HWND WindowTitled(const std::u16string& title);
  // The top-level window the user sees at the middle of the screen.
  HWND WindowOnTop();
  // Runs until a top-level window of the title is active; that window, or null.
  HWND WaitForActive(const std::u16string& title);
  static std::u16string TextOf(HWND window);
  // Saves a screenshot named after the road and the step.
  void Shot(const std::string& step);
  // What was recorded, for a failure's message: the boxes, the gateway's requests, the windows.
  std::string Recorded();
  // Whether the gateway received the operation, with the field's value when one is named.
  bool Received(const std::string& operation);

  device::testing::ScopedDeviceRoot root;
  testgateway::TestGateway gateway{testgateway::GatewayOptions{.tlsDir = root.path() + "/certs"}};
  std::shared_ptr<testgateway::DemoAccount> demo;
  // The gateway answers from the demo account and the device names it before anything reads the
  // device's settings, which are read once (the application object's dialogs read them).
  bool deviceReady = PrepareDevice();
  RoadApp app;
  std::unique_ptr<accounttest::RealPaceClockDriver> clock;
  // The client's user-interface thread, made when the client first starts.
  std::unique_ptr<kvtest::UiThread> uiThread;
  std::atomic<bool> running{false};
  HWND mainWindow = nullptr;

 private:
  bool initialised_ = false;
};

}  // namespace roads
