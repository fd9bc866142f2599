// Drives the client's application object in this process, as a person would: the application
// runs on a user-interface thread of its own (the program's services, its main window and
// loop), and the caller waits for screens, types, sends commands and takes screenshots. Every
// wait is bounded in real time.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "desktop_dlg.h"
#include "portal_shell_app.h"
#include "testing/ui_thread.h"

namespace korvexdrive {

constexpr DWORD kScreenBoundMs = 60000;

class ClientDriver {
 public:
  ClientDriver();
  // Drives the given application object (one that notes or answers its boxes, say).
  explicit ClientDriver(std::unique_ptr<CKorvexPortalShellApp> app);
  // Ends the run if it is still going.
  ~ClientDriver();
  ClientDriver(const ClientDriver&) = delete;
  ClientDriver& operator=(const ClientDriver&) = delete;

  // The screen-size library to load instead of the one beside the program, for a program that
  // is not the installed client (a test). A device path; set before Start.
  void UseScreenLibrary(std::u16string path) { screenLibrary_ = std::move(path); }

  // Starts the program's services and the application's run (main window, then the login) on
  // the driver's user-interface thread. False when the client has no screen-size library.
  bool Start(HINSTANCE instance, const CStringW& commandLine = CStringW());
  // Ends the run (its loop gets WM_QUIT) and takes the services down; false when the run did
  // not end within the bound.
  bool Stop();

  // Whether the application's run was started and has not ended.
  bool Running() const { return !ended_->load(); }
  CKorvexPortalShellApp& App() { return *app_; }
  // Runs the function on the client's user-interface thread and waits for it.
  void OnUi(const std::function<void()>& function);
  // Runs the function on that thread without waiting (for one that starts a modal loop).
  void PostToUi(std::function<void()> function);
  // The window of a screen as the application has it now (null without one).
  HWND WindowOf(const std::function<CBaseDlg*(CKorvexPortalShellApp&)>& screen);

  // Waits until the screen's window is shown, no box is up and the device has come to rest; the
  // window, or null at the bound.
  HWND WaitForShown(const std::function<CBaseDlg*(CKorvexPortalShellApp&)>& screen, DWORD boundMs = kScreenBoundMs);
  // After a login was submitted: waits for the screen a successful login opens (the unpaid trades
  // when the account has some, else the desktop); its window, or null.
  HWND WaitForScreenAfterLogin(DWORD boundMs = kScreenBoundMs);

  // Waits until the condition holds while the device's threads run; false at the bound.
  static bool WaitUntil(const std::function<bool()>& condition, DWORD boundMs = kScreenBoundMs);
  // Whether the shared message box (the wait box among others) is shown.
  bool BoxShown();
  // Waits until the window is shown, no box is up and the device has come to rest.
  bool WaitForScreen(HWND window, DWORD boundMs = kScreenBoundMs);
  // Posts a command (WM_COMMAND with the id) to the window, as its control's tap would.
  static void PostCommand(HWND window, int id, LPARAM lParam = 0);
  // The active window of the client's user-interface thread (null without one).
  HWND ActiveWindow();
  // The topmost shown top-level window of the client (the input panel aside): the one a person sees.
  static HWND WindowOnTop();

  // Focuses the field and types the text into it, a character at a time.
  bool Type(HWND field, const std::u16string& text);
  // Fills the login dialog and submits it: the account (an empty one leaves the field as it is),
  // the password typed into its guarded edit (likewise), and both remember boxes ticked or
  // cleared when `remember` says so. False when there is no login dialog.
  bool SubmitLogin(const std::u16string& account, const std::u16string& password,
                   std::optional<bool> remember = std::nullopt);
  // Sends the desktop the command that opens the page in the slot; the page's window once it is
  // shown (WaitForShown), or null.
  HWND OpenDesktopPage(DesktopSlot slot, int command);

  // Writes a screenshot of the whole screen as a PNG file; false when it could not.
  static bool Screenshot(const std::string& path);

 private:
  std::unique_ptr<CKorvexPortalShellApp> app_;
  std::u16string screenLibrary_;
  std::unique_ptr<kvtest::UiThread> ui_;
  std::shared_ptr<std::atomic<bool>> ended_;
};

}  // namespace korvexdrive
