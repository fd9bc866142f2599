// The measured side of the payment-road benchmark: run from the device's install folder, it
// starts the client's application in this process and walks one payment road as the user does:
// the demo login, the first trade of the unpaid list that the login brings up, its payment
// password, until the success box. It prints the time of each step and of the whole road in
// milliseconds, each with the service's result pauses taken out, then the number of those pauses
// and the time they took.
//
// The pause: the service passes each result on to the screens only after a fixed 500 ms on its
// network worker, which holds the road while it lasts. The probe measures it rather than change
// the client: every Sleep of that length in this process is timed (the link wraps Sleep).
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "client_driver.h"
#include "kernel/entry.h"
#include "message_box_types.h"
#include "paged_list_view.h"
#include "probe_clock.h"
#include "testing/ui_harness.h"
#include "tradepay_ids.h"

namespace {

using clientbench::MonotonicNanoseconds;

constexpr DWORD kResultPauseMs = 500;
constexpr char16_t kAccount[] = u"demo@korvex.cn";
constexpr char16_t kPassword[] = u"demo1234";
constexpr char16_t kPayPassword[] = u"pay123456";
// The title of the trade pay dialog.
constexpr char16_t kTradePayTitle[] = u"付款";

std::atomic<long long> pausedNanoseconds{0};
std::atomic<int> pauses{0};

// The application with its boxes answered at once, as the user's affirmative key; the moment
// of the first success box is noted, and any other box (an error on the road) reported.
class RoadProbeApp : public CKorvexPortalShellApp {
 public:
  int ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type, BOOL progress,
                     int afterShow) override
  {
    if ((type & 0xF) == KV_BOX_WAIT)
      return CKorvexPortalShellApp::ShowMessageBox(owner, text, caption, type, progress, afterShow);
    if (type & KV_BOX_SUCCESS) {
      long long none = 0;
      successAt.compare_exchange_strong(none, MonotonicNanoseconds());
    } else {
      std::fprintf(stderr, "client_road_probe: box %#x: %s\n", type, kvtest::Narrow(text.GetString()).c_str());
    }
    return (type & 0xF) == KV_BOX_YESNO ? KV_BOX_ANSWER_YES : KV_BOX_ANSWER_OK;
  }

  std::atomic<long long> successAt{0};
};

// Marks the end of a step: prints its time and its time without the pauses within it.
class Steps {
 public:
  Steps() : start_(MonotonicNanoseconds()), last_(start_), lastPaused_(pausedNanoseconds.load()) {}
  void End(const char* name, long long at = MonotonicNanoseconds())
  {
    long long paused = pausedNanoseconds.load();
    std::printf("%s %.1f\n", name, (at - last_ - (paused - lastPaused_)) / 1e6);
    last_ = at;
    lastPaused_ = paused;
  }
  void EndRoad()
  {
    std::printf("road %.1f\n", (last_ - start_ - pausedNanoseconds.load()) / 1e6);
    std::printf("pauses %d\n", pauses.load());
    std::printf("paused %.1f\n", pausedNanoseconds.load() / 1e6);
  }

 private:
  long long start_;
  long long last_;
  long long lastPaused_;
};

}  // namespace

extern "C" void __real__Z5Sleepj(DWORD milliseconds);

// Sleep as the link wraps it: the result pause is timed, every other sleep passes through.
extern "C" void __wrap__Z5Sleepj(DWORD milliseconds)
{
  if (milliseconds != kResultPauseMs) {
    __real__Z5Sleepj(milliseconds);
    return;
  }
  long long start = MonotonicNanoseconds();
  __real__Z5Sleepj(milliseconds);
  pausedNanoseconds += MonotonicNanoseconds() - start;
  ++pauses;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int)
{
  auto owned = std::make_unique<RoadProbeApp>();
  RoadProbeApp& app = *owned;
  korvexdrive::ClientDriver driver(std::move(owned));
  if (!driver.Start(instance) ||
      !driver.WaitForShown([](CKorvexPortalShellApp& shell) { return shell.GetLoginDialog(); }))
    return 1;

  Steps steps;
  if (!driver.SubmitLogin(kAccount, kPassword))
    return 1;
  HWND unpaid = driver.WaitForScreenAfterLogin();
  if (!unpaid ||
      unpaid != driver.WindowOf([](CKorvexPortalShellApp& shell) { return shell.GetUnpaidTradeListDialog(); })) {
    std::fprintf(stderr, "client_road_probe: the login did not bring up the unpaid trades\n");
    return 1;
  }
  steps.End("login");

  // The first trade is chosen: its detail is fetched and the trade pay dialog opens on it.
  PostMessageW(unpaid, WM_KV_LIST_OPENITEM, 0, 0);
  HWND pay = nullptr;
  auto payShown = [&] {
    driver.OnUi([&] {
      HWND active = GetActiveWindow();
      WCHAR title[64] = {};
      GetWindowTextW(active, title, 64);
      pay = std::u16string(title) == kTradePayTitle ? active : nullptr;
    });
    return pay && !driver.BoxShown();
  };
  if (!korvexdrive::ClientDriver::WaitUntil(payShown) || !driver.WaitForScreen(pay)) {
    std::fprintf(stderr, "client_road_probe: the trade pay dialog did not open\n");
    return 1;
  }
  steps.End("detail");

  driver.OnUi([&] { SetFocus(GetDlgItem(pay, IDC_TRADEPAY_PASSWORD)); });
  if (!kvtest::TypeText(kPayPassword))
    return 1;
  korvexdrive::ClientDriver::PostCommand(pay, IDC_TRADEPAY_PAY);
  if (!korvexdrive::ClientDriver::WaitUntil([&] { return app.successAt.load() != 0; })) {
    std::fprintf(stderr, "client_road_probe: the payment was not told a success\n");
    return 1;
  }
  steps.End("pay", app.successAt.load());
  steps.EndRoad();
  std::fflush(stdout);
  return driver.Stop() ? 0 : 1;
}
