#include "tour.h"

#include <filesystem>

#include "desktop_dlg.h"
#include "desktop_ids.h"
#include "dialog_ids.h"
#include "testing/ui_harness.h"
#include "unpaid_ids.h"

namespace korvextour {

namespace {

using korvexdrive::ClientDriver;

// The desktop's pages the tour opens, in order, with the command that opens each.
struct PageStop {
  const char* screen;
  DesktopSlot slot;
  int command;
};
constexpr int kFirstEntryCommand = ID_KV_DESKTOP_ITEM0;
constexpr PageStop kPageStops[] = {
    {"account-query", DesktopSlot::kAccountQuery, kFirstEntryCommand + 1},
    {"trade-query", DesktopSlot::kTradeQuery, kFirstEntryCommand + 2},
    {"transfer", DesktopSlot::kTransfer, kFirstEntryCommand + 0},
    {"phone-recharge", DesktopSlot::kPhoneRecharge, kFirstEntryCommand + 5},
    {"messages", DesktopSlot::kMessages, IDC_DESKTOP_MESSAGES},
    {"web-centre", DesktopSlot::kWebCentre, kFirstEntryCommand + 7},
};

class Tour {
 public:
  Tour(ClientDriver& driver, const TourOptions& options) : driver_(driver), options_(options) {}

  TourResult Walk()
  {
    std::error_code error;
    std::filesystem::create_directories(options_.screenshotDir, error);
    if (Login() && Desktop())
      for (const PageStop& stop : kPageStops)
        if (!Page(stop))
          break;
    return std::move(result_);
  }

 private:
  bool Login()
  {
    HWND login = driver_.WaitForShown([](CKorvexPortalShellApp& app) { return app.GetLoginDialog(); });
    if (!Reached("login", login) || !driver_.SubmitLogin(options_.account, options_.password))
      return Fail("login");
    // A successful login opens the unpaid trades when the account has some, else the desktop.
    HWND next = driver_.WaitForScreenAfterLogin();
    if (!next)
      return Fail("the screen after the login");
    HWND unpaid = driver_.WindowOf([](CKorvexPortalShellApp& app) { return app.GetUnpaidTradeListDialog(); });
    if (next == unpaid) {
      if (!Reached("unpaid-trades", unpaid))
        return false;
      ClientDriver::PostCommand(unpaid, IDC_UNPAID_SKIP);
    }
    return true;
  }

  bool Desktop()
  {
    return Reached("desktop", driver_.WaitForShown([](CKorvexPortalShellApp& app) { return app.GetDesktopDialog(); }));
  }

  bool Page(const PageStop& stop) { return Reached(stop.screen, driver_.OpenDesktopPage(stop.slot, stop.command)); }

  // Waits for the screen, then saves its screenshot.
  bool Reached(const std::string& screen, HWND window)
  {
    if (!window || !driver_.WaitForScreen(window))
      return Fail(screen);
    // What a person sees is the topmost shown window: a screen hidden behind another is not reached.
    if (ClientDriver::WindowOnTop() != window)
      return Fail(screen + " (it is shown behind another window)");
    std::string file =
        (std::filesystem::path(options_.screenshotDir) / (Number() + "-" + screen + ".png")).string();
    if (!ClientDriver::Screenshot(file))
      return Fail(screen + " (its screenshot " + file + " could not be written)");
    result_.shots.push_back({screen, file});
    return true;
  }

  std::string Number() const
  {
    std::string number = std::to_string(result_.shots.size() + 1);
    return number.size() < 2 ? "0" + number : number;
  }

  bool Fail(const std::string& screen)
  {
    if (result_.failure.empty())
      result_.failure = "did not reach " + screen + "; the windows:\n" + kvtest::DumpWindowTree();
    return false;
  }

  ClientDriver& driver_;
  const TourOptions& options_;
  TourResult result_;
};

}  // namespace

TourResult RunTour(ClientDriver& driver, const TourOptions& options)
{
  return Tour(driver, options).Walk();
}

}  // namespace korvextour
